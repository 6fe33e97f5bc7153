#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace nobrisa {

// A grid of text cells, columns × rows, addressed (column, row) from 0. Row 0 is the heading
// row and column 0 the numbering column; the data cells are columns 1.. and rows 1...
//
// Each row keeps its non-empty cells in one heap block: their columns and end offsets, then their
// texts one after the other. A row thus costs a pointer and one allocation beside its text (a
// row without cells only the pointer), not one heap block a cell, and empty cells cost nothing:
// the short rows of a table that one long line made wide take no room for the cells they lack,
// and an empty line of a CSV file (its number and amount) costs under 60 bytes.
class StringTable final {
public:
    StringTable() = default;
    StringTable(int columns, int rows);

    int columnCount() const { return mColumns; }
    int rowCount() const { return static_cast<int>(mRows.size()); }

    // The cell's text; empty for a cell outside the table.
    QString cell(int column, int row) const;
    QStringView cellView(int column, int row) const;
    // The cell's text without leading and trailing characters of codes 1 to 32 (blanks, tabs,
    // control characters): what the renderers print.
    QString trimmedCell(int column, int row) const;

    // Sets one cell; a cell outside the table is ignored.
    void setCell(int column, int row, const QString& text);
    // Replaces row `row` with `cells` (column 0 first); cells beyond the column count are
    // dropped, missing ones are empty.
    void setRow(int row, const std::vector<QString>& cells);
    void setRow(int row, std::span<const QStringView> cells);
    // The same, with `last` in the table's last column (the cells between stay empty): a row
    // and a column far to its right, built at once.
    void setRow(int row, std::span<const QStringView> cells, QStringView last);

    // New cells are empty; cells that fall outside are gone, also if the table grows again.
    // Both counts are at least 1.
    void resize(int columns, int rows);
    // Every data cell (columns 1.., rows 1..) becomes empty; the headings stay.
    void clearData();

    friend bool operator==(const StringTable&, const StringTable&) = default;

private:
    struct Cell {
        int column;
        int end; // end offset of the cell's text in the row's text
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    class RowBuilder;
    // The non-empty cells of a row, sorted by column, and their texts, in one block:
    // [cell count][Cell …][char16_t …]. Immutable once built; a change builds a new row.
    class Row final {
    public:
        Row() noexcept = default;
        Row(const Row& other);
        Row(Row&& other) noexcept;
        Row& operator=(const Row& other);
        Row& operator=(Row&& other) noexcept;
        ~Row();

        std::span<const Cell> cells() const noexcept;
        QStringView text() const noexcept;
        bool operator==(const Row& other) const noexcept;

    private:
        friend class RowBuilder;
        // The block starts with the cell count; the text's size is the last cell's end.
        int cellCount() const noexcept;
        Cell* cellData() const noexcept;
        char16_t* textData() const noexcept;
        static std::size_t blockSize(std::size_t cellCount, qsizetype textSize) noexcept;

        void* mBlock = nullptr; // null for a row without cells
    };
    // Builds a row from cells given in column order, with room made for exactly `cellCount`
    // cells of `textSize` characters in all.
    class RowBuilder final {
    public:
        RowBuilder(std::size_t cellCount, qsizetype textSize);
        void add(int column, QStringView text); // an empty text is skipped
        Row finish() noexcept;

    private:
        Row mRow;
        int mCells = 0;
        int mText = 0;
        qsizetype mTextSize = 0;
    };

    static QStringView cellOf(const Row& row, int column);
    static void assign(Row& row, int column, QStringView text);
    // The row with only its cells left of `columns`.
    static Row truncated(const Row& row, int columns);
    template <typename Cells>
    void replaceRow(int row, const Cells& cells, std::optional<QStringView> last = {});

    int mColumns = 1;
    std::vector<Row> mRows = std::vector<Row>(1);
};

// Characters of codes 1 to 32 count as blanks in cells, CSV fields and trimmed values.
constexpr bool isBlankCode(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

QStringView trimBlankCodes(QStringView text);

} // namespace nobrisa
