#include "settings/linelist.h"

#include "settings/inifile.h"
#include "text/lines.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

const QString kS = QStringLiteral("S");

TEST(LineListTest, KeyNames)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Line00"},  {9, "Line09"},    {10, "Line10"},      {11, "Line11"},
        {99, "Line99"}, {100, "Line100"}, {12345, "Line12345"}};
    for (const auto& [index, key] : cases)
        EXPECT_EQ(lineListKey(index), QLatin1String(key)) << index;
}

TEST(LineListTest, UnwrapDropsFirstAndLastCharacterWhateverTheyAre)
{
    const std::pair<const char*, const char*> cases[] = {
        {"#abc#", "abc"}, {"#  x  #", "  x  "}, {"abc", "b"}, {"#", ""}, {"##", ""},
        {"", ""},         {"ab", ""},           {"#a#", "a"}};
    for (const auto& [value, line] : cases)
        EXPECT_EQ(unwrapLine(QString::fromUtf8(value)), QString::fromUtf8(line)) << value;
}

TEST(LineListTest, TwelveLinesUseTwoDigitKeysThenPlainNumbers)
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    lines[1] = QStringLiteral("  both ends  ");
    IniFile ini;
    writeLineList(ini, kS, QStringLiteral("Ekanyucount"), joinLines(lines));

    QStringList expectedKeys{QStringLiteral("Ekanyucount")};
    for (const char* k : {"Line00", "Line01", "Line02", "Line03", "Line04", "Line05", "Line06",
                          "Line07", "Line08", "Line09", "Line10", "Line11"})
        expectedKeys.append(QLatin1String(k));
    EXPECT_EQ(ini.keys(kS), expectedKeys);
    EXPECT_EQ(ini.value(kS, QStringLiteral("Ekanyucount")), QStringLiteral("12"));
    EXPECT_EQ(ini.value(kS, QStringLiteral("Line01")), QStringLiteral("#  both ends  #"));

    // Through the file text, so the reader's trimming is part of the round trip.
    const IniFile back = IniFile::parse(ini.toText());
    EXPECT_EQ(splitLines(readLineList(back, kS, QStringLiteral("ekanyucount"))), lines);
}

struct ReadCase {
    const char* name;
    const char* section; // body of section S
    QStringList lines;
};

class LineListReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LineListReadTest, Reads)
{
    const IniFile ini =
        IniFile::parse(QStringLiteral("[S]\n") + QString::fromUtf8(GetParam().section));
    const QString text = readLineList(ini, kS, QStringLiteral("n"));
    EXPECT_EQ(splitLines(text), GetParam().lines);
    EXPECT_EQ(lineCount(text), GetParam().lines.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineListReadTest,
    ::testing::Values(ReadCase{"count_beyond_keys_gives_empty_lines",
                               "n=3\nLine00=#a#\n",
                               {QStringLiteral("a"), QString(), QString()}},
                      ReadCase{"empty_middle_line",
                               "n=3\nLine00=#a#\nLine01=##\nLine02=#c#\n",
                               {QStringLiteral("a"), QString(), QStringLiteral("c")}},
                      ReadCase{"single_empty_line", "n=1\nLine00=#\n", {QString()}},
                      ReadCase{"lines_beyond_count_ignored",
                               "n=1\nLine00=#a#\nLine01=#stale#\n",
                               {QStringLiteral("a")}},
                      ReadCase{"no_count", "Line00=#a#\n", {}},
                      ReadCase{"zero_count", "n=0\nLine00=#a#\n", {}},
                      ReadCase{"negative_count", "n=-4\nLine00=#a#\n", {}},
                      ReadCase{"count_not_a_number", "n=two\nLine00=#a#\n", {}},
                      ReadCase{"hand_edited_without_hashes",
                               "n=2\nLine00=xyz\nLine01=ab\n",
                               {QStringLiteral("y"), QString()}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(LineListTest, HugeCountWithoutLineKeysStaysBounded)
{
    const IniFile ini = IniFile::parse(QStringLiteral("[S]\nn=2000000000\nLine00=#a#\n"));
    const QString text = readLineList(ini, kS, QStringLiteral("n"));
    EXPECT_EQ(lineAt(text, 0), QStringLiteral("a"));
    EXPECT_GT(lineCount(text), 1);
    EXPECT_LT(text.size(), 100000);
}

TEST(LineListTest, ShrinkingLeavesStaleKeysThatReadersIgnore)
{
    IniFile ini;
    writeLineList(ini, kS, QStringLiteral("n"), QStringLiteral("1\r\n2\r\n3\r\n4\r\n5"));
    writeLineList(ini, kS, QStringLiteral("n"), QStringLiteral("x\r\ny"));
    EXPECT_EQ(ini.value(kS, QStringLiteral("Line04")), QStringLiteral("#5#"));
    EXPECT_EQ(readLineList(ini, kS, QStringLiteral("n")), QStringLiteral("x\r\ny"));
}

TEST(LineListTest, CustomKeysForRegisteredLists)
{
    IniFile ini;
    const LineKeyFunction keyOf = [](int j) { return QStringLiteral("Line_3-%1").arg(j); };
    writeLineList(ini, kS, QStringLiteral("Acount_3"), QStringLiteral("a\r\n\r\nc"), keyOf);
    EXPECT_EQ(ini.value(kS, QStringLiteral("Line_3-1")), QStringLiteral("##"));
    EXPECT_EQ(readLineList(ini, kS, QStringLiteral("Acount_3"), keyOf),
              QStringLiteral("a\r\n\r\nc"));
}

TEST(LineListTest, HundredThousandLinesRoundTrip)
{
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines.append(QString::number(i));
    IniFile ini;
    writeLineList(ini, kS, QStringLiteral("n"), joinLines(lines));
    const IniFile back = IniFile::parse(ini.toText());
    EXPECT_EQ(splitLines(readLineList(back, kS, QStringLiteral("n"))), lines);
}

} // namespace
} // namespace nobrisa
