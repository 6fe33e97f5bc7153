// The continuous-print CSV file: lines and fields come out the same whichever splitter cuts
// them, and the table opened from the bytes holds exactly those fields.
#include "fuzzcheck.h"

#include "aids/continuoustable.h"
#include "aids/csv.h"

using namespace nobrisa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QStringList lines = csvLines(bytes);

    // The cursor walks the text as csvLines cuts it, without copies.
    const QString text = csvText(bytes);
    fuzz::check(!text.contains(QChar(0)), "text cut at the first NUL");
    CsvLineCursor cursor(text);
    QStringView line;
    qsizetype count = 0;
    while (cursor.next(line)) {
        fuzz::check(count < lines.size() && line == lines[count], "cursor line", line.toString());
        ++count;
    }
    fuzz::check(count == lines.size(), "cursor line count");

    // Both splitters give the same fields.
    CsvFieldSplitter splitter;
    for (const QString& l : lines) {
        fuzz::check(!l.contains(u'\r') && !l.contains(u'\n'), "no line break in a line", l);
        const QStringList listed = splitCsvFields(l);
        const std::vector<QStringView>& viewed = splitter.split(l);
        fuzz::check(static_cast<qsizetype>(viewed.size()) == listed.size(), "field count", l);
        for (qsizetype i = 0; i < listed.size(); ++i)
            fuzz::check(viewed[static_cast<size_t>(i)] == listed[i], "field text", l);
    }

    // The table: one row a line after the heading row, the line's number and its fields, the
    // amount in the last column.
    ContinuousTable table;
    const QString amount = QStringLiteral("1000");
    table.openCsv(bytes, amount);
    const StringTable& t = table.table;
    fuzz::check(t.rowCount() == lines.size() + 1 && table.rangeUpperBound == lines.size(),
                "one row a line");
    for (int r = 1; r < t.rowCount(); ++r) {
        const QStringList fields = splitCsvFields(QString::number(r) + u',' + lines[r - 1]);
        fuzz::check(fields.size() < t.columnCount(), "room for the fields and the amount",
                    lines[r - 1]);
        for (int c = 0; c < t.columnCount() - 1; ++c)
            fuzz::check(t.cellView(c, r) == (c < fields.size() ? fields[c] : QString()),
                        "cell holds its field", lines[r - 1]);
        fuzz::check(t.cellView(t.columnCount() - 1, r) == amount, "amount column");
    }

    const int columns = t.columnCount();
    const int rows = t.rowCount();
    table.addRows();
    table.addColumn();
    fuzz::check(table.table.columnCount() == columns + 1 && table.table.rowCount() == rows + 2,
                "rows and column added");
    return 0;
}
