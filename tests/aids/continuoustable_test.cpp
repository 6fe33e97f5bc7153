#include "aids/continuoustable.h"

#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <utility>

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

// Files beyond the limits, and files that are no text (every byte value but NUL, as pictures
// and programs hold them; a zip archive's start), are refused whole with a message naming the
// file and why, the table as it was. Files at the limits and text with a few control codes open.
TEST(OpenCsvFile, HostileFilesAreRefusedWholeAndFilesWithinTheLimitsOpen)
{
    QByteArray everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    const QByteArray widest = QByteArray("a,").repeated(kMaxCsvColumns - 1) + "a\n";
    const struct {
        const char* name;
        QByteArray bytes;      // null: a file one byte larger than the limit
        const char* inMessage; // null: the file opens
        int rows;
    } cases[] = {
        {"breaks_up_to_the_limit", QByteArray(kMaxCsvRows, '\n'), nullptr, kMaxCsvRows},
        {"one_break_more", QByteArray(kMaxCsvRows + 1, '\n'), "行が多すぎる", 0},
        {"fields_up_to_the_limit", widest, nullptr, 1},
        {"one_field_more_on_line_2", "a\n," + widest, "2 行目は項目が多すぎる", 0},
        {"a_line_of_commas", QByteArray(8 << 20, ','), "1 行目は項目が多すぎる", 0},
        {"every_byte_but_nul", everyByte.repeated(400), "テキストファイルではないようです", 0},
        {"zip_archive", QByteArray("PK\x03\x04\x14\0\x06\0", 8), "テキストファイルではないようです",
         0},
        {"vertical_tabs_in_values", QByteArray("山田,東京都\v千代田区\f\n").repeated(20), nullptr,
         20},
        {"an_escape_in_text", "100-0001,東京都千代田区丸の内一丁目,\x1b山田太郎,03-1234-5678\n",
         nullptr, 1},
        {"larger_than_the_limit", QByteArray(), "大きすぎる", 0},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QLatin1String(c.name));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(c.bytes.isNull() ? file.resize(kMaxCsvFileBytes + 1) : file.write(c.bytes));
        }
        ContinuousTable t = opened("a,b\n");
        t.mapping.select(MapField::Name, 2);
        const ContinuousTable before = t;
        QString error;
        const bool ok = openCsvFile(t, path, QStringLiteral("1000"), &error);
        EXPECT_EQ(ok, !c.inMessage) << qPrintable(error);
        EXPECT_EQ(t.table.rowCount() - 1, ok ? c.rows : 1);
        if (!c.inMessage)
            continue;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.inMessage))) << qPrintable(error);
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << qPrintable(error);
        EXPECT_EQ(t.table, before.table);
        EXPECT_EQ(t.mapping, before.mapping);
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define NOBRISA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NOBRISA_ADDRESS_SANITIZER 1
#endif
#endif

// Memory that runs out while a file is decoded or its table built gives a message and keeps the
// table, instead of ending the program (in the window with the unsaved slip). In a fresh child
// process whose address space is held to a little more than it uses.
TEST(OpenCsvFile, RunningOutOfMemoryGivesAMessageAndKeepsTheTable)
{
#ifdef NOBRISA_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The address space used now and `spare` bytes more; RLIM_INFINITY lifts the limit.
    const auto limitAddressSpace = [](rlim_t spare) {
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t used = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
        const rlimit limit{spare == RLIM_INFINITY ? RLIM_INFINITY : used + spare, RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &limit);
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.csv"));
    const QByteArray line("100-0001,東京都千代田区丸の内一丁目,山田太郎,03-1234-5678\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(line.repeated(300000)) > 0);
    file.close();
    const auto check = [&] {
        ContinuousTable t = opened("a,b\n");
        const ContinuousTable before = t;
        bool good = true;
        QString error;
        // Decoding: 22 MB of bytes and 44 MB of text, with 32 MB to spare.
        limitAddressSpace(32 << 20);
        good &= !openCsvFile(t, path, QStringLiteral("1000"), &error);
        good &= error.contains(QStringLiteral("メモリが足りない")) && t.table == before.table;
        // Building: the text is there, its table of 300,000 rows not.
        limitAddressSpace(RLIM_INFINITY);
        const QString text = QString::fromUtf8(line.repeated(300000));
        limitAddressSpace(16 << 20);
        error.clear();
        good &= !openCsvText(t, path, text, QStringLiteral("1000"), &error);
        good &= error.contains(QStringLiteral("メモリが足りない")) && t.table == before.table;
        std::_Exit(good ? 0 : 1);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
#endif
}

// An end beyond the table stops at its last row; nothing is printed when the range is reversed
// or begins beyond the table, or when it would be more pages than a job has.
TEST(PrintableRange, EndsStopAtTheTableAndJobsAreCapped)
{
    const struct {
        RowRange requested;
        int dataRows;
        RowRange printed; // {-1, -1}: refused with `inMessage`
        const char* inMessage;
    } cases[] = {
        {{1, INT_MAX}, 3, {1, 3}, ""},
        {{0, 0}, 0, {0, 0}, ""},
        {{3, 1}, 3, {-1, -1}, "より前"},
        {{4, 10}, 3, {-1, -1}, "始め（4 行目）が表の最後の行（3 行目）より後"},
        {{1, kMaxPagesPerJob}, 200000, {1, kMaxPagesPerJob}, ""},
        {{1, kMaxPagesPerJob + 1}, 200000, {-1, -1}, "100,000 枚まで"},
        {{50001, INT_MAX}, 150000, {50001, 150000}, ""},
    };
    for (const auto& c : cases) {
        QString why;
        const std::optional<RowRange> r = printableRange(c.requested, c.dataRows, &why);
        EXPECT_EQ(r ? std::pair(r->first, r->last) : std::pair(-1, -1),
                  std::pair(c.printed.first, c.printed.last))
            << c.requested.first << "-" << c.requested.last << ": " << qPrintable(why);
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.inMessage))) << qPrintable(why);
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
