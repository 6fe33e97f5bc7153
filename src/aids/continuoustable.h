#pragma once

#include "model/columnmapping.h"
#include "model/stringtable.h"

#include <QByteArray>
#include <QString>

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
    // range bound := data rows.
    void openCsv(const QByteArray& bytes, const QString& amountText);

    // Two empty rows at the bottom; one empty column at the right. Both renumber the headings
    // and keep the mapping's selections (lists that were empty get the defaults).
    void addRows();
    void addColumn();
};

// Reads a CSV file into the table. On failure (missing, unreadable) nothing changes and
// `error` holds a Japanese message naming the file.
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

} // namespace nobrisa
