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

// Without a mark a text file is UTF-8 only when its text reads as Japanese, else CP932, whose
// half-width katakana is often valid UTF-8 by accident; a settings file is CP932 always.
TEST(DecodeText, WithoutMarkUtf8OnlyWhenTheTextReadsAsJapanese)
{
    const struct {
        QString text;
        bool utf8; // else written and read as CP932
    } cases[] = {
        // As UTF-8 ﾅｶﾐｷ reads «Ŷз», ﾆｼ «Ƽ», ﾐｷ «з», ﾎｼ «μ», ﾂｶ «¶», ﾃｩ «é», ﾘｹ «ع».
        {QStringLiteral("ﾅｶﾐｷ"), false},
        {QStringLiteral("ﾆｼ"), false},
        {QStringLiteral("1,ﾅｶﾐｷ,03-1111-2222\r\n2,ﾆｼ\r\n3,ﾐｷ\r\n4,ﾎｼ ﾐｶ\r\n").repeated(200), false},
        {QStringLiteral("ﾐｷ,ﾎｼ,ﾐｶ,ﾂｶ,ﾃｷ,ﾅｶﾐｷ"), false}, // letters Japanese holds only beside kana
        {QStringLiteral("Cafﾃｩ"), false},
        {QStringLiteral("ﾘｹﾘｱﾘｨ"), false},
        {QStringLiteral("100-0005,東京都千代田区丸の内１－１,さくらハイツ　１０１号,山田 太郎"),
         true},
        {QStringLiteral("812-0011,福岡県福岡市博多区,𠮷田ビル,髙橋 𠮷男"), true},
        {QStringLiteral("ﾅｶﾐｷ ﾀﾛｳ,ｶﾌﾞｼｷｶﾞｲｼｬ"), true},
        {QStringLiteral("〒100-0001・①～⑳・Ⅲ・※・×÷±°§・→■┌─┐・“”…℃№㈱ー・葛\U000E0100"), true},
        {QStringLiteral("カフェ・ド・Café,αβγ,Жэ,Tōkyō,¥1000"), true},
        {QStringLiteral("1,①,※,→"), true},
        {QStringLiteral("金 민수,東京"), true},
        {QStringLiteral("100-0001,1-2-3,Tanaka\r\n"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(30).toStdString());
        const QByteArray bytes = c.utf8 ? c.text.toUtf8() : encodeCp932(c.text);
        ASSERT_TRUE(QByteArrayView(bytes).isValidUtf8()) << "only the text's reading decides";
        TextEncoding detected = TextEncoding::Utf8Bom;
        EXPECT_EQ(decodeText(bytes, &detected), c.text);
        EXPECT_EQ(detected, c.utf8 ? TextEncoding::Utf8 : TextEncoding::Cp932);
        EXPECT_EQ(decodeSettingsText(bytes, &detected), decodeCp932(bytes));
        EXPECT_EQ(detected, TextEncoding::Cp932);
    }
}

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
    qsizetype replaced = 0; // characters written as '?' for want of one in CP932
};

class EncodeCp932Test : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeCp932Test, Encodes)
{
    qsizetype replaced = -1;
    EXPECT_EQ(encodeCp932(GetParam().input, &replaced), GetParam().expected);
    EXPECT_EQ(replaced, GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, EncodeCp932Test,
    ::testing::Values(EncodeCase{"ascii", QStringLiteral("Ab1 \\"), QByteArray("Ab1 \\")},
                      EncodeCase{"extensions", QStringLiteral("表－～①"),
                                 QByteArray("\x95\x5C\x81\x7C\x81\x60\x87\x40")},
                      // Each character CP932 lacks is one '?', a surrogate pair included.
                      EncodeCase{"missing_characters", QStringLiteral("a€b😀c"),
                                 QByteArray("a?b?c"), 2},
                      EncodeCase{"question_mark_kept", QStringLiteral("?€"), QByteArray("??"), 1},
                      // Each lone surrogate is one lost character, wherever it stands.
                      EncodeCase{"lone_surrogate", QString(QChar(0xD800)) + u'x', QByteArray("?x"),
                                 1},
                      EncodeCase{"lone_surrogates",
                                 QString(QChar(0xDC00)) + u'表' + QChar(0xD896) + u'A' +
                                     QChar(0xD800),
                                 QByteArray("?\x95\x5C?A?"), 3},
                      EncodeCase{"empty", QString(), QByteArray()}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return info.param.name; });

TEST(EncodeCp932, RoundTripsThroughDecoder)
{
    const QString text = QStringLiteral("髙橋　表子（ｶﾅ）①～－\\");
    EXPECT_EQ(decodeCp932(encodeCp932(text)), text);
}

} // namespace
} // namespace nobrisa
