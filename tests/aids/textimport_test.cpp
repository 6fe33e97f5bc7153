#include "aids/textimport.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

TEST(TextImport, HalfWidthAndThreePartCut)
{
    EXPECT_EQ(ToHalfWidth("〒０１９－ー（Ａ）　ｱ"), "〒019--(Ａ)　ｱ");
    // The separator skipped after each group is whatever character follows its digits; a
    // full-width digit is no digit there.
    const std::pair<const char*, const char*> cuts[] = {
        {"012-3-456", "012|3|456"},
        {"(03)123-456", "|03|123-456"},
        {"0312345678", "0312345678||"},
        {"1-2-3-4", "1|2|3-4"},
        {"１２", "||"},
        {"", "||"},
    };
    for (const auto& [text, parts] : cuts) {
        const ThreeParts p = cutThreeParts(QString::fromUtf8(text));
        EXPECT_EQ(QStringList({p.part1, p.part2, p.part3}).join(u'|'), parts) << text;
    }
}

// A file's bytes and the fields read from them, joined by "|": a subscriber's Ekouza1 … Ekanyu,
// a payer's Ezip, Maddres, Etele1 … Etele3.
using ImportCase = std::pair<QByteArray, const char*>;

TEST(TextImport, SubscriberFileInBothFormsAndWithLinesRunningOut)
{
    const ImportCase cases[] = {
        {"012-3-456\r\n山田商店\r\n", "012|3|456|山田商店"},
        {"０１２－３ー４５６\r山田商店\r", "012|3|456|山田商店"},
        {"012\n3\n456\n山田商店\n", "012|3|456|山田商店"},
        {"０１２\n３\n４５６\nその他\n山田商店", "０１２|３|４５６|山田商店"},
        {"012\n3\n456\n", "012|3|456|456"},
        {"012-3-456", "012|3|456| "},                               // six one-blank lines appended
        {QByteArray("012-3-456\n\0\xFF\xFE\n", 14), "012|3|456| "}, // a NUL ends the text
        {"\n012-3-456\n\n山田商店\n", "012|3|456|山田商店"},        // empty lines dropped
        {"カード\n山田商店\n", "||ド|山田商店"}, // ー makes a katakana word dashed
        {"0012345-6-1234567\n山田", "0012345|6|1234567|山田"},
        {"", " | | | "},
        // Lines that run out once the empty lines are gone read as empty.
        {"012-3-456\n\n\n", "012|3|456|"},
        {"012\n\n3\n\n", "012|3||"},
    };
    for (const auto& [file, fields] : cases) {
        SCOPED_TRACE(file.toStdString());
        const SubscriberText s = readSubscriberText(textFileLines(file));
        EXPECT_EQ(QStringList({s.Ekouza1, s.Ekouza2, s.Ekouza3, s.Ekanyu}).join(u'|'),
                  QString::fromUtf8(fields));
    }
}

TEST(TextImport, PayerFileTakesFirstMiddleAndLastLines)
{
    const ImportCase cases[] = {
        {"〒１２３－４５６７\n東京都千代田区１－２\n山田太郎\n03-123-456\n",
         "〒123-4567|東京都千代田区１－２\r\n山田太郎|03|123|456"},
        {"100-0001\n東京都\n0312345678", "100-0001|東京都|0312345678||"},
        // Two lines: three empty lines appended, the telephone becomes an address line.
        {"100-0001\n03-123-456\n", "100-0001|03-123-456\r\n\r\n|||"},
        // An empty last line is the telephone; the line above it an address line.
        {"100-0001\n東京都\n03-123-456\n\n", "100-0001|東京都\r\n03-123-456|||"},
        {"", "||||"},
    };
    for (const auto& [file, fields] : cases) {
        SCOPED_TRACE(file.toStdString());
        const PayerText p = readPayerText(textFileLines(file));
        EXPECT_EQ(QStringList({p.Ezip, p.Maddres, p.Etele1, p.Etele2, p.Etele3}).join(u'|'),
                  QString::fromUtf8(fields));
    }
}

} // namespace
} // namespace nobrisa
