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

// The first stored cell at or right of `column` (the row's cells are sorted by column).
template <typename Cells> auto firstFrom(Cells& cells, int column)
{
    return std::lower_bound(cells.begin(), cells.end(), column,
                            [](const auto& cell, int c) { return cell.column < c; });
}

// The start of the cell at `it` in the row's text: the end of the stored cell before it.
template <typename Cells, typename It> int startOf(const Cells& cells, It it)
{
    return it == cells.begin() ? 0 : std::prev(it)->end;
}

} // namespace

QStringView StringTable::cellOf(const Row& row, int column)
{
    const auto it = firstFrom(row.cells, column);
    if (it == row.cells.end() || it->column != column)
        return {};
    const int begin = startOf(row.cells, it);
    return QStringView(row.text).mid(begin, it->end - begin);
}

void StringTable::assign(Row& row, int column, QStringView text)
{
    auto it = firstFrom(row.cells, column);
    const bool stored = it != row.cells.end() && it->column == column;
    if (!stored && text.isEmpty())
        return;
    const int begin = startOf(row.cells, it);
    const int end = stored ? it->end : begin;
    if (stored && QStringView(row.text).mid(begin, end - begin) == text)
        return;
    const int delta = static_cast<int>(text.size()) - (end - begin);
    row.text.replace(begin, end - begin, text.data(), text.size());
    if (text.isEmpty())
        it = row.cells.erase(it); // an empty cell is not stored
    else if (stored)
        (it++)->end += delta;
    else
        it = std::next(row.cells.insert(it, Cell{column, begin + static_cast<int>(text.size())}));
    for (; it != row.cells.end(); ++it)
        it->end += delta;
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

template <typename Cells>
void StringTable::replaceRow(int row, const Cells& cells, std::optional<QStringView> last)
{
    if (row < 0 || row >= rowCount())
        return;
    const int lastColumn = mColumns - 1;
    const auto count =
        std::min<std::size_t>(cells.size(), static_cast<std::size_t>(last ? lastColumn : mColumns));
    // Sized once: a large file's rows are built without growing their buffers cell by cell.
    qsizetype length = last ? last->size() : 0;
    std::size_t filled = last && !last->isEmpty() ? 1 : 0;
    for (std::size_t c = 0; c < count; ++c) {
        length += cells[c].size();
        filled += cells[c].isEmpty() ? 0 : 1;
    }
    Row fresh;
    fresh.text.reserve(length);
    fresh.cells.reserve(filled);
    auto add = [&fresh](int column, QStringView text) {
        if (text.isEmpty())
            return;
        fresh.text.append(text);
        fresh.cells.push_back(Cell{column, static_cast<int>(fresh.text.size())});
    };
    for (std::size_t c = 0; c < count; ++c)
        add(static_cast<int>(c), cells[c]);
    if (last)
        add(lastColumn, *last);
    mRows[static_cast<std::size_t>(row)] = std::move(fresh);
}

void StringTable::setRow(int row, const std::vector<QString>& cells)
{
    replaceRow(row, cells);
}

void StringTable::setRow(int row, std::span<const QStringView> cells)
{
    replaceRow(row, cells);
}

void StringTable::setRow(int row, std::span<const QStringView> cells, QStringView last)
{
    replaceRow(row, cells, last);
}

void StringTable::resize(int columns, int rows)
{
    mColumns = std::max(1, columns);
    mRows.resize(static_cast<std::size_t>(std::max(1, rows)));
    for (Row& row : mRows) {
        if (row.cells.empty() || row.cells.back().column < mColumns)
            continue;
        row.cells.erase(firstFrom(row.cells, mColumns), row.cells.end());
        row.text.truncate(row.cells.empty() ? 0 : row.cells.back().end);
    }
}

void StringTable::clearData()
{
    // Rows 1.. keep only their numbering cell.
    for (std::size_t r = 1; r < mRows.size(); ++r) {
        Row& row = mRows[r];
        row.cells.erase(firstFrom(row.cells, 1), row.cells.end());
        row.text.truncate(row.cells.empty() ? 0 : row.cells.back().end);
        row.text.squeeze();
        row.cells.shrink_to_fit();
    }
}

} // namespace nobrisa
