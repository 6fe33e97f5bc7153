#include "preview/paperpreviewcaption.h"

#include "model/columnmapping.h"
#include "model/stringtable.h"

namespace nobrisa {

namespace {

// Enough for any real name; the rest of a longer cell is left out of the title.
constexpr qsizetype kNameLength = 40;

QString payerName(const StringTable& table, const ColumnMapping& mapping, int row)
{
    const int column = mapping.column(MapField::Name);
    if (column <= 0)
        return {};
    QStringView name = trimBlankCodes(table.cellView(column, row));
    const qsizetype lineEnd = name.indexOf(QLatin1Char('\n'));
    const qsizetype crEnd = name.indexOf(QLatin1Char('\r'));
    qsizetype end = name.size();
    for (const qsizetype e : {lineEnd, crEnd})
        if (e >= 0 && e < end)
            end = e;
    name = trimBlankCodes(name.first(end));
    if (name.size() > kNameLength)
        return name.first(kNameLength).toString() + QStringLiteral("…");
    return name.toString();
}

} // namespace

QString paperPreviewCaption(PaperPreviewKind kind)
{
    return kind == PaperPreviewKind::Slip ? QStringLiteral("Nobrisa－印刷用紙プレビュー")
                                          : QStringLiteral("Nobrisa－払込人連続印刷用紙プレビュー");
}

QString paperPreviewRowCaption(const StringTable& table, const ColumnMapping& mapping, int row)
{
    const QString caption = paperPreviewCaption(PaperPreviewKind::Row);
    if (row <= 0)
        return caption + QStringLiteral("（見本）");
    const QString name = payerName(table, mapping, row);
    if (name.isEmpty())
        return caption + QStringLiteral("（%1 行目）").arg(row);
    return caption + QStringLiteral("（%1 行目：%2）").arg(QString::number(row), name);
}

} // namespace nobrisa
