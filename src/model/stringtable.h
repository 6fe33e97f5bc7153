#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace nobrisa {

// A grid of text cells, columns × rows, addressed (column, row) from 0. Row 0 is the heading
// row and column 0 the numbering column; the data cells are columns 1.. and rows 1...
//
// Each row keeps its cells in one string with the cells' end offsets beside it, so that a
// 100,000-row table costs a few dozen bytes a row more than its text, not one heap block a cell.
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

    // New cells are empty; cells that fall outside are gone, also if the table grows again.
    // Both counts are at least 1.
    void resize(int columns, int rows);
    // Every data cell (columns 1.., rows 1..) becomes empty; the headings stay.
    void clearData();

    friend bool operator==(const StringTable&, const StringTable&) = default;

private:
    struct Row {
        QString text;              // the cells one after the other
        std::vector<int> ends;     // end offset of each cell in text, up to the last non-empty
        friend bool operator==(const Row&, const Row&) = default;
    };

    static QStringView cellOf(const Row& row, int column);
    static void assign(Row& row, int column, QStringView text);

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
