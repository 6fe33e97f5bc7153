#include "model/stringtable.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>

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

std::size_t StringTable::Row::blockSize(std::size_t cellCount, qsizetype textSize) noexcept
{
    return sizeof(int) + cellCount * sizeof(Cell) +
           static_cast<std::size_t>(textSize) * sizeof(char16_t);
}

int StringTable::Row::cellCount() const noexcept
{
    return mBlock ? *std::launder(static_cast<int*>(mBlock)) : 0;
}

StringTable::Cell* StringTable::Row::cellData() const noexcept
{
    return std::launder(reinterpret_cast<Cell*>(static_cast<std::byte*>(mBlock) + sizeof(int)));
}

char16_t* StringTable::Row::textData() const noexcept
{
    return std::launder(
        reinterpret_cast<char16_t*>(static_cast<std::byte*>(mBlock) + sizeof(int) +
                                    static_cast<std::size_t>(cellCount()) * sizeof(Cell)));
}

StringTable::Row::Row(const Row& other)
{
    const auto cells = other.cells();
    if (cells.empty())
        return;
    RowBuilder copy(cells.size(), cells.back().end);
    const QStringView text = other.text();
    int begin = 0;
    for (const Cell& cell : cells) {
        copy.add(cell.column, text.sliced(begin, cell.end - begin));
        begin = cell.end;
    }
    *this = copy.finish();
}

StringTable::Row::Row(Row&& other) noexcept
    : mBlock(std::exchange(other.mBlock, nullptr))
{
}

StringTable::Row& StringTable::Row::operator=(const Row& other)
{
    if (this != &other)
        *this = Row(other);
    return *this;
}

StringTable::Row& StringTable::Row::operator=(Row&& other) noexcept
{
    std::swap(mBlock, other.mBlock);
    return *this;
}

StringTable::Row::~Row()
{
    ::operator delete(mBlock);
}

std::span<const StringTable::Cell> StringTable::Row::cells() const noexcept
{
    if (!mBlock)
        return {};
    return {cellData(), static_cast<std::size_t>(cellCount())};
}

QStringView StringTable::Row::text() const noexcept
{
    if (!mBlock)
        return {};
    return QStringView(textData(), cellData()[cellCount() - 1].end);
}

bool StringTable::Row::operator==(const Row& other) const noexcept
{
    const auto mine = cells();
    const auto theirs = other.cells();
    return std::equal(mine.begin(), mine.end(), theirs.begin(), theirs.end()) &&
           text() == other.text();
}

StringTable::RowBuilder::RowBuilder(std::size_t cellCount, qsizetype textSize)
    : mTextSize(textSize)
{
    if (cellCount == 0)
        return;
    // The count, the cells and the characters are made in the block; all are trivial, so
    // freeing the block ends them.
    void* block = ::operator new(Row::blockSize(cellCount, textSize));
    auto* bytes = static_cast<std::byte*>(block);
    ::new (bytes) int(static_cast<int>(cellCount));
    std::uninitialized_value_construct_n(reinterpret_cast<Cell*>(bytes + sizeof(int)), cellCount);
    std::uninitialized_value_construct_n(
        reinterpret_cast<char16_t*>(bytes + sizeof(int) + cellCount * sizeof(Cell)),
        static_cast<std::size_t>(textSize));
    mRow.mBlock = block;
}

void StringTable::RowBuilder::add(int column, QStringView text)
{
    if (text.isEmpty())
        return;
    Q_ASSERT(mRow.mBlock && mCells < mRow.cellCount() && mText + text.size() <= mTextSize);
    std::copy_n(text.utf16(), text.size(), mRow.textData() + mText);
    mText += static_cast<int>(text.size());
    mRow.cellData()[mCells++] = Cell{column, mText};
}

StringTable::Row StringTable::RowBuilder::finish() noexcept
{
    Q_ASSERT(mCells == mRow.cellCount() && mText == mTextSize);
    return std::move(mRow);
}

QStringView StringTable::cellOf(const Row& row, int column)
{
    const auto cells = row.cells();
    const auto it = firstFrom(cells, column);
    if (it == cells.end() || it->column != column)
        return {};
    const int begin = startOf(cells, it);
    return row.text().sliced(begin, it->end - begin);
}

void StringTable::assign(Row& row, int column, QStringView text)
{
    const QStringView old = cellOf(row, column);
    if (old == text)
        return;
    // The row is built anew: changes come from the user, one cell at a time.
    const auto cells = row.cells();
    const bool stored = !old.isEmpty();
    const std::size_t count = cells.size() - (stored ? 1 : 0) + (text.isEmpty() ? 0 : 1);
    RowBuilder fresh(count, row.text().size() - old.size() + text.size());
    const QStringView rowText = row.text();
    bool added = false;
    int begin = 0;
    for (const Cell& cell : cells) {
        if (!added && cell.column >= column) {
            fresh.add(column, text);
            added = true;
        }
        if (cell.column != column)
            fresh.add(cell.column, rowText.sliced(begin, cell.end - begin));
        begin = cell.end;
    }
    if (!added)
        fresh.add(column, text);
    row = fresh.finish();
}

StringTable::Row StringTable::truncated(const Row& row, int columns)
{
    const auto cells = row.cells();
    const auto end = firstFrom(cells, columns);
    const auto count = static_cast<std::size_t>(end - cells.begin());
    const int size = startOf(cells, end);
    RowBuilder fresh(count, size);
    const QStringView text = row.text();
    int begin = 0;
    for (auto it = cells.begin(); it != end; ++it) {
        fresh.add(it->column, text.sliced(begin, it->end - begin));
        begin = it->end;
    }
    return fresh.finish();
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
    // Sized once: a large file's rows are built without growing a buffer cell by cell.
    qsizetype length = last ? last->size() : 0;
    std::size_t filled = last && !last->isEmpty() ? 1 : 0;
    for (std::size_t c = 0; c < count; ++c) {
        length += cells[c].size();
        filled += cells[c].isEmpty() ? 0 : 1;
    }
    RowBuilder fresh(filled, length);
    for (std::size_t c = 0; c < count; ++c)
        fresh.add(static_cast<int>(c), cells[c]);
    if (last)
        fresh.add(lastColumn, *last);
    mRows[static_cast<std::size_t>(row)] = fresh.finish();
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
        const auto cells = row.cells();
        if (!cells.empty() && cells.back().column >= mColumns)
            row = truncated(row, mColumns);
    }
}

void StringTable::clearData()
{
    // Rows 1.. keep only their numbering cell.
    for (std::size_t r = 1; r < mRows.size(); ++r)
        mRows[r] = truncated(mRows[r], 1);
}

} // namespace nobrisa
