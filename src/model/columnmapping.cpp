#include "model/columnmapping.h"

namespace nobrisa {

namespace {

// The column each list selects after FillColumnChoices, when the list has that item.
constexpr std::array<int, kMapFieldCount> kDefaultColumns{1, 2, 3, 4, 5, 0, 0, 8, 9, 10};

} // namespace

void ColumnMapping::fill(int columns)
{
    itemCount = columns;
    for (std::size_t i = 0; i < selection.size(); ++i) {
        const int wanted = kDefaultColumns[i];
        selection[i] = columns <= 0 ? -1 : (wanted < columns ? wanted : 0);
    }
}

void ColumnMapping::refill(int columns)
{
    if (itemCount <= 0) {
        fill(columns);
        return;
    }
    itemCount = columns;
    for (int& index : selection) {
        if (index >= columns)
            index = columns > 0 ? 0 : -1;
    }
}

void ColumnMapping::clear()
{
    itemCount = 0;
    selection.fill(-1);
}

QString ColumnMapping::itemZeroText(MapField field)
{
    switch (field) {
    case MapField::Amount:
        return QStringLiteral("(金額欄)");
    case MapField::Message1:
    case MapField::Message2:
    case MapField::Message3:
    case MapField::Message4:
        return QStringLiteral("(通信欄)");
    default:
        return QStringLiteral("(なし)");
    }
}

QString ColumnMapping::hint(MapField field)
{
    return static_cast<int>(field) < static_cast<int>(MapField::Amount)
               ? QStringLiteral("印刷しない場合は、(なし)にして下さい。")
               : QStringLiteral("印刷しない場合空白の列を選んで下さい。");
}

} // namespace nobrisa
