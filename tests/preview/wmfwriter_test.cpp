#include "preview/wmfwriter.h"

#include "preview/wmfreader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace nobrisa {
namespace {

// A slip of 180 × 114 mm at 1200 dpi: 8503 × 5385 pixels.
WmfWriter smallPicture()
{
    WmfWriter w(8503, 5385, 1200);
    w.setWindowOrg(0, 0);
    w.setWindowExt(8503, 5385);
    w.setBkModeTransparent();
    w.setTextColor(Qt::black);
    w.setTextAlign(WmfWriter::TextAlign::TopLeft);
    w.selectObject(w.createPen(WmfWriter::PenStyle::Solid, 1, QColor(0, 0, 255)));
    const int brush = w.createBrush(Qt::white, true);
    w.selectObject(brush);
    w.selectObject(w.createFont({-100, 700, false, 128, QStringLiteral("ＭＳ ゴシック")}));
    w.rectangle(40, 120, 1210, 40000); // beyond 16 bits: clamped
    w.moveTo(90, 150);
    w.lineTo(90, -40000);
    w.extTextOut(100, 200, QStringLiteral("加入者A"), {100, 100, 98, 50}); // 7 bytes: padded
    w.extTextOut(300, -5, QStringLiteral("ﾅｶﾐｷ"), {}, DeviceRect{280, -20, 400, 10});
    w.deleteObject(brush);
    w.selectObject(w.createPen(WmfWriter::PenStyle::Dot, 2, Qt::red)); // reuses the brush's slot
    w.deleteObject(7); // no such object: nothing written
    return w;
}

TEST(WmfWriterTest, PlaceableHeaderAndChecksumAreByteExact)
{
    // Key D7 CD C6 9A, handle 0, box (0, 0, 8503 = 0x2137, 5385 = 0x1509), 1200 = 0x04B0 units
    // per inch, reserved 0. Checksum: 0xCDD7 ^ 0x9AC6 = 0x5711; ^ 0x2137 = 0x7626;
    // ^ 0x1509 = 0x632F; ^ 0x04B0 = 0x679F.
    const QByteArray expected(
        "\xD7\xCD\xC6\x9A\0\0\0\0\0\0\x37\x21\x09\x15\xB0\x04\0\0\0\0\x9F\x67", 22);
    const QByteArray bytes = smallPicture().bytes();
    EXPECT_EQ(bytes.left(22).toHex(' '), expected.toHex(' '));
    // Metafile header: on disk, 9 words, version 0x0300.
    EXPECT_EQ(bytes.mid(22, 6).toHex(' '), QByteArray("01 00 09 00 00 03"));
}

TEST(WmfWriterTest, RoundTripKeepsRecordsCoordinatesAndTexts)
{
    const WmfFile f = readWmf(smallPicture().bytes());
    ASSERT_TRUE(f.error.isEmpty()) << f.error.toStdString();
    EXPECT_EQ(f.right, 8503);
    EXPECT_EQ(f.bottom, 5385);
    EXPECT_EQ(f.unitsPerInch, 1200);
    EXPECT_EQ(f.objectCount, 3);          // pen, brush, font; the dotted pen took slot 1 again
    EXPECT_EQ(f.largestRecordWords, 28u); // the font with its 32-byte face name

    struct Expected {
        quint16 function;
        std::vector<int> words;
    };
    const std::vector<Expected> table = {
        {0x020B, {0, 0}},
        {0x020C, {5385, 8503}},
        {0x0102, {1}},
        {0x0209, {0, 0}},
        {0x012E, {0}},
        {0x02FA, {0, 1, 0, 0, 0xFF}},
        {0x012D, {0}},
        {0x02FC, {1, -1, 0xFF, 0}},
        {0x012D, {1}},
        {0x02FB, {-100, 0, 0, 0, 700}},
        {0x012D, {2}},
        {0x041B, {32767, 1210, 120, 40}},
        {0x0214, {150, 90}},
        {0x0213, {-32767, 90}},
        {0x0A32, {200, 100, 7, 0}},                   // 3 + 4 + 4 + 7 words
        {0x0A32, {-5, 300, 4, 4, 280, -20, 400, 10}}, // clipped
        {0x01F0, {1}},
        {0x02FA, {2, 2, 0, 0xFF, 0}},
        {0x012D, {1}},
        {0x0000, {}},
    };
    ASSERT_EQ(f.records.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f.records[i].function, table[i].function);
        for (size_t k = 0; k < table[i].words.size(); ++k)
            EXPECT_EQ(f.records[i].word(static_cast<int>(k)), table[i].words[k]) << "word " << k;
    }

    const WmfFontInfo font = wmfFont(*f.withFunction(0x02FB).at(0));
    EXPECT_EQ(font.charset, 128);
    EXPECT_EQ(font.face, QStringLiteral("ＭＳ ゴシック"));
    const auto texts = f.withFunction(0x0A32);
    EXPECT_EQ(wmfText(*texts.at(0)).text, QStringLiteral("加入者A"));
    EXPECT_EQ(texts.at(0)->params.size(), 8 + 8 + 14); // parameters, padded text, spacing
    EXPECT_EQ(wmfText(*texts.at(0)).dx, (std::vector<int>{100, 0, 100, 0, 98, 0, 50}));
    EXPECT_TRUE(wmfText(*texts.at(1)).dx.empty());
    EXPECT_EQ(wmfText(*texts.at(1)).text, QStringLiteral("ﾅｶﾐｷ"));
    EXPECT_EQ(wmfText(*texts.at(1)).y, -5);
}

TEST(WmfWriterTest, SaveWritesTheBytesOrNamesTheFileItCouldNotWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZENTORA.wmf"));
    QString error;
    ASSERT_TRUE(smallPicture().save(path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The golden file holds the bytes LibreOffice was seen to open: any change shows here.
    QFile golden(QStringLiteral(NOBRISA_TEST_DATA "/wmf/small_picture.wmf"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toHex(' ').toStdString(), golden.readAll().toHex(' ').toStdString());

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/x.wmf"));
    EXPECT_FALSE(smallPicture().save(missing, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("x.wmf"))) << error.toStdString();
}

} // namespace
} // namespace nobrisa
