#include "preview/emfwriter.h"

#include "preview/emfreader.h"

#include <gtest/gtest.h>

#include <vector>

namespace nobrisa {
namespace {

TEST(EmfWriterTest, RoundTripKeepsHeaderRecordsAndUtf16Texts)
{
    // A slip of 180 × 114 mm at 1200 dpi: 8503 × 5385 pixels.
    EmfWriter w(8503, 5385, 1200, QStringLiteral("Hakuno"), QStringLiteral("ZENTORA.exe"));
    w.setBkModeTransparent();
    w.selectObject(w.createPen(EmfWriter::PenStyle::Solid, 1, QColor(0, 0, 255)));
    const int brush = w.createBrush(Qt::white, true);
    w.selectObject(brush);
    w.selectObject(w.createFont({-100, 400, false, 128, QStringLiteral("ＭＳ ゴシック")}));
    w.rectangle(40, 120, 1210, 700);
    w.moveTo(90, 150);
    w.lineTo(90, 230);
    w.extTextOut(100, 200, QStringLiteral("加入者"), {100, 100, 98});
    w.extTextOut(300, 200, QStringLiteral("ﾅｶﾐｷ"), {}, DeviceRect{280, 190, 400, 260});
    w.deleteObject(brush);
    w.deleteObject(brush); // already free: nothing written
    EXPECT_EQ(w.createPen(EmfWriter::PenStyle::Dot, 1, Qt::red), 2); // the lowest free slot

    const EmfFile f = readEmf(w.bytes());
    ASSERT_TRUE(f.error.isEmpty()) << f.error.toStdString();
    EXPECT_EQ(f.description, QStringLiteral("Hakuno") + QChar(0) + QStringLiteral("ZENTORA.exe") +
                                 QChar(0) + QChar(0));
    EXPECT_EQ(std::vector<int>(f.bounds, f.bounds + 4), (std::vector<int>{0, 0, 8502, 5384}));
    // 8503 / 1200 in × 2540 = 17998.4, 5385 / 1200 in × 2540 = 11398.3 hundredths of a mm.
    EXPECT_EQ(std::vector<int>(f.frame, f.frame + 4), (std::vector<int>{0, 0, 17998, 11398}));
    EXPECT_EQ(f.millimetres[0], 180);
    EXPECT_EQ(f.millimetres[1], 114);
    EXPECT_EQ(f.handleCount, 4); // the metafile's own slot 0 and three objects

    struct Expected {
        quint32 type;
        std::vector<int> fields;
    };
    const std::vector<Expected> table = {
        {1, {}},
        {18, {1}},
        {38, {1, 0, 1, 0, 0xFF0000}},
        {37, {1}},
        {39, {2, 1, 0xFFFFFF}},
        {37, {2}},
        {82, {3, -100}},
        {37, {3}},
        {43, {40, 120, 1210, 700}},
        {27, {90, 150}},
        {54, {90, 230}},
        {84, {}},
        {84, {}},
        {40, {2}},
        {38, {2, 2, 1, 0, 0xFF}},
        {14, {}},
    };
    ASSERT_EQ(f.records.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f.records[i].type, table[i].type);
        for (size_t k = 0; k < table[i].fields.size(); ++k)
            EXPECT_EQ(f.records[i].field(static_cast<int>(k)), table[i].fields[k]) << "field " << k;
    }

    const EmfFontInfo font = emfFont(*f.withType(82).at(0));
    EXPECT_EQ(font.charset, 128);
    EXPECT_EQ(font.face, QStringLiteral("ＭＳ ゴシック"));
    const auto texts = f.withType(84);
    const EmfText name = emfText(*texts.at(0));
    EXPECT_EQ(name.text, QStringLiteral("加入者"));
    EXPECT_EQ(name.x, 100);
    EXPECT_EQ(name.advances, (std::vector<int>{100, 100, 98}));
    const EmfText kana = emfText(*texts.at(1));
    EXPECT_EQ(kana.text, QStringLiteral("ﾅｶﾐｷ"));
    EXPECT_TRUE(kana.advances.empty());
    EXPECT_EQ(texts.at(0)->field(11), 0); // options: not clipped
    EXPECT_EQ(texts.at(1)->field(11), 4); // ETO_CLIPPED, to this rectangle:
    EXPECT_EQ((std::vector<int>{texts.at(1)->field(12), texts.at(1)->field(13),
                                texts.at(1)->field(14), texts.at(1)->field(15)}),
              (std::vector<int>{280, 190, 400, 260}));
}

} // namespace
} // namespace nobrisa
