#include "preview/emfreader.h"
#include "preview/emfwriter.h"
#include "preview/wmfreader.h"
#include "preview/wmfwriter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace nobrisa {
namespace {

// A slip of 180 × 114 mm at 1200 dpi, 8503 × 5385 pixels, drawn the same on both writers. The
// WMF's bytes are those of tests/data/wmf/small_picture.wmf, which LibreOffice was seen to open.
template <class Writer> Writer smallPicture(Writer w)
{
    if constexpr (std::is_same_v<Writer, WmfWriter>) {
        w.setWindowOrg(0, 0);
        w.setWindowExt(8503, 5385);
    }
    w.setBkModeTransparent();
    w.setTextColor(Qt::black);
    w.setTextAlign(WmfWriter::TextAlign::TopLeft);
    w.selectObject(w.createPen(WmfWriter::PenStyle::Solid, 1, QColor(0, 0, 255)));
    const int brush = w.createBrush(Qt::white, true);
    w.selectObject(brush);
    w.selectObject(w.createFont({-100, 700, false, 128, QStringLiteral("ＭＳ ゴシック")}));
    w.rectangle(40, 120, 1210, 40000); // beyond 16 bits: clamped in the WMF
    w.moveTo(90, 150);
    w.lineTo(90, -40000);
    w.extTextOut(100, 200, QStringLiteral("加入者A"), {100, 100, 98, 50}); // 7 CP932 bytes
    w.extTextOut(300, -5, QStringLiteral("ﾅｶﾐｷ"), {}, DeviceRect{280, -20, 400, 10});
    w.deleteObject(brush);
    w.selectObject(w.createPen(WmfWriter::PenStyle::Dot, 2, Qt::red)); // in the brush's slot
    w.deleteObject(7); // no such object: nothing written
    return w;
}

TEST(MetafileWriters, BothFormatsRecordTheSamePicture)
{
    const QByteArray wmfBytes = smallPicture(WmfWriter(8503, 5385, 1200)).bytes();
    const WmfFile wmf = readWmf(wmfBytes);
    const EmfFile emf = readEmf(
        smallPicture(EmfWriter(8503, 5385, 1200, QStringLiteral("Hakuno"), QStringLiteral("Z.exe")))
            .bytes());
    ASSERT_EQ(wmf.error + emf.error, QString());

    const QString records = QStringLiteral(
        "bk 1|textcolor #000000|align 0|pen 0 1 #0000ff|select 0|brush 1 #ffffff|"
        "select 1|font -100 700 128 ＭＳ ゴシック|select 2|rect 40 120 1210 %1|"
        "move 90 150|line 90 -%1|text 100 200 加入者A|"
        "text 300 -5 ﾅｶﾐｷ clip 280 -20 400 10|delete 1|pen 2 2 #ff0000|select 1|end");
    EXPECT_EQ(wmf.records, ("org 0 0|ext 8503 5385|" + records.arg(32767)).split(u'|'));
    EXPECT_EQ(emf.records, records.arg(40000).split(u'|'));
    EXPECT_EQ(wmf.dx, (std::vector<std::vector<int>>{{100, 0, 100, 0, 98, 0, 50}, {}}));
    EXPECT_EQ(emf.advances, (std::vector<std::vector<int>>{{100, 100, 98, 50}, {}}));

    // Placeable header: key, box (0, 0, 8503, 5385), 1200 per inch, checksum 0x679F.
    EXPECT_EQ(wmfBytes.left(22).toHex(' '), "d7 cd c6 9a 00 00 00 00 00 00 37 21 09 15 b0 04 "
                                            "00 00 00 00 9f 67");
    EXPECT_EQ(std::tuple(wmf.width, wmf.height, wmf.unitsPerInch, wmf.objectCount),
              std::tuple(8503, 5385, 1200, 3));
    EXPECT_EQ(wmf.largestRecordWords, 28) << "the font with its 32-byte face name";
    QFile golden(QStringLiteral(NOBRISA_TEST_DATA "/wmf/small_picture.wmf"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(wmfBytes.toHex(' ').toStdString(), golden.readAll().toHex(' ').toStdString());

    // 8503 / 1200 in = 17998.4 and 5385 / 1200 in = 11398.3 hundredths of a millimetre.
    EXPECT_EQ(emf.description, QStringLiteral("Hakuno%1Z.exe%1%1").arg(QChar(0)));
    EXPECT_EQ(emf.bounds, (std::vector<int>{0, 0, 8502, 5384}));
    EXPECT_EQ(emf.frame, (std::vector<int>{0, 0, 17998, 11398}));
    EXPECT_EQ(emf.millimetres, (std::vector<int>{180, 114}));
    EXPECT_EQ(emf.createdSlots, (std::vector<int>{1, 2, 3, 2}));
    EXPECT_EQ(emf.handleCount, 4) << "slot 0 is the metafile itself";

    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(smallPicture(WmfWriter(10, 10, 600)).save(dir.filePath("no/x.wmf"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("x.wmf"))) << error.toStdString();
}

// A character CP932 lacks is one '?' with one spacing entry, a surrogate pair as much as a lone
// surrogate, whatever stands next to it.
TEST(MetafileWriters, WmfTextWritesEachMissingCharacterOnce)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    const struct {
        QString text;
        QString written;
        std::vector<int> dx;
    } cases[] = {
        {QString(high) + low, "?", {50}},
        {QString(high) + u'A', "?A", {10, 20}},
        {QString(high) + high + low, "??", {10, 50}},
        {QString(high) + high + low + low, "???", {10, 50, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written.toStdString());
        std::vector<int> advances;
        for (qsizetype i = 0; i < c.text.size(); ++i)
            advances.push_back(c.text[i] == u'A' ? 20 : c.text[i] == high ? 10 : 40);
        WmfWriter w(100, 100, 600);
        w.extTextOut(1, 2, c.text, advances);
        const WmfFile wmf = readWmf(w.bytes());
        ASSERT_EQ(wmf.error, QString());
        EXPECT_EQ(wmf.records.filter(QStringLiteral("text ")),
                  QStringList{QStringLiteral("text 1 2 ") + c.written});
        EXPECT_EQ(wmf.dx, std::vector<std::vector<int>>{c.dx});
    }
}

} // namespace
} // namespace nobrisa
