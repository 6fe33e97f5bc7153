#include "aids/workbench.h"

#include <gtest/gtest.h>

#include <QString>

#include <functional>

namespace nobrisa {
namespace {

struct CleanUpCase {
    const char* name;
    std::function<QString(const QString&)> cleanUp;
    QString text;
    QString expected;
};

class WorkbenchCleanUpTest : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(WorkbenchCleanUpTest, Cleans)
{
    const CleanUpCase& c = GetParam();
    EXPECT_EQ(c.cleanUp(c.text), c.expected);
}

const auto digits = [](const QString& t) { return fullWidthDigitsToAscii(t); };
const auto leading = [](const QString& t) { return removeTabsAndLeadingBlanks(t); };
const auto empty = [](const QString& t) { return removeEmptyLines(t); };
const auto commas = [](const QString& t) { return removeCommas(t); };

// A line far wider than any editor: the clean-ups see it as one line however it is shown.
const QString kWide = QStringLiteral("\t東京都千代田区").repeated(300);

INSTANTIATE_TEST_SUITE_P(
    Text, WorkbenchCleanUpTest,
    ::testing::Values(
        CleanUpCase{"all_ten_digits", digits, "０１２３４５６７８９", "0123456789"},
        CleanUpCase{"amount", digits, "金額１２３円", "金額123円"},
        CleanUpCase{"postal_mark_and_hyphen_stay", digits, "〒１２３－４５６７", "〒123－4567"},
        CleanUpCase{"letters_blanks_and_brackets_stay", digits, "ＡＢ　（１）", "ＡＢ　（1）"},
        CleanUpCase{"tabs_anywhere_then_leading_blanks", leading, "\t a\tb ", "ab "},
        CleanUpCase{"control_codes_at_the_start", leading, "\x01\x1f x", "x"},
        CleanUpCase{"ideographic_blank_stays", leading, "　山田\n \t　様", "　山田\n　様"},
        CleanUpCase{"lines_keep_their_number", leading, "a\n \n\t\nb", "a\n\n\nb"},
        CleanUpCase{"wide_line_stays_one_line", leading, kWide,
                    QStringLiteral("東京都千代田区").repeated(300)},
        CleanUpCase{"empty_lines_go", empty, "a\n\nb\n\n\nc", "a\nb\nc"},
        CleanUpCase{"blank_only_lines_stay", empty, "a\n \n\t\nb", "a\n \n\t\nb"},
        CleanUpCase{"leading_and_final_empty_lines", empty, "\n\na\n", "a"},
        CleanUpCase{"only_empty_lines", empty, "\n\n", ""},
        CleanUpCase{"wide_line_is_not_split", empty, kWide + "\n\n" + kWide, kWide + "\n" + kWide},
        CleanUpCase{"both_commas", commas, "1,000，円", "1000円"},
        CleanUpCase{"commas_on_every_line", commas, "a,b\n,\nc，", "ab\n\nc"},
        CleanUpCase{"ideographic_comma_stays", commas, "東京、大阪", "東京、大阪"},
        CleanUpCase{"empty_text", commas, "", ""}),
    [](const ::testing::TestParamInfo<CleanUpCase>& info) { return info.param.name; });

} // namespace
} // namespace nobrisa
