#pragma once

#include "model/columnmapping.h"
#include "model/stringtable.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace nobrisa {

// The continuous-print tab's data: the table, the column mapping and the shared upper bound of
// the print-range boxes (0 = no bounds, until the first CSV open).
struct ContinuousTable {
    StringTable table{5, 5};
    ColumnMapping mapping;
    int rangeUpperBound = 0;

    // The start state: 5 × 5, numbered headings, mapping filled with its defaults.
    ContinuousTable();

    // NumberGridHeadings: cell (c, 0) := c for c ≥ 1, cell (0, r) := r for r ≥ 1.
    void numberHeadings();

    // New: data cells emptied, 5 columns × 6 rows with numbered headings, every mapping list
    // emptied; the range bound is unchanged.
    void newTable();

    // Opens the CSV file's bytes: one data row per line (the line number in column 0), the
    // working-column-count rule with its spare column, one amount column appended holding
    // `amountText` in every data row, mapping filled with its defaults, headings numbered,
    // range bound := data rows. False, with nothing changed, beyond kMaxCsvRows or
    // kMaxCsvColumns or when the memory runs out.
    bool openCsv(const QByteArray& bytes, const QString& amountText);

    // Two empty rows at the bottom; one empty column at the right. Both renumber the headings
    // and keep the mapping's selections (lists that were empty get the defaults).
    void addRows();
    void addColumn();
};

// What a CSV open reads at most, so that any file costs bounded memory and time: a larger file
// or one with more lines or fields is refused whole, the table left as it was.
inline constexpr qint64 kMaxCsvFileBytes = 64 * 1024 * 1024;
inline constexpr int kMaxCsvRows = 1'000'000; // lines, empty ones included
inline constexpr int kMaxCsvColumns = 1'000;  // fields in one line

// Reads and decodes a CSV file (csvText), the first half of an open. nullopt, with a Japanese
// message naming the file in `error`, when it is missing or unreadable, larger than
// kMaxCsvFileBytes, or the memory runs out.
std::optional<QString> readCsvFile(const QString& path, QString* error);

// Whether a CSV text is no text at all: more than one character in twenty is a control code
// other than tab, line feed, vertical tab, form feed and carriage return, or a byte the decoder
// could not read (a picture, a spreadsheet's own file, a program chosen by mistake: they open as
// thousands of rows of garbage). Then the message naming the file and saying so.
std::optional<QString> notTextMessage(const QString& path, QStringView text);

// The second half: the text into the table as openCsv does. False, with the table, mapping and
// bound unchanged and a message naming the file in `error`, when the text has more lines than
// kMaxCsvRows or a line more fields than kMaxCsvColumns, or the memory runs out.
bool openCsvText(ContinuousTable& target, const QString& path, QStringView text,
                 const QString& amountText, QString* error);

// Both halves, refusing a file notTextMessage speaks of (with that message). On failure
// nothing changes and `error` holds a Japanese message naming the file.
bool openCsvFile(ContinuousTable& target, const QString& path, const QString& amountText,
                 QString* error);

// The rows a continuous print prints, from the texts of SEbegin and SEend (whole numbers, 0
// when not one): either bound 0 gives the sample row alone (0..0); otherwise first..last, an
// empty run when last < first.
struct RowRange {
    int first = 0;
    int last = 0;
    int count() const { return last >= first ? last - first + 1 : 0; }
};
RowRange continuousRange(const QString& beginText, const QString& endText);

// Why a range whose end lies before its beginning prints nothing, naming both rows.
QString reversedRangeMessage(const RowRange& range);

// The most pages one print job of the program has (copies of a slip, rows of a table): beyond
// it a mistyped number would feed forms, or fill a disk with a PDF, for hours.
inline constexpr int kMaxPagesPerJob = 100'000;

// The rows of `range` that a table of `dataRows` rows prints: an end beyond the table stops at
// its last row; the sample row stays. nullopt, with the reason in `why`, when nothing is left to
// print (the end before the beginning, the beginning beyond the table) or more than
// kMaxPagesPerJob pages would be.
std::optional<RowRange> printableRange(const RowRange& range, int dataRows, QString* why);

} // namespace nobrisa
