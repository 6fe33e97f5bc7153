#include "text/encoding.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace nobrisa {
namespace {

QByteArray bytes(const char* data, qsizetype size)
{
    return QByteArray(data, size);
}

struct DecodeCase {
    const char* name;
    QByteArray input;
    QString expected;
    TextEncoding encoding;
};

class DecodeTextTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextTest, DecodesAndReportsEncoding)
{
    const DecodeCase& c = GetParam();
    TextEncoding detected = TextEncoding::Utf8;
    EXPECT_EQ(decodeText(c.input, &detected), c.expected);
    EXPECT_EQ(detected, c.encoding);
}

const QString kJa = QStringLiteral("表－～①髙");

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeTextTest,
    ::testing::Values(
        // The mark is consumed, not returned as U+FEFF.
        DecodeCase{"utf8_bom", QByteArray("\xEF\xBB\xBF") + kJa.toUtf8(), kJa,
                   TextEncoding::Utf8Bom},
        DecodeCase{"utf16le_bom", bytes("\xFF\xFE\x68\x88\x41\x00", 6), QStringLiteral("表A"),
                   TextEncoding::Utf16Le},
        DecodeCase{"utf16be_bom", bytes("\xFE\xFF\x88\x68\x00\x41", 6), QStringLiteral("表A"),
                   TextEncoding::Utf16Be},
        DecodeCase{"utf8_without_bom", kJa.toUtf8(), kJa, TextEncoding::Utf8},
        DecodeCase{"ascii_is_utf8", QByteArray("a=b\r\n"), QStringLiteral("a=b\r\n"),
                   TextEncoding::Utf8},
        DecodeCase{"empty", QByteArray(), QString(), TextEncoding::Utf8},
        // CP932 extensions that strict Shift-JIS lacks, and 表/ソ whose trail byte is 0x5C.
        DecodeCase{"cp932_extensions", QByteArray("\x95\x5C\x81\x7C\x81\x60\x87\x40\xFB\xFC"), kJa,
                   TextEncoding::Cp932},
        DecodeCase{"cp932_nec_ibm_taka", QByteArray("\xEE\xE0"), QStringLiteral("髙"),
                   TextEncoding::Cp932},
        DecodeCase{"cp932_backslash_stays", QByteArray("C:\\\x83\x5C\\x"),
                   QStringLiteral("C:\\ソ\\x"), TextEncoding::Cp932},
        DecodeCase{"cp932_halfwidth_kana", QByteArray("\xB1\xB2"), QStringLiteral("ｱｲ"),
                   TextEncoding::Cp932},
        // Broken input: replacement characters, never a crash, resynchronised afterwards.
        DecodeCase{"cp932_lead_byte_then_blank", QByteArray("\x81 a\x95\x5C"),
                   QStringLiteral("\uFFFD a表"), TextEncoding::Cp932},
        DecodeCase{"cp932_truncated_lead_byte", QByteArray("\x95\x5C\x95"),
                   QStringLiteral("表\uFFFD"), TextEncoding::Cp932},
        DecodeCase{"cp932_undefined_byte", QByteArray("a\x80z"), QStringLiteral("a\uFFFDz"),
                   TextEncoding::Cp932},
        // As many units as bytes: the most the decoder ever writes.
        DecodeCase{"cp932_every_byte_broken", QByteArray(1000, '\x80'),
                   QString(1000, QChar::ReplacementCharacter), TextEncoding::Cp932},
        // An overlong UTF-8 form is not UTF-8: read as CP932, half-width タ and a broken byte.
        DecodeCase{"overlong_utf8_is_cp932", QByteArray("\xC0\x80"), QStringLiteral("ﾀ\uFFFD"),
                   TextEncoding::Cp932},
        DecodeCase{"utf16le_odd_length", bytes("\xFF\xFE\x41\x00\x42", 5),
                   QStringLiteral("A\uFFFD"), TextEncoding::Utf16Le},
        DecodeCase{"utf16be_mark_and_one_byte", bytes("\xFE\xFF\x30", 3), QStringLiteral("\uFFFD"),
                   TextEncoding::Utf16Be},
        DecodeCase{"utf16le_mark_only", bytes("\xFF\xFE", 2), QString(), TextEncoding::Utf16Le},
        DecodeCase{"utf8_bom_with_invalid_bytes",
                   QByteArray("\xEF\xBB\xBF"
                              "a\xFF"
                              "b"),
                   QStringLiteral("a\uFFFDb"), TextEncoding::Utf8Bom}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(DecodeText, LoneSurrogateInUtf16DoesNotCrash)
{
    const QString s = decodeText(bytes("\xFF\xFE\x00\xD8\x41\x00", 6));
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[1], u'A');
}

struct EncodeCase {
    const char* name;
    QString input;
    QByteArray expected;
};

class EncodeCp932Test : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeCp932Test, Encodes)
{
    EXPECT_EQ(encodeCp932(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, EncodeCp932Test,
    ::testing::Values(EncodeCase{"ascii", QStringLiteral("Ab1 \\"), QByteArray("Ab1 \\")},
                      EncodeCase{"extensions", QStringLiteral("表－～①"),
                                 QByteArray("\x95\x5C\x81\x7C\x81\x60\x87\x40")},
                      // Each character CP932 lacks is one '?', a surrogate pair included.
                      EncodeCase{"missing_characters", QStringLiteral("a€b😀c"),
                                 QByteArray("a?b?c")},
                      EncodeCase{"lone_surrogate", QString(QChar(0xD800)) + u'x', QByteArray("?x")},
                      EncodeCase{"empty", QString(), QByteArray()}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

TEST(EncodeCp932, RoundTripsThroughDecoder)
{
    const QString text = QStringLiteral("髙橋　表子（ｶﾅ）①～－\\");
    EXPECT_EQ(decodeCp932(encodeCp932(text)), text);
}

} // namespace
} // namespace nobrisa
