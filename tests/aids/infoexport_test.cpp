#include "aids/infoexport.h"
#include "model/tsliprecord.h"
#include "text/encoding.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

TEST(InfoExport, DateHasTheJapaneseWeekdayWhateverTheDefaultLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(exportDateText(QDate(2026, 12, 9)), QStringLiteral("2026年12月9日(水)"));
    QLocale::setDefault(saved);
}

TEST(InfoExport, BothFormatsByteForByte)
{
    const QString date = QStringLiteral("2026年12月9日(水)");
    TSlipRecord full;
    full.Ekouza1 = QStringLiteral("00120");
    full.Ekouza2 = QStringLiteral("6");
    full.Ekouza3 = QStringLiteral("12345");
    full.Ekanyu = QStringLiteral("山田商店\r\n本店");
    full.SEkingaku.setText(QStringLiteral("35000"));
    full.Ezip = QStringLiteral("100-0001");
    full.Maddres = QStringLiteral("東京都\r\n山田太郎");
    full.Etele1 = QStringLiteral("03");
    full.Etele2 = QStringLiteral("1234");
    full.Etele3 = QStringLiteral("5678");
    full.MemoTsuushin = QStringLiteral("会費\r\n2026年度");
    full.MaddresR = QStringLiteral("山田太郎");

    TSlipRecord empty;
    empty.SEkingaku.setText({});

    TSlipRecord quoted = empty;
    quoted.Ekanyu = QStringLiteral("\"山田\",商店");

    struct Case {
        const char* what;
        const TSlipRecord& slip;
        const char* text;
        const char* csv;
    };
    const Case cases[] = {
        {"two-line name: fourteen lines, the amount on the sixth", full,
         "00120\r\n6\r\n12345\r\n山田商店\r\n本店\r\n35000\r\n100-0001\r\n東京都\r\n山田太郎\r\n"
         "03\r\n1234\r\n5678\r\n会費\r\n2026年度\r\n山田太郎\r\n2026年12月9日(水)\r\n",
         "\"00120-6-12345\",\"山田商店  本店\",\"35000\",\"100-0001\",\"東京都  山田太郎\","
         "\"03-1234-5678\",\"会費  2026年度\",\"山田太郎\",\"2026年12月9日(水)\"\r\n"},
        {"all empty", empty,
         "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2026年12月9日(水)\r\n",
         "\"--\",\"\",\"\",\"\",\"\",\"--\",\"\",\"\",\"2026年12月9日(水)\"\r\n"},
        {"double quotes doubled", quoted,
         "\r\n\r\n\r\n\"山田\",商店\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2026年12月9日(水)\r\n",
         "\"--\",\"\"\"山田\"\",商店\",\"\",\"\",\"\",\"--\",\"\",\"\",\"2026年12月9日(水)\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ExportBytes text = exportBytes(ExportFormat::Text, c.slip, date);
        const ExportBytes csv = exportBytes(ExportFormat::Csv, c.slip, date);
        EXPECT_EQ(decodeCp932(text.bytes), QString::fromUtf8(c.text));
        EXPECT_EQ(decodeCp932(csv.bytes), QString::fromUtf8(c.csv));
        EXPECT_EQ(text.replaced + csv.replaced, 0);
    }
    // CP932 without a byte-order mark: 山 is 8E 52.
    EXPECT_TRUE(exportBytes(ExportFormat::Csv, full, date)
                    .bytes.startsWith("\"00120-6-12345\",\"\x8E\x52"));
}

TEST(InfoExport, CharactersOutsideCp932BecomeQuestionMarksAndAreCounted)
{
    TSlipRecord slip;
    slip.Ekanyu = QStringLiteral("山田?😀é");
    const ExportBytes csv = exportBytes(ExportFormat::Csv, slip, QStringLiteral("d"));
    EXPECT_EQ(csv.replaced, 2) << "a '?' of the text itself is not a replaced character";
    EXPECT_TRUE(csv.bytes.contains("\x8E\x52\x93\x63???\"")) << csv.bytes.toHex().toStdString();
}

} // namespace
} // namespace nobrisa
