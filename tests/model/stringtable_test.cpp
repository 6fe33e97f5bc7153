#include "model/columnmapping.h"
#include "model/stringtable.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <array>

namespace nobrisa {
namespace {

QStringList rowOf(const StringTable& table, int row)
{
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c)
        cells << table.cell(c, row);
    return cells;
}

StringTable filled(int columns, int rows)
{
    StringTable t(columns, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            t.setCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    return t;
}

TEST(StringTable, CellsOutsideTheTableReadEmptyAndIgnoreWrites)
{
    StringTable t = filled(3, 2);
    const StringTable before = t;
    for (auto [c, r] :
         std::array<std::pair<int, int>, 5>{{{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {1000, 1000}}}) {
        EXPECT_TRUE(t.cell(c, r).isEmpty()) << c << "," << r;
        EXPECT_TRUE(t.cellView(c, r).isEmpty()) << c << "," << r;
        t.setCell(c, r, QStringLiteral("x"));
    }
    EXPECT_EQ(t, before);
}

TEST(StringTable, ChangingACellKeepsItsNeighbours)
{
    StringTable t(5, 2);
    t.setCell(3, 1, QStringLiteral("c"));
    t.setCell(1, 1, QStringLiteral("a"));
    t.setCell(2, 1, QStringLiteral("bb"));
    EXPECT_EQ(rowOf(t, 1), (QStringList{"", "a", "bb", "c", ""}));
    t.setCell(2, 1, QStringLiteral("郵便番号"));
    EXPECT_EQ(rowOf(t, 1), (QStringList{"", "a", "郵便番号", "c", ""}));
    t.setCell(2, 1, QString());
    EXPECT_EQ(rowOf(t, 1), (QStringList{"", "a", "", "c", ""}));
    t.setCell(1, 1, QStringLiteral("a"));
    EXPECT_EQ(rowOf(t, 1), (QStringList{"", "a", "", "c", ""}));
    // Emptying the last cells leaves a row equal to one that never held them.
    t.setCell(3, 1, QString());
    StringTable expected(5, 2);
    expected.setCell(1, 1, QStringLiteral("a"));
    EXPECT_EQ(t, expected);
    EXPECT_EQ(rowOf(t, 0), (QStringList{"", "", "", "", ""}));
}

TEST(StringTable, SetRowReplacesTheWholeRow)
{
    StringTable t = filled(4, 3);
    t.setRow(1, std::vector<QString>{"a", "", "c", "d", "beyond"});
    EXPECT_EQ(rowOf(t, 1), (QStringList{"a", "", "c", "d"}));
    const std::array<QStringView, 2> views{u"x", u""};
    t.setRow(2, views);
    EXPECT_EQ(rowOf(t, 2), (QStringList{"x", "", "", ""}));
    EXPECT_EQ(rowOf(t, 0), (QStringList{"0:0", "1:0", "2:0", "3:0"}));
    t.setRow(3, std::vector<QString>{"outside"});
    EXPECT_EQ(t.rowCount(), 3);
}

TEST(StringTable, SetRowWithALastCellFillsTheLastColumn)
{
    StringTable t = filled(6, 2);
    const std::array<QStringView, 2> two{u"a", u"b"};
    t.setRow(1, two, u"末尾");
    EXPECT_EQ(rowOf(t, 1), (QStringList{"a", "b", "", "", "", "末尾"}));
    // The last column belongs to `last`, also when it is empty and the cells reach it.
    const std::array<QStringView, 7> seven{u"0", u"1", u"2", u"3", u"4", u"5", u"6"};
    t.setRow(1, seven, QStringView());
    EXPECT_EQ(rowOf(t, 1), (QStringList{"0", "1", "2", "3", "4", ""}));
    t.setRow(0, seven, u"x");
    EXPECT_EQ(rowOf(t, 0), (QStringList{"0", "1", "2", "3", "4", "x"}));
}

TEST(StringTable, ShrinkingThenGrowingLeavesNothingBehind)
{
    StringTable t = filled(4, 4);
    t.resize(2, 2);
    EXPECT_EQ(t.cell(2, 1), "");
    t.resize(4, 4);
    EXPECT_EQ(rowOf(t, 0), (QStringList{"0:0", "1:0", "", ""}));
    EXPECT_EQ(rowOf(t, 1), (QStringList{"0:1", "1:1", "", ""}));
    EXPECT_EQ(rowOf(t, 3), (QStringList{"", "", "", ""}));

    t.resize(0, -3);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.cell(0, 0), "0:0");
}

TEST(StringTable, ClearDataKeepsHeadingRowAndNumberingColumn)
{
    StringTable t = filled(3, 3);
    t.clearData();
    EXPECT_EQ(rowOf(t, 0), (QStringList{"0:0", "1:0", "2:0"}));
    EXPECT_EQ(rowOf(t, 1), (QStringList{"0:1", "", ""}));
    EXPECT_EQ(rowOf(t, 2), (QStringList{"0:2", "", ""}));
}

TEST(StringTable, TrimmedCellDropsCodesOneToThirtyTwoOnly)
{
    StringTable t(3, 1);
    t.setCell(0, 0, QStringLiteral(" \t a b \r\n"));
    t.setCell(1, 0, QStringLiteral("　郵便　")); // the ideographic space is no blank code
    t.setCell(2, 0, QStringLiteral("\x01\x1f"));
    EXPECT_EQ(t.trimmedCell(0, 0), "a b");
    EXPECT_EQ(t.trimmedCell(1, 0), "　郵便　");
    EXPECT_EQ(t.trimmedCell(2, 0), "");
    EXPECT_EQ(t.trimmedCell(7, 7), "");
}

using Selections = std::array<int, kMapFieldCount>;

struct FillCase {
    int columns;
    Selections selection;
};

class ColumnMappingFillTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(ColumnMappingFillTest, SelectsEachDefaultWhereTheListHasIt)
{
    ColumnMapping m;
    m.select(MapField::Amount, 3);
    m.fill(GetParam().columns);
    EXPECT_EQ(m.itemCount, GetParam().columns);
    EXPECT_EQ(m.selection, GetParam().selection);
}

INSTANTIATE_TEST_SUITE_P(Widths, ColumnMappingFillTest,
                         ::testing::Values(FillCase{0, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
                                           FillCase{1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                                           FillCase{2, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                                           FillCase{5, {1, 2, 3, 4, 0, 0, 0, 0, 0, 0}},
                                           FillCase{6, {1, 2, 3, 4, 5, 0, 0, 0, 0, 0}},
                                           FillCase{9, {1, 2, 3, 4, 5, 0, 0, 8, 0, 0}},
                                           FillCase{11, {1, 2, 3, 4, 5, 0, 0, 8, 9, 10}}));

TEST(ColumnMapping, RefillKeepsSelectionsTheListsStillHold)
{
    ColumnMapping m;
    m.fill(8);
    m.select(MapField::Amount, 7);
    m.select(MapField::Name, 0);
    m.refill(9);
    EXPECT_EQ(m.itemCount, 9);
    EXPECT_EQ(m.selection, (Selections{1, 2, 3, 0, 5, 7, 0, 0, 0, 0}));
    // Items that are gone fall back to item 0.
    m.refill(4);
    EXPECT_EQ(m.selection, (Selections{1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ColumnMapping, ClearedListsSelectNothingUntilFilledAgain)
{
    ColumnMapping m;
    m.fill(6);
    m.clear();
    EXPECT_EQ(m.itemCount, 0);
    for (int i = 0; i < kMapFieldCount; ++i)
        EXPECT_EQ(m.column(static_cast<MapField>(i)), 0);
    m.refill(6);
    EXPECT_EQ(m.selection, (Selections{1, 2, 3, 4, 5, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace nobrisa
