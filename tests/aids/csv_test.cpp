#include "aids/csv.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace nobrisa {
namespace {

struct SplitCase {
    const char* name;
    QString line;
    QStringList fields;
};

class SplitCsvFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCsvFieldsTest, Splits)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(splitCsvFields(c.line), c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SplitCsvFieldsTest,
    ::testing::Values(
        SplitCase{"blanks_around_fields_are_dropped", "  x , y ", {"x", "y"}},
        SplitCase{"two_commas_give_an_empty_field", "x,,y", {"x", "", "y"}},
        SplitCase{"final_comma_adds_an_empty_field", "x,", {"x", ""}},
        SplitCase{"final_comma_then_blank_adds_none", "x, ", {"x"}},
        SplitCase{"final_comma_then_tab_adds_none", "x ,\t", {"x"}},
        SplitCase{"two_final_commas", "x,,", {"x", "", ""}},
        SplitCase{"leading_comma", ",x", {"", "x"}},
        SplitCase{"quoted_comma_and_doubled_quote", R"("a,b""c")", {R"(a,b"c)"}},
        SplitCase{"text_after_closing_quote_is_a_new_field", R"("ab"cd)", {"ab", "cd"}},
        SplitCase{"quoted_fields_separated_by_blanks", R"("ab"  "cd")", {"ab", "cd"}},
        SplitCase{"blanks_after_closing_quote_before_comma", R"("a" , b)", {"a", "b"}},
        SplitCase{"unclosed_quote_takes_the_rest", R"("a,bc)", {"a,bc"}},
        SplitCase{"unclosed_after_doubled_quote", R"("x"")", {R"(x")"}},
        SplitCase{"empty_quoted_field", R"("",x)", {"", "x"}},
        SplitCase{"only_a_doubled_quote", R"("""")", {R"(")"}},
        // Two quoted fields with doubled quotes: both live in the splitter's buffer at once.
        SplitCase{
            "two_fields_with_doubled_quotes", R"("a""b","c""d",e)", {R"(a"b)", R"(c"d)", "e"}},
        SplitCase{"quote_inside_unquoted_field", R"(ab"cd,e)", {R"(ab"cd)", "e"}},
        // Spreadsheets quote only values with a comma, a quote or a line break.
        SplitCase{"space_inside_unquoted_value_is_kept", "東京都 千代田区", {"東京都 千代田区"}},
        SplitCase{"blanks_inside_kept_around_dropped",
                  "  山田 太郎 ,\t東京都  千代田区\t, a\tb",
                  {"山田 太郎", "東京都  千代田区", "a\tb"}},
        SplitCase{"unquoted_value_then_final_comma", "山田 太郎 ,", {"山田 太郎", ""}},
        SplitCase{"quote_after_a_blank_inside_unquoted_value", R"(a "b",c)", {R"(a "b")", "c"}},
        SplitCase{"space_kept_in_quoted_value", "\"東京都 千代田区\"", {"東京都 千代田区"}},
        SplitCase{"ideographic_space_is_no_blank", "郵便　太郎", {"郵便　太郎"}},
        SplitCase{"tab_and_control_codes_are_blanks",
                  QString("\x01"
                          "a\x1f,\tb\x7f"),
                  {"a", "b\x7f"}},
        SplitCase{"numbered_empty_line", "1,", {"1", ""}},
        SplitCase{"numbered_blank_line", "1,   ", {"1"}}, SplitCase{"empty_text", "", {}},
        SplitCase{"blank_text", " \t ", {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(SplitCsvFields, VeryLongLinesSplitWhole)
{
    QString wide;
    for (int i = 0; i < 10000; ++i)
        wide += QString::number(i) + u',';
    const QStringList fields = splitCsvFields(wide);
    ASSERT_EQ(fields.size(), 10001);
    EXPECT_EQ(fields[9999], "9999");
    EXPECT_EQ(fields[10000], "");

    // An unclosed quote over many doubled quotes and commas stays one field.
    const QString quoted = QStringLiteral("\"") + QString(R"(a"",)").repeated(20000);
    const QStringList one = splitCsvFields(quoted);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0], QString(R"(a",)").repeated(20000));
}

TEST(CsvFieldSplitter, ReusedSplitterForgetsThePreviousLine)
{
    CsvFieldSplitter splitter;
    const QString first = R"("a""b","c""d")";
    const QString second = R"(x,"y""z")";
    ASSERT_EQ(splitter.split(first).size(), 2u);
    const std::vector<QStringView>& fields = splitter.split(second);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], u"x");
    EXPECT_EQ(fields[1], u"y\"z");
}

QByteArray raw(const char* data, qsizetype size)
{
    return QByteArray(data, size);
}

struct LinesCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

class CsvLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(CsvLinesTest, Lines)
{
    const LinesCase& c = GetParam();
    EXPECT_EQ(csvLines(c.bytes), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CsvLinesTest,
    ::testing::Values(
        LinesCase{"empty_file", QByteArray(), {}}, LinesCase{"no_final_break", "a,b", {"a,b"}},
        LinesCase{"final_lf_adds_no_line", "a\nb\n", {"a", "b"}},
        LinesCase{"final_crlf_adds_no_line", "a\r\nb\r\n", {"a", "b"}},
        LinesCase{"cr_alone_ends_a_line", "a\rb\r", {"a", "b"}},
        LinesCase{"lf_cr_is_two_breaks", "a\n\rb", {"a", "", "b"}},
        LinesCase{"empty_lines_inside_count", "a\r\n\r\nb", {"a", "", "b"}},
        LinesCase{"only_a_break_is_one_empty_line", "\n", {""}},
        LinesCase{"two_final_breaks_leave_one_empty_line", "a\n\n", {"a", ""}},
        LinesCase{"nul_ends_the_text", raw("a\nb\0c\nd", 7), {"a", "b"}},
        LinesCase{"nul_after_a_break", raw("a\n\0b", 4), {"a"}},
        LinesCase{"nul_first", raw("\0a", 2), {}},
        // The bytes after a NUL do not make valid UTF-8 text look like CP932.
        LinesCase{"nul_before_invalid_bytes", QByteArray("表,x") + raw("\0\xFF\xFE", 3), {"表,x"}},
        LinesCase{"utf8_bom",
                  QByteArray("\xEF\xBB\xBF") + QByteArray("郵便,太郎\r\n東京"),
                  {"郵便,太郎", "東京"}},
        LinesCase{"utf8_bom_only", "\xEF\xBB\xBF", {}},
        LinesCase{"utf16le_bom",
                  raw("\xFF\xFE"
                      "a\0,\0\x68\x88\r\0\n\0b\0",
                      14),
                  {"a,表", "b"}},
        LinesCase{"utf16le_nul_character",
                  raw("\xFF\xFE"
                      "a\0\0\0b\0",
                      8),
                  {"a"}},
        LinesCase{"utf16be_bom", raw("\xFE\xFF\0a\0\n\x88\x68\0\n", 10), {"a", "表"}},
        // 表 and ソ end in 0x5C; 髙 and ① exist in CP932 only.
        LinesCase{"cp932", "\x95\x5C,\x83\x5C\r\n\xFB\xFC,\x87\x40\r\n", {"表,ソ", "髙,①"}},
        // A broken lead byte before a break becomes U+FFFD and does not swallow the break.
        LinesCase{"invalid_shift_jis", "a,\x81\n\x95\x5C\x95", {"a,\uFFFD", "表\uFFFD"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return info.param.name; });

TEST(CsvLines, BinaryBytesNeverFail)
{
    // Every byte value but NUL, in an order that mixes lead bytes, breaks and quotes.
    QByteArray bytes;
    for (int round = 0; round < 64; ++round)
        for (int b = 1; b < 256; ++b)
            bytes.append(static_cast<char>((b * 37 + round) % 255 + 1));
    const QStringList lines = csvLines(bytes);
    EXPECT_FALSE(lines.isEmpty());
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains(u'\r'));
        EXPECT_FALSE(line.contains(u'\n'));
    }
}

} // namespace
} // namespace nobrisa
