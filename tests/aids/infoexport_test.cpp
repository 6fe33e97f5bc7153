#include "aids/infoexport.h"
#include "model/tsliprecord.h"
#include "text/encoding.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

// Both formats byte for byte, CP932 without a byte-order mark.
TEST(InfoExport, BothFormatsByteForByte)
{
    const QLocale saved; // the weekday is Japanese whatever the desktop's language
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString date = exportDateText(QDate(2026, 12, 9));
    QLocale::setDefault(saved);
    ASSERT_EQ(date, "2026年12月9日(水)");

    TSlipRecord full;
    full.Ekouza1 = "00120";
    full.Ekouza2 = "6";
    full.Ekouza3 = "12345";
    full.Ekanyu = "山田商店\r\n本店";
    full.Ezip = "100-0001";
    full.Maddres = "東京都\r\n山田太郎";
    full.Etele1 = "03";
    full.Etele2 = "1234";
    full.Etele3 = "5678";
    full.MemoTsuushin = "会費\r\n2026年度";
    full.MaddresR = "山田太郎";
    full.SEkingaku.setText("35000");
    TSlipRecord empty;
    empty.SEkingaku.setText({});
    TSlipRecord odd = empty; // a '?' of the text itself is not a replaced character
    odd.Ekanyu = "\"山田\",商店?😀é";

    const std::tuple<const TSlipRecord&, const char*, const char*, int> cases[] = {
        {full,
         "00120\r\n6\r\n12345\r\n山田商店\r\n本店\r\n35000\r\n100-0001\r\n東京都\r\n山田太郎\r\n"
         "03\r\n1234\r\n5678\r\n会費\r\n2026年度\r\n山田太郎\r\n2026年12月9日(水)\r\n",
         "\"00120-6-12345\",\"山田商店  本店\",\"35000\",\"100-0001\",\"東京都  山田太郎\","
         "\"03-1234-5678\",\"会費  2026年度\",\"山田太郎\",\"2026年12月9日(水)\"\r\n",
         0},
        {empty, "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2026年12月9日(水)\r\n",
         "\"--\",\"\",\"\",\"\",\"\",\"--\",\"\",\"\",\"2026年12月9日(水)\"\r\n", 0},
        {odd,
         "\r\n\r\n\r\n\"山田\",商店???\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2026年12月9日(水)\r\n",
         "\"--\",\"\"\"山田\"\",商店???\",\"\",\"\",\"\",\"--\",\"\",\"\",\"2026年12月9日(水)"
         "\"\r\n",
         2},
    };
    for (const auto& [slip, text, csv, replaced] : cases) {
        SCOPED_TRACE(csv);
        const ExportBytes t = exportBytes(ExportFormat::Text, slip, date);
        const ExportBytes c = exportBytes(ExportFormat::Csv, slip, date);
        EXPECT_EQ(t.bytes, encodeCp932(QString::fromUtf8(text)));
        EXPECT_EQ(c.bytes, encodeCp932(QString::fromUtf8(csv)));
        EXPECT_EQ(t.replaced, replaced);
        EXPECT_EQ(c.replaced, replaced);
    }
}

} // namespace
} // namespace nobrisa
