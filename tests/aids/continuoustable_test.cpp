#include "aids/continuoustable.h"

#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <array>

namespace nobrisa {
namespace {

using Selections = std::array<int, kMapFieldCount>;

QStringList rowOf(const StringTable& table, int row)
{
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c)
        cells << table.cell(c, row);
    return cells;
}

QStringList columnOf(const StringTable& table, int column)
{
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        cells << table.cell(column, r);
    return cells;
}

// Every cell text of the table, to look for leftovers of an earlier table.
QStringList allCells(const StringTable& table)
{
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        cells << rowOf(table, r);
    return cells;
}

ContinuousTable opened(const QByteArray& bytes, const QString& amount = QStringLiteral("1000"))
{
    ContinuousTable t;
    t.openCsv(bytes, amount);
    return t;
}

TEST(ContinuousTable, StartsFiveByFiveNumberedWithDefaultMapping)
{
    const ContinuousTable t;
    EXPECT_EQ(t.table.columnCount(), 5);
    EXPECT_EQ(t.table.rowCount(), 5);
    EXPECT_EQ(rowOf(t.table, 0), (QStringList{"", "1", "2", "3", "4"}));
    EXPECT_EQ(columnOf(t.table, 0), (QStringList{"", "1", "2", "3", "4"}));
    EXPECT_EQ(rowOf(t.table, 3), (QStringList{"3", "", "", "", ""}));
    EXPECT_EQ(t.mapping.itemCount, 5);
    // The telephone's column 5 is no item of a list of five, so it stays on item 0.
    EXPECT_EQ(t.mapping.selection, (Selections{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t.rangeUpperBound, 0);
}

TEST(ContinuousTable, ThreeLinesOfThreeFields)
{
    const ContinuousTable t = opened("a,b,c\r\nd,e,f\r\ng,h,i\r\n", QStringLiteral("1200"));
    ASSERT_EQ(t.table.rowCount(), 4);
    ASSERT_EQ(t.table.columnCount(), 6);
    EXPECT_EQ(rowOf(t.table, 0), (QStringList{"", "1", "2", "3", "4", "5"}));
    // Column 4 is the spare column, column 5 the amount column.
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "a", "b", "c", "", "1200"}));
    EXPECT_EQ(rowOf(t.table, 2), (QStringList{"2", "d", "e", "f", "", "1200"}));
    EXPECT_EQ(rowOf(t.table, 3), (QStringList{"3", "g", "h", "i", "", "1200"}));
    EXPECT_EQ(t.mapping.itemCount, 6);
    EXPECT_EQ(t.mapping.selection, (Selections{1, 2, 3, 4, 5, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t.rangeUpperBound, 3);
}

struct WidthCase {
    const char* name;
    QByteArray file;
    int columns; // including the amount column
};

class OpenWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(OpenWidthTest, ColumnCountFollowsTheWidestLines)
{
    const WidthCase& c = GetParam();
    const ContinuousTable t = opened(c.file, QStringLiteral("500"));
    ASSERT_EQ(t.table.columnCount(), c.columns);
    EXPECT_EQ(t.mapping.itemCount, c.columns);
    for (int r = 1; r < t.table.rowCount(); ++r)
        EXPECT_EQ(t.table.cell(c.columns - 1, r), "500") << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(
    Widths, OpenWidthTest,
    ::testing::Values(
        // Lines of 6 fields (with the number): c = 7, plus the amount column.
        WidthCase{"six_fields_keep_a_spare_column", "a,b,c,d,e\na,b,c,d,e", 8},
        // One field wider than the maximum fills the spare column without raising c.
        WidthCase{"six_then_seven_fields", "a,b,c,d,e\na,b,c,d,e,f", 8},
        WidthCase{"seven_then_six_fields", "a,b,c,d,e,f\na,b,c,d,e", 9},
        WidthCase{"growing_by_one_then_by_two", "a\na,b\na,b,c,d", 7},
        WidthCase{"empty_line_gives_two_fields", "\n", 4},
        WidthCase{"blank_line_gives_the_number_alone", "   \n", 3}, WidthCase{"empty_file", "", 2}),
    [](const ::testing::TestParamInfo<WidthCase>& info) { return info.param.name; });

TEST(ContinuousTable, SevenFieldLineFillsTheSpareColumnBeforeTheAmount)
{
    const ContinuousTable t = opened("a,b,c,d,e\nA,B,C,D,E,F", QStringLiteral("9"));
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "a", "b", "c", "d", "e", "", "9"}));
    EXPECT_EQ(rowOf(t.table, 2), (QStringList{"2", "A", "B", "C", "D", "E", "F", "9"}));
}

TEST(ContinuousTable, EmptyFileLeavesTheHeadingRowAndTwoColumns)
{
    const ContinuousTable t = opened(QByteArray());
    EXPECT_EQ(t.table.rowCount(), 1);
    EXPECT_EQ(rowOf(t.table, 0), (QStringList{"", "1"}));
    EXPECT_EQ(t.mapping.selection, (Selections{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t.rangeUpperBound, 0);
}

TEST(ContinuousTable, FieldsKeepQuotesCommasAndJapanese)
{
    const QByteArray file =
        encodeCp932(QStringLiteral("\"郵便, 太郎\",\"a\"\"b\"\r\n"
                                   "\r\n"
                                   "  東京都 千代田区,\"東京都 千代田区\",x\r\n"));
    const ContinuousTable t = opened(file, QString());
    ASSERT_EQ(t.table.rowCount(), 4);
    // The first line sets c to 4; the third, one field wider, fills the spare column.
    ASSERT_EQ(t.table.columnCount(), 5);
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "郵便, 太郎", "a\"b", "", ""}));
    EXPECT_EQ(rowOf(t.table, 2), (QStringList{"2", "", "", "", ""}));
    EXPECT_EQ(rowOf(t.table, 3), (QStringList{"3", "東京都 千代田区", "東京都 千代田区", "x", ""}));
}

TEST(ContinuousTable, UnclosedQuotesAndBrokenShiftJisStillOpen)
{
    const ContinuousTable t = opened("\"abc,\x81\n\"x,y", QStringLiteral("5"));
    ASSERT_EQ(t.table.rowCount(), 3);
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "abc,\uFFFD", "", "5"}));
    EXPECT_EQ(rowOf(t.table, 2), (QStringList{"2", "x,y", "", "5"}));
}

TEST(ContinuousTable, ReopeningASmallerFileLeavesNothingBehind)
{
    ContinuousTable t = opened("p,q,r,s,t\nu,v,w,x,y\nz,z,z,z,z\nzz", QStringLiteral("777"));
    t.addRows();
    t.addColumn();
    t.table.setCell(3, 6, QStringLiteral("typed"));
    t.openCsv("k", QStringLiteral("1"));
    EXPECT_EQ(t.table.rowCount(), 2);
    EXPECT_EQ(t.table.columnCount(), 4);
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "k", "", "1"}));
    EXPECT_EQ(t.rangeUpperBound, 1);

    // Rows and columns added afterwards come back empty, not with the earlier values.
    t.addRows();
    t.addRows();
    t.addColumn();
    t.addColumn();
    t.addColumn();
    const QStringList cells = allCells(t.table);
    for (const char* old : {"p", "q", "t", "y", "z", "zz", "777", "typed"})
        EXPECT_FALSE(cells.contains(QString(old))) << old;
    EXPECT_EQ(rowOf(t.table, 5), (QStringList{"5", "", "", "", "", "", ""}));
}

TEST(ContinuousTable, AddRowsAfterOpenContinuesTheNumbering)
{
    ContinuousTable t = opened("a,b,c\nd,e,f\ng,h,i");
    t.addRows();
    ASSERT_EQ(t.table.rowCount(), 6);
    EXPECT_EQ(rowOf(t.table, 4), (QStringList{"4", "", "", "", "", ""}));
    EXPECT_EQ(rowOf(t.table, 5), (QStringList{"5", "", "", "", "", ""}));
    // The range's bound stays as the open left it.
    EXPECT_EQ(t.rangeUpperBound, 3);
}

TEST(ContinuousTable, AddColumnNumbersItsHeadingAndLeavesItEmpty)
{
    ContinuousTable t = opened("a,b,c\nd,e,f");
    t.addColumn();
    ASSERT_EQ(t.table.columnCount(), 7);
    EXPECT_EQ(columnOf(t.table, 6), (QStringList{"6", "", ""}));
    EXPECT_EQ(t.mapping.itemCount, 7);
}

TEST(ContinuousTable, NewEmptiesDataAndListsNumbersEveryRowAndKeepsTheRange)
{
    ContinuousTable t = opened("a,b,c\nd,e,f\ng,h,i");
    t.newTable();
    ASSERT_EQ(t.table.columnCount(), 5);
    ASSERT_EQ(t.table.rowCount(), 6);
    EXPECT_EQ(rowOf(t.table, 0), (QStringList{"", "1", "2", "3", "4"}));
    // Rows 4 and 5 are new to a table of three rows, and numbered too.
    EXPECT_EQ(columnOf(t.table, 0), (QStringList{"", "1", "2", "3", "4", "5"}));
    for (int r = 1; r < 6; ++r)
        EXPECT_EQ(rowOf(t.table, r).mid(1), (QStringList{"", "", "", ""})) << "row " << r;
    EXPECT_EQ(t.mapping.itemCount, 0);
    EXPECT_EQ(t.mapping.selection, (Selections{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(t.mapping.column(MapField::PostalCode), 0);
    EXPECT_EQ(t.rangeUpperBound, 3);
}

TEST(ContinuousTable, AddRowsAndAddColumnKeepTheUsersMapping)
{
    ContinuousTable t = opened("a,b,c\nd,e,f");
    t.mapping.select(MapField::Amount, 5);
    t.mapping.select(MapField::PostalCode, 0);
    t.mapping.select(MapField::Message1, 3);
    const Selections chosen = t.mapping.selection;
    t.addRows();
    EXPECT_EQ(t.mapping.selection, chosen);
    t.addColumn();
    EXPECT_EQ(t.mapping.selection, chosen);
    EXPECT_EQ(t.mapping.itemCount, 7);

    // After New the lists are empty; enlarging the table fills them with the defaults.
    t.newTable();
    t.addRows();
    EXPECT_EQ(t.mapping.itemCount, 5);
    EXPECT_EQ(t.mapping.selection, (Selections{1, 2, 3, 4, 0, 0, 0, 0, 0, 0}));
}

TEST(ContinuousTable, OpenResetsTheMappingToItsDefaults)
{
    ContinuousTable t;
    t.mapping.select(MapField::Name, 0);
    t.mapping.select(MapField::Amount, 2);
    t.openCsv("a,b,c,d,e,f,g,h,i,j", QString());
    EXPECT_EQ(t.mapping.itemCount, 13);
    EXPECT_EQ(t.mapping.selection, (Selections{1, 2, 3, 4, 5, 0, 0, 8, 9, 10}));
}

TEST(OpenCsvFile, ReadsTheFileAndFailsWithoutChangingTheTable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("払込人.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(encodeCp932(QStringLiteral("100-0001,東京都千代田区\r\n")));
    }
    ContinuousTable t;
    QString error;
    ASSERT_TRUE(openCsvFile(t, path, QStringLiteral("3000"), &error));
    EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "100-0001", "東京都千代田区", "", "3000"}));
    t.mapping.select(MapField::Name, 2);
    const ContinuousTable before = t;

    for (const QString& bad : {dir.filePath(QStringLiteral("無い.csv")), dir.path()}) {
        error.clear();
        EXPECT_FALSE(openCsvFile(t, bad, QStringLiteral("1"), &error)) << qPrintable(bad);
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(bad))) << qPrintable(error);
        EXPECT_EQ(t.table, before.table);
        EXPECT_EQ(t.mapping, before.mapping);
        EXPECT_EQ(t.rangeUpperBound, before.rangeUpperBound);
    }
}

// Spreadsheet programs quote only values holding a comma, a quote or a line break, so «山田 太郎»
// comes unquoted: as Excel writes Shift-JIS with CR LF, and as LibreOffice writes UTF-8.
TEST(OpenCsvFile, SpreadsheetExportsKeepBlanksInsideValues)
{
    for (const char* name : {"spreadsheet_export_cp932.csv", "spreadsheet_export_utf8.csv"}) {
        SCOPED_TRACE(name);
        ContinuousTable t;
        QString error;
        ASSERT_TRUE(openCsvFile(t, QStringLiteral(NOBRISA_TEST_DATA "/csv/") + QLatin1String(name),
                                QStringLiteral("1000"), &error));
        ASSERT_EQ(t.table.rowCount(), 4);
        EXPECT_EQ(rowOf(t.table, 1), (QStringList{"1", "100-0005", "東京都 千代田区", "丸の内1-1",
                                                  "山田 太郎", "03-1234-5678", "", "1000"}));
        EXPECT_EQ(rowOf(t.table, 2),
                  (QStringList{"2", "530-0001", "大阪府 大阪市北区", "梅田1-2, 梅田ビル 3階",
                               "佐藤 花子", "06-1111-2222", "", "1000"}));
    }
}

struct RangeCase {
    const char* begin;
    const char* end;
    int first;
    int last;
    int count;
};

class ContinuousRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ContinuousRangeTest, Range)
{
    const RangeCase& c = GetParam();
    const RowRange r = continuousRange(QString(c.begin), QString(c.end));
    EXPECT_EQ(r.first, c.first);
    EXPECT_EQ(r.last, c.last);
    EXPECT_EQ(r.count(), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ContinuousRangeTest,
    ::testing::Values(RangeCase{"2", "4", 2, 4, 3}, RangeCase{"0", "4", 0, 0, 1},
                      RangeCase{"3", "0", 0, 0, 1}, RangeCase{"abc", "4", 0, 0, 1},
                      RangeCase{"2", "", 0, 0, 1}, RangeCase{"5", "3", 5, 3, 0},
                      RangeCase{" 7 ", "7", 7, 7, 1}, RangeCase{"1", "2.5", 0, 0, 1},
                      RangeCase{"1", "100000", 1, 100000, 100000}));

} // namespace
} // namespace nobrisa
