#include "model/columnmapping.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/stringtable.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "render/drawslip.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

namespace nobrisa {
namespace {

using test::RecordingCanvas;
using Call = RecordingCanvas::Call;

// A 600-dpi printer whose printable area starts 100 pixels right of and 50 pixels below the
// paper's corner: different offsets on the two axes catch an x converted as a y.
class DrawSlipTest : public ::testing::Test {
protected:
    DrawSlipTest()
    {
        device.offsetX = 100;
        device.offsetY = 50;
        canvas.setFontPixelsPerInch(600);
    }

    void draw() { DrawSlip(canvas, SlipSource{slip, positions, device, cells}); }
    void drawRight() { DrawSlipRight(canvas, SlipSource{slip, positions, device, cells}); }

    int x(int mm) const { return mmx(mm, slip.ox(), device); }
    int y(int mm) const { return mmy(mm, slip.oy(), device); }
    DeviceRect rect(int l, int t, int r, int b) const { return {x(l), y(t), x(r), y(b)}; }

    FixedDevice device;
    RecordingCanvas canvas;
    TSlipRecord slip;
    TPrintPositions positions;
    DigitCells cells;
};

using test::Placed;
using test::placed;

TEST_F(DrawSlipTest, AccountDigitsLandInTheirCellsOnBothHalves)
{
    slip.CheckBox1 = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.CBfont1 = "OCRB";
    slip.SpinEditFont1.setText("12");
    draw();

    // Anchors in device pixels: 55 → 129 − 100, 170 → 401 − 50, 280 → 661 − 50.
    ASSERT_GE(canvas.textOuts().size(), 1u);
    EXPECT_EQ(canvas.textOuts()[0].x, 29);
    EXPECT_EQ(canvas.textOuts()[0].y, 351);

    const int r1 = 170, r2 = 280;
    const std::vector<Placed> expected = {
        {x(55), y(r1), "0"},   {x(106), y(r1), "0"},  {x(157), y(r1), "1"},
        {x(208), y(r1), "2"},  {x(259), y(r1), "0"},  {x(335), y(r1), "6"},
        {x(512), y(r1), "1"},  {x(563), y(r1), "2"},  {x(614), y(r1), "3"},
        {x(665), y(r1), "4"},  {x(716), y(r1), "5"},  {x(1377), y(r1), "0"},
        {x(1428), y(r1), "0"}, {x(1479), y(r1), "1"}, {x(1530), y(r1), "2"},
        {x(1581), y(r1), "0"}, {x(1658), y(r1), "6"}, {x(1530), y(r2), "1"},
        {x(1581), y(r2), "2"}, {x(1632), y(r2), "3"}, {x(1683), y(r2), "4"},
        {x(1734), y(r2), "5"},
    };
    EXPECT_EQ(placed(canvas.textOuts()), expected);
    for (const Call& c : canvas.textOuts()) {
        EXPECT_EQ(c.face, "OCRB");
        EXPECT_EQ(c.height, -100) << "12 pt at 600 dpi";
    }
}

TEST_F(DrawSlipTest, AmountDigitsFollowTheFirstRowLeftAndAFixedRowRight)
{
    slip.CheckBox2 = true;
    slip.SEkingaku.setText("1000");
    slip.SpinEditFont2.setText("10");
    positions.SEkouza1.setText("200");
    slip.SEtopbottom.setText("-10"); // 1 mm up, also for the fixed row
    draw();
    const std::vector<Placed> expected = {
        {x(1020), y(200), "1"}, {x(1071), y(200), "0"}, {x(1122), y(200), "0"},
        {x(1173), y(200), "0"}, {x(1581), y(490), "1"}, {x(1632), y(490), "0"},
        {x(1683), y(490), "0"}, {x(1734), y(490), "0"},
    };
    EXPECT_EQ(placed(canvas.textOuts()), expected);
    EXPECT_EQ(y(490), mmy(480, 0, device));
    EXPECT_EQ(canvas.textOuts()[0].height, -83) << "10 pt at 600 dpi";
}

TEST_F(DrawSlipTest, RowPositionsThatAreNoNumberReadAsZero)
{
    slip.CheckBox1 = true;
    slip.Ekouza2 = "6";
    positions.SEkouza1.setText("abc");
    draw();
    ASSERT_EQ(canvas.textOuts().size(), 2u);
    EXPECT_EQ(canvas.textOuts()[0].y, y(0));
}

TEST_F(DrawSlipTest, SubscriberNameOneLineCentredTwoLinesFromTheTop)
{
    slip.CheckBox1 = true;
    slip.Ekanyu = "加入者\r\n";
    slip.CBfont5 = "ＭＳ 明朝";
    slip.SEfont5.setText("18");
    slip.SEfont51.setText("16");
    draw();
    auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "加入者");
    EXPECT_EQ(texts[0].flags, 0x2835u);
    EXPECT_EQ(texts[0].rect, rect(110, 240, 740, 320));
    EXPECT_EQ(texts[0].height, -150);
    EXPECT_EQ(texts[1].rect, rect(1380, 350, 1740, 430));
    EXPECT_EQ(texts[1].height, -133);
    EXPECT_EQ(texts[1].face, "ＭＳ 明朝");

    canvas.calls.clear();
    slip.Ekanyu = "一行目\n二行目\n";
    draw();
    texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "一行目\r\n二行目");
    EXPECT_EQ(texts[0].flags, 0x2815u);
    EXPECT_EQ(slip.SEfont5.text(), "18") << "no write-back without automatic sizing";
}

TEST_F(DrawSlipTest, AutomaticNameSizeFitsEachBoxOnItsOwn)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.Ekanyu = "一行目\r\n二行目";
    positions.SEkanyuRtop.setText("330");
    draw();
    // "あ" at 100 pt is 1041 px high. Left box 190 px: 190 / 1041 × 100 / 2 = 9.13;
    // right box 236 px: 11.33.
    EXPECT_EQ(slip.SEfont5.text(), "9");
    EXPECT_EQ(slip.SEfont51.text(), "11");
    const auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].height, -75);
    EXPECT_EQ(texts[1].height, -92);
}

TEST_F(DrawSlipTest, AutomaticNameSizeShrinksForALongLine)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.Ekanyu = "短い\r\n一二三四五六七八九十一二";
    draw();
    // Two lines: 9 pt, 75 px em; the longest line is 12 × 75 = 900 px. Left box 1489 px wide:
    // fits. Right box 851 px: 9 × 851 / 900 = 8.5 → 8.
    EXPECT_EQ(slip.SEfont5.text(), "9");
    EXPECT_EQ(slip.SEfont51.text(), "8");
}

TEST_F(DrawSlipTest, AutomaticNameSizeWithNoNameDrawsNothingAndKeepsTheSizes)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.Ekanyu = "";
    slip.SEfont5.setText("20");
    slip.SEfont51.setText("abc");
    draw();
    EXPECT_EQ(slip.SEfont5.text(), "20");
    EXPECT_EQ(slip.SEfont51.text(), "abc");
    for (const Call& c : canvas.drawTexts())
        EXPECT_TRUE(c.text.isEmpty());
}

TEST_F(DrawSlipTest, PayerLeftDrawsPostalCodeTelephoneAndAddressBlock)
{
    slip.CheckBox4 = true;
    slip.CBfont4 = "IPAGothic";
    slip.Ezip = "123-4567";
    slip.Etele1 = "03";
    slip.Etele2 = "1234";
    slip.Etele3 = "5678";
    slip.Maddres = "東京都\r\n山田\r\n";
    slip.SEfont4.setText("11");
    positions.SEziptop.setText("abc");
    draw();
    const std::vector<Placed> expected = {
        {x(190), y(700), "123-4567"}, {x(400), y(860), "03"},
        {x(550), y(860), "1234"},     {x(700), y(860), "5678"},
    };
    EXPECT_EQ(placed(canvas.textOuts()), expected);
    for (const Call& c : canvas.textOuts())
        EXPECT_EQ(c.height, -75) << "postal code and telephone are always 9 pt";
    const auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "東京都\r\n山田");
    EXPECT_EQ(texts[0].rect, rect(130, 730, 800, 860));
    EXPECT_EQ(texts[0].flags, 0x2A50u);
    EXPECT_EQ(texts[0].height, -92);
    EXPECT_EQ(texts[0].face, "IPAGothic");
}

TEST_F(DrawSlipTest, AutomaticAddressSizeFillsTheBoxAndWritesNineAboveTwelve)
{
    slip.CheckBox4 = true;
    slip.CheckBoxfont4 = true;
    slip.Maddres = "東京都";
    draw();
    const DeviceRect box = rect(130, 730, 800, 860);
    auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].height, box.height()) << "one line: the cell height is the box height";
    EXPECT_EQ(slip.SEfont4.text(), "9") << "37 pt is written back as 9";

    // Three lines: 307 / 3 = 102 px cell, 12.24 pt → "12".
    canvas.calls.clear();
    slip.Maddres = "東京都\r\n千代田区\r\n山田";
    draw();
    texts = canvas.drawTexts();
    EXPECT_EQ(texts[0].height, 102);
    EXPECT_EQ(slip.SEfont4.text(), "12");
}

TEST_F(DrawSlipTest, AutomaticAddressSizeShrinksByWidth)
{
    slip.CheckBox4 = true;
    slip.CheckBoxfont4 = true;
    positions.SEharaiLright.setText("300"); // 401 px wide box
    slip.Maddres = "東京都千代田区";
    draw();
    // 307 px cell → 245 px em → 7 × 245 = 1715 px; 401 / 1715 × 307 = 71.78 → 71 px.
    EXPECT_EQ(canvas.drawTexts()[0].height, 71);
    EXPECT_EQ(slip.SEfont4.text(), "9"); // MulDiv(71, 72, 600) = 9
}

TEST_F(DrawSlipTest, RightPayerOneLineIsCentredOnlyWhenNarrowerThanTheBox)
{
    slip.CheckBox4R = true;
    slip.MaddresR = "一二三四五六七八九十一"; // 11 × 75 = 825 px at 9 pt
    positions.SEharaiRright.setText("1740");   // box 827 px wide
    draw();
    ASSERT_EQ(canvas.drawTexts().size(), 1u);
    EXPECT_EQ(canvas.drawTexts()[0].flags, 0x2A74u);
    EXPECT_EQ(canvas.drawTexts()[0].rect, rect(1390, 560, 1740, 770));

    canvas.calls.clear();
    positions.SEharaiRright.setText("1739"); // 824 px: the text is one pixel wider
    draw();
    EXPECT_EQ(canvas.drawTexts()[0].flags, 0x2A50u);

    canvas.calls.clear();
    positions.SEharaiRright.setText("1760");
    slip.MaddresR = "東京都\r\n山田";
    draw();
    EXPECT_EQ(canvas.drawTexts()[0].flags, 0x2A50u);
    EXPECT_EQ(canvas.drawTexts()[0].text, "東京都\r\n山田");
}

TEST_F(DrawSlipTest, RightPayerTakesTheFaceOfTheLastGroupDrawn)
{
    slip.CheckBox1 = true;
    slip.CheckBox4R = true;
    slip.CBfont5 = "IPAMincho";
    slip.CBfont4 = "IPAGothic";
    slip.Ekanyu = "加入者";
    slip.MaddresR = "山田";
    slip.SEfont41.setText("10");
    draw();
    auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].face, "IPAMincho");
    EXPECT_EQ(texts[2].height, -83);

    canvas.calls.clear();
    slip.CheckBox4 = true;
    draw();
    EXPECT_EQ(canvas.drawTexts().back().face, "IPAGothic");
}

TEST_F(DrawSlipTest, MessageColumnUsesItsBoxAndFallsBackForBadPositions)
{
    slip.CheckBox3 = true;
    slip.MemoTsuushin = "会費\tとして & 寄付";
    slip.CBfont3 = "IPAMincho";
    slip.SEfont3.setText("x");
    positions.SEtsushinBottom.setText("");
    draw();
    const auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rect, rect(110, 350, 1190, 680));
    EXPECT_EQ(texts[0].flags, 0x2A50u);
    EXPECT_EQ(texts[0].height, -83) << "size fallback 10 pt";
    EXPECT_EQ(texts[0].text, slip.MemoTsuushin);
}

TEST_F(DrawSlipTest, EmptyFacesFallBackPerGroup)
{
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = true;
    slip.Ekouza1 = "1";
    slip.Ekanyu = "a";
    slip.MemoTsuushin = "m";
    draw();
    EXPECT_EQ(canvas.textOuts().front().face, "OCRB");
    EXPECT_EQ(canvas.drawTexts().front().face, "ＭＳ ゴシック");
    EXPECT_EQ(canvas.drawTexts().back().face, "ＭＳ 明朝");
}

TEST_F(DrawSlipTest, AllSwitchesOffDrawsNothingButRefillsTheCells)
{
    slip.Ekouza1 = "12345";
    slip.Maddres = "x";
    draw();
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(cells[5], "5");
    EXPECT_TRUE(canvas.bkTransparent());
}

TEST_F(DrawSlipTest, RightHalfDrawsNoLeftHalfItem)
{
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.CheckBoxfont4 = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "加入者";
    slip.Ezip = "123-4567";
    slip.Etele1 = "03";
    slip.Maddres = "東京都";
    slip.MaddresR = "山田";
    slip.MemoTsuushin = "通信";
    drawRight();
    const int rightEdge = x(1377);
    for (const Call& c : canvas.textOuts())
        EXPECT_GE(c.x, rightEdge) << c.text.toStdString();
    const auto texts = canvas.drawTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rect, rect(1380, 350, 1740, 430));
    EXPECT_EQ(texts[1].text, "山田");
    EXPECT_EQ(slip.SEfont4.text(), "37") << "the right half writes the size without the 9 rule";
}

TEST_F(DrawSlipTest, RightHalfFitsBothNameBoxesAndInheritsTheNameFace)
{
    slip.CheckBox1 = slip.CheckBox4R = true;
    slip.CheckBoxfont5 = true;
    slip.CBfont5 = "IPAMincho";
    slip.Ekanyu = "一行目\r\n二行目";
    slip.MaddresR = "山田";
    positions.SEkanyuRtop.setText("330");
    drawRight();
    EXPECT_EQ(slip.SEfont5.text(), "9");
    EXPECT_EQ(slip.SEfont51.text(), "11");
    EXPECT_EQ(canvas.drawTexts().back().face, "IPAMincho");
}

// Fits whose exact result is a whole number. In double the quotient lands a hair off it and
// truncates to the neighbouring size; the fitting computes in the same extended precision as
// the positions, and these are the sizes that gives (found by search over boxes and texts).
// The name box starts at (110, 240), the address box at (130, 730); the text's first line is
// `wide` full-width and `narrow` half-width characters, a second line is shorter.
TEST_F(DrawSlipTest, FittingTruncatesInExtendedPrecision)
{
    struct Case {
        int ppi;
        bool address;
        int right, bottom, wide, narrow, lines;
        const char* written; // SEfont5 or SEfont4 afterwards
        int height;          // the font height the text is drawn with
    };
    const Case cases[] = {
        // "あ" is 1250 px high at 100 pt, the box 725 px: 725 / 1250 × 100 / 2 = 29.
        {720, false, 740, 496, 3, 0, 2, "29", -290},
        {720, false, 740, 496, 3, 0, 1, "58", -580},
        // 21 pt, 8 × 175 px in a 1000 px box: 21 × (1000 / 1400) = 15 less a hair.
        {600, false, 533, 333, 8, 0, 1, "14", -117},
        // 22 pt, 18 × 183 + 2 × 91 = 3476 px in 2370 px: 22 × (2370 / 3476) = 15 exactly.
        {600, false, 1113, 337, 18, 2, 1, "15", -125},
        // Two lines of 75 px cells, 660 px in 484 px: 484 / 660 × 75 = 55, 7 pt.
        {600, true, 335, 794, 11, 0, 2, "7", 55},
        // 750 px in 630 px: 630 / 750 × 75 = 63 less a hair, so 62 px and 7 pt, not 8.
        {600, true, 397, 794, 11, 3, 2, "7", 62},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.address ? "address to " : "name to ") << c.right << ", " << c.bottom);
        slip = TSlipRecord{};
        canvas.calls.clear();
        device.logPixelsX = device.logPixelsY = c.ppi;
        canvas.setFontPixelsPerInch(c.ppi);
        QString text = QString(c.wide, QChar(u'一')) + QString(c.narrow, QChar(u'a'));
        if (c.lines == 2)
            text += QStringLiteral("\r\n短");
        if (c.address) {
            slip.CheckBox4 = slip.CheckBoxfont4 = true;
            slip.Maddres = text;
            positions.SEharaiLright.setText(QString::number(c.right));
            positions.SEharaiLbottom.setText(QString::number(c.bottom));
        } else {
            slip.CheckBox1 = slip.CheckBoxfont5 = true;
            slip.Ekanyu = text;
            positions.SEkanyuLright.setText(QString::number(c.right));
            positions.SEkanyuLbottom.setText(QString::number(c.bottom));
        }
        draw();
        EXPECT_EQ((c.address ? slip.SEfont4 : slip.SEfont5).text().toStdString(), c.written);
        ASSERT_FALSE(canvas.drawTexts().empty());
        EXPECT_EQ(canvas.drawTexts()[0].height, c.height);
    }
}

TEST_F(DrawSlipTest, DigitRowsAreTheWholeNumbersAsTheFileHoldsThem)
{
    slip.CheckBox1 = true;
    slip.Ekouza1 = "1";
    slip.Ekouza3 = "2";
    for (const char* row : {"-50", "12000"}) {
        SCOPED_TRACE(row);
        canvas.calls.clear();
        positions.SEkouza1.setText(row);
        positions.SEkouza2.setText(row);
        draw();
        const auto outs = canvas.textOuts();
        ASSERT_EQ(outs.size(), 4u);
        for (const Call& c : outs)
            EXPECT_EQ(c.y, y(QString::fromUtf8(row).toInt())) << "not clamped to 0 to 10000";
    }
}

TEST_F(DrawSlipTest, AutomaticNameSizeOfAnUpsideDownBoxKeepsTheCanvasSign)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.Ekanyu = "加入者";
    positions.SEkanyuLtop.setText("320");
    positions.SEkanyuLbottom.setText("240");
    draw();
    // −189 / 1041 × 100 = −18 pt, read back negative and set through the box: its minimum.
    EXPECT_EQ(slip.SEfont5.text(), "1");
    EXPECT_EQ(slip.SEfont51.text(), "18");
}

TEST_F(DrawSlipTest, FontSizesTooLargeForMulDivGiveTheOnePixelFontOfGdi)
{
    slip.CheckBox1 = true;
    slip.Ekouza1 = "1";
    // MulDiv overflows to −1 past 257698037 pt, the largest size whose height fits.
    for (const auto& [size, height] : {std::pair{"2147483647", 1},
                                       {"-2147483647", 1},
                                       {"257698038", 1},
                                       {"257698037", -2147483642}}) {
        canvas.calls.clear();
        slip.SpinEditFont1.setText(size);
        draw();
        ASSERT_FALSE(canvas.textOuts().empty());
        EXPECT_EQ(canvas.textOuts()[0].height, height) << size;
    }
}

// Every value a setting file can hold, in every position, adjustment and size at once: the
// renderers stay within defined arithmetic and every device coordinate within the safe range.
TEST_F(DrawSlipTest, ExtremeValuesDrawWithinTheDeviceLimit)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    StringTable table(6, 2);
    table.setRow(1, {"1", "100-0001", "東京都", "千代田区", "山田", "03-1234-5678"});
    ColumnMapping mapping;
    mapping.fill(6);
    const auto inRange = [](int v) { return std::abs(v) <= kDeviceCoordinateLimit; };
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "加入者\r\n二行目";
    slip.Etele3 = "5678"; // 300 to the right of the anchor
    slip.Maddres = "東京都千代田区\r\n山田";
    slip.MaddresR = "山田";
    slip.MemoTsuushin = "通信";
    for (const int v : {kMax, -kMax, kMin, 909000000, -909000000}) {
        // Every entry at v without fitting, then with fitting and signs alternating so that
        // boxes span the whole range.
        for (const bool alternate : {false, true}) {
            SCOPED_TRACE(testing::Message() << v << (alternate ? " alternating" : ""));
            slip.CheckBoxfont4 = slip.CheckBoxfont5 = alternate;
            int i = 0;
            const auto next = [&] {
                return QString::number(alternate && i++ % 2 ? -std::int64_t{v} : v);
            };
            for (const auto& e : TPrintPositions::entries())
                (positions.*e.field).setText(next());
            for (NumberText* n :
                 {&slip.SEleftright, &slip.SEtopbottom, &slip.SpinEditFont1, &slip.SpinEditFont2,
                  &slip.SEfont5, &slip.SEfont51, &slip.SEfont3, &slip.SEfont4, &slip.SEfont41})
                n->setText(next());
            canvas.calls.clear();
            draw();
            drawRight();
            DrawSlipRow(canvas, SlipSource{slip, positions, device, cells},
                        RowSource{table, mapping, 1});
            ASSERT_FALSE(canvas.calls.empty());
            for (const Call& c : canvas.calls) {
                const DeviceRect& r = c.rect;
                EXPECT_TRUE(inRange(c.x) && inRange(c.y) && inRange(r.left) && inRange(r.top) &&
                            inRange(r.right) && inRange(r.bottom))
                    << c.text.toStdString();
            }
        }
    }
}

} // namespace
} // namespace nobrisa
