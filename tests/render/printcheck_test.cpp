#include "model/columnmapping.h"
#include "model/stringtable.h"
#include "model/tsliprecord.h"
#include "render/printcheck.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace nobrisa {
namespace {

constexpr char32_t kYoshi = 0x20BB7;    // 𠮷, outside the Basic Multilingual Plane
constexpr char32_t kPrivate = 0x10FFFD; // a private-use code no font has
constexpr char32_t kHiragana = 0x3042;  // あ

// Fonts that have every character except 𠮷, U+10FFFD and あ; counts how often each is asked.
struct FakeFonts {
    std::map<char32_t, int> asked;
    GlyphCoverage coverage()
    {
        return [this](char32_t c) {
            ++asked[c];
            return c != kYoshi && c != kPrivate && c != kHiragana;
        };
    }
};

QString yoshi()
{
    return QString::fromUcs4(&kYoshi, 1);
}

// Catches: a print of a slip whose groups are all switched off going out blank without a
// question, or a question on the right half about groups the right half does not print.
TEST(PrintCheck, BlankSlipIsTheOneWithNoSwitchOfAPrintedGroupOn)
{
    const struct {
        bool TSlipRecord::*onlySwitch; // nullptr: every switch off
        bool whole;
        bool right;
    } cases[] = {
        {nullptr, false, false},
        {&TSlipRecord::CheckBox1, true, true},
        {&TSlipRecord::CheckBox2, true, true},
        {&TSlipRecord::CheckBox3, true, false},
        {&TSlipRecord::CheckBox4, true, false},
        {&TSlipRecord::CheckBox4R, true, true},
        {&TSlipRecord::CheckBoxfont5, false, false},
    };
    for (const auto& c : cases) {
        TSlipRecord slip;
        if (c.onlySwitch != nullptr)
            slip.*c.onlySwitch = true;
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        EXPECT_EQ(drawsAnyGroup(slip, SlipPart::Whole), c.whole);
        EXPECT_EQ(drawsAnyGroup(slip, SlipPart::RightHalf), c.right);
    }
}

// Catches: characters of groups that are not printed being reported, printed ones missed, the
// right half reporting the left half's fields, and blanks or line breaks counted as missing.
TEST(PrintCheck, NamesTheFieldsOfThePrintedGroupsOnly)
{
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.Ekouza1 = QStringLiteral("0012") + QChar(0x3042);
    slip.Ekanyu = QStringLiteral("加入者\r\n\t") + yoshi() + QStringLiteral("　商店");
    slip.Maddres = QStringLiteral("東京都") + yoshi() + QStringLiteral("\r\n山田") + yoshi();
    slip.Etele2 = QString::fromUcs4(&kPrivate, 1);
    slip.MaddresR = QStringLiteral("山田");
    slip.MemoTsuushin = QStringLiteral("会費") + QChar(0x3042) + yoshi();
    FakeFonts fonts;

    const UndrawableTexts whole = findUndrawable(slip, SlipPart::Whole, fonts.coverage());
    const UndrawableTexts expected{
        {QStringLiteral("口座番号"), {kHiragana}},
        {QStringLiteral("加入者名"), {kYoshi}},
        {QStringLiteral("ご依頼人-左 電話番号"), {kPrivate}},
        {QStringLiteral("ご依頼人-左 住所・氏名"), {kYoshi}},
        {QStringLiteral("通信欄"), {kHiragana, kYoshi}},
    };
    EXPECT_EQ(whole, expected);
    EXPECT_EQ(fonts.asked[kYoshi], 1) << "each character is asked about once";
    EXPECT_EQ(fonts.asked.count(U'\t') + fonts.asked.count(U'\r') + fonts.asked.count(0x3000), 0u)
        << "blanks and line breaks are never drawn as glyphs";

    const UndrawableTexts right = findUndrawable(slip, SlipPart::RightHalf, fonts.coverage());
    EXPECT_EQ(right, (UndrawableTexts{expected[0], expected[1]}));

    slip.CheckBox1 = slip.CheckBox3 = slip.CheckBox4 = false;
    EXPECT_TRUE(findUndrawable(slip, SlipPart::Whole, fonts.coverage()).empty());
}

// Catches: the continuous print checking unmapped columns, rows outside the range, the sample
// row's cells, or asking the fonts once per cell rather than once per character.
TEST(PrintCheck, ContinuousPrintNamesRowAndColumnOfTheRange)
{
    TSlipRecord slip;
    slip.Ekanyu = yoshi(); // not printed: CheckBox1 is off
    slip.MemoTsuushin = QStringLiteral("会費");
    StringTable table(11, 1001);
    for (int row = 1; row <= 1000; ++row)
        table.setRow(row, {QString::number(row), "100-0001", "東京都", "", "山田太郎", "03"});
    table.setCell(4, 2, QStringLiteral("吉田") + yoshi());
    table.setCell(3, 3, QStringLiteral(" ") + QChar(0x3042));
    table.setCell(6, 3, QString::fromUcs4(&kPrivate, 1)); // amount column, selected below
    table.setCell(7, 5, yoshi());                         // a column no list selects
    ColumnMapping mapping;
    mapping.fill(11);
    mapping.select(MapField::Amount, 6);
    FakeFonts fonts;

    const struct {
        int first;
        int last;
        UndrawableTexts expected;
    } cases[] = {
        {1,
         1000,
         {{QStringLiteral("行 2 の氏名"), {kYoshi}},
          {QStringLiteral("行 3 の住所２"), {kHiragana}},
          {QStringLiteral("行 3 の金額"), {kPrivate}}}},
        {4, 2000, {}},
        {0, 0, {}}, // the sample row: sample texts stand in for the cells
        {3, 2, {}}, // an empty range prints nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "-" << c.last);
        EXPECT_EQ(findUndrawableInRows(slip, table, mapping, c.first, c.last, fonts.coverage()),
                  c.expected);
    }
    EXPECT_EQ(fonts.asked[U'山'], 2) << "once per check, not once per row";

    // The record's subscriber and message (a list on "(通信欄)") are checked once for all rows.
    slip.CheckBox1 = true;
    slip.MemoTsuushin = QChar(0x3042);
    EXPECT_EQ(findUndrawableInRows(slip, table, mapping, 0, 0, fonts.coverage()),
              (UndrawableTexts{{QStringLiteral("加入者名"), {kYoshi}},
                               {QStringLiteral("通信欄"), {kHiragana}}}));
}

// Catches: a message that grows without bound with many places, or that shows a missing
// character only as the box the dialog itself cannot avoid drawing.
TEST(PrintCheck, DescriptionIsShortAndGivesEachCharactersCode)
{
    UndrawableTexts found(6, {QStringLiteral("行 2 の氏名"), {kYoshi}});
    found[0] = {QStringLiteral("加入者名"), {kYoshi, 0x3402, 0x3403, 0x3404, 0x3405}};
    EXPECT_EQ(describeUndrawable(found, 2),
              QStringLiteral("加入者名: ") + yoshi() +
                  QStringLiteral(" (U+20BB7)、㐂 (U+3402)、㐃 (U+3403) ほか 2 字\n行 2 の氏名: ") +
                  yoshi() + QStringLiteral(" (U+20BB7)\nほか 4 件"));
}

} // namespace
} // namespace nobrisa
