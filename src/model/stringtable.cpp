#include "model/stringtable.h"

#include <algorithm>

namespace nobrisa {

QStringView trimBlankCodes(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankCode(text[first]))
        ++first;
    while (last > first && isBlankCode(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

StringTable::StringTable(int columns, int rows)
{
    resize(columns, rows);
}

namespace {

// Trailing empty cells are not kept: a row's end offsets stop at its last non-empty cell.
template <typename RowT>
void dropTrailingEmpty(RowT& row)
{
    while (!row.ends.empty() &&
           (row.ends.size() == 1 ? row.ends.back() == 0
                                 : row.ends.back() == row.ends[row.ends.size() - 2]))
        row.ends.pop_back();
    row.text.truncate(row.ends.empty() ? 0 : row.ends.back());
}

} // namespace

QStringView StringTable::cellOf(const Row& row, int column)
{
    const auto count = static_cast<int>(row.ends.size());
    if (column < 0 || column >= count)
        return {};
    const int begin = column == 0 ? 0 : row.ends[static_cast<std::size_t>(column - 1)];
    const int end = row.ends[static_cast<std::size_t>(column)];
    return QStringView(row.text).mid(begin, end - begin);
}

void StringTable::assign(Row& row, int column, QStringView text)
{
    const auto count = static_cast<int>(row.ends.size());
    if (column >= count) {
        if (text.isEmpty())
            return;
        // The cells between the last stored one and this are empty.
        const int end = row.ends.empty() ? 0 : row.ends.back();
        row.ends.resize(static_cast<std::size_t>(column), end);
        row.text.append(text);
        row.ends.push_back(static_cast<int>(row.text.size()));
        return;
    }
    const int begin = column == 0 ? 0 : row.ends[static_cast<std::size_t>(column - 1)];
    const int end = row.ends[static_cast<std::size_t>(column)];
    const int delta = static_cast<int>(text.size()) - (end - begin);
    row.text.replace(begin, end - begin, text.toString());
    for (auto i = static_cast<std::size_t>(column); i < row.ends.size(); ++i)
        row.ends[i] += delta;
    dropTrailingEmpty(row);
}

QString StringTable::cell(int column, int row) const
{
    return cellView(column, row).toString();
}

QStringView StringTable::cellView(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column >= mColumns)
        return {};
    return cellOf(mRows[static_cast<std::size_t>(row)], column);
}

QString StringTable::trimmedCell(int column, int row) const
{
    return trimBlankCodes(cellView(column, row)).toString();
}

void StringTable::setCell(int column, int row, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= mColumns)
        return;
    assign(mRows[static_cast<std::size_t>(row)], column, text);
}

void StringTable::setRow(int row, const std::vector<QString>& cells)
{
    if (row < 0 || row >= rowCount())
        return;
    Row fresh;
    const auto count = std::min<std::size_t>(cells.size(), static_cast<std::size_t>(mColumns));
    for (std::size_t c = 0; c < count; ++c)
        assign(fresh, static_cast<int>(c), cells[c]);
    mRows[static_cast<std::size_t>(row)] = std::move(fresh);
}

void StringTable::resize(int columns, int rows)
{
    mColumns = std::max(1, columns);
    mRows.resize(static_cast<std::size_t>(std::max(1, rows)));
    for (Row& row : mRows) {
        if (static_cast<int>(row.ends.size()) > mColumns) {
            row.ends.resize(static_cast<std::size_t>(mColumns));
            dropTrailingEmpty(row);
        }
    }
}

void StringTable::clearData()
{
    // Rows 1.. keep only their numbering cell.
    for (std::size_t r = 1; r < mRows.size(); ++r) {
        Row& row = mRows[r];
        if (row.ends.size() > 1) {
            row.ends.resize(1);
            dropTrailingEmpty(row);
        }
        row.text.squeeze();
    }
}

} // namespace nobrisa
