#include "model/columnmapping.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/stringtable.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "render/drawslip.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

using test::RecordingCanvas;
using Call = RecordingCanvas::Call;
using test::Placed;
using test::placed;

// Columns of the test table under the default mapping: 1 postal code, 2 address 1, 3 address 2,
// 4 name, 5 telephone; 6 holds amounts, 7 to 10 message lines for the tests that select them.
constexpr int kColumns = 11;

// The same fake 600-dpi printer as the full-slip tests: offsets 100 and 50 pixels.
class DrawRowTest : public ::testing::Test {
protected:
    DrawRowTest() : table(kColumns, 4)
    {
        device.offsetX = 100;
        device.offsetY = 50;
        canvas.setFontPixelsPerInch(600);
        table.setRow(1, {"1", " 100-0001 ", "東京都", "", "山田", "03-1234-5678", "1,000",
                         "一", "二", "三", "四"});
        table.setRow(2, {"2", "", "", "x", "\t佐藤\t", "", "12345678"});
        mapping.fill(7); // the defaults of a 7-column table: message lines 2-4 on "(通信欄)"
    }

    void draw(int row)
    {
        canvas.calls.clear();
        DrawSlipRow(canvas, SlipSource{slip, positions, device, cells},
                    RowSource{table, mapping, row});
    }

    int x(int mm) const { return mmx(mm, slip.ox(), device); }
    int y(int mm) const { return mmy(mm, slip.oy(), device); }
    DeviceRect rect(int l, int t, int r, int b) const { return {x(l), y(t), x(r), y(b)}; }
    static int pt(int points) { return -mulDiv(points, 600, 72); }

    DeviceRect addressBox() const { return rect(130, 730, 800, 860); }
    DeviceRect rightPayerBox() const { return rect(1390, 560, 1760, 770); }
    DeviceRect messageBox() const { return rect(110, 350, 1190, 680); }

    const Call* drawTextIn(const DeviceRect& box) const
    {
        for (const Call& c : canvas.calls)
            if (c.kind == Call::Kind::DrawText && c.rect == box)
                return &c;
        return nullptr;
    }

    // The amount digits as drawn: left half in row 170, right half in row 490.
    std::vector<Placed> amountDigits() const
    {
        std::vector<Placed> out;
        for (const Call& c : canvas.textOuts())
            if (c.y == y(170) || c.y == y(490))
                out.emplace_back(c.x, c.y, c.text);
        return out;
    }

    // The digits a right-aligned amount puts into cells first..21 of both halves.
    std::vector<Placed> amountAt(int firstCell, const QString& digits) const
    {
        std::vector<Placed> out;
        for (int row : {170, 490})
            for (int i = 0; i < digits.size(); ++i) {
                const int origin = row == 170 ? 820 : 1380;
                out.emplace_back(x(origin + 50 * (firstCell - 14 + i)), y(row), digits.mid(i, 1));
            }
        return out;
    }

    FixedDevice device;
    RecordingCanvas canvas;
    TSlipRecord slip;
    TPrintPositions positions;
    DigitCells cells;
    StringTable table;
    ColumnMapping mapping;
};

TEST_F(DrawRowTest, DataRowDrawsPayerAmountAndMessageWhateverTheSwitches)
{
    // Every print switch off: a row slip still has its amount, payer and message.
    slip.SEkingaku.setText("1000");
    slip.CBfont2 = "OCRB";
    slip.CBfont4 = "IPAGothic";
    slip.SEfont4.setText("11");
    slip.SEfont41.setText("12");
    slip.CheckBoxfont4 = true; // not consulted: the block keeps SEfont4's size
    slip.MemoTsuushin = "会費\r\n";
    draw(1);

    ASSERT_EQ(canvas.calls.size(), 13u);
    std::vector<Placed> expected = amountAt(18, "1000");
    expected.push_back({x(190), y(700), "100-0001"});
    expected.push_back({x(400), y(860), "03-1234-5678"});
    EXPECT_EQ(placed(canvas.textOuts()), expected);
    EXPECT_EQ(canvas.calls[0].face, "OCRB");
    EXPECT_EQ(canvas.calls[0].height, pt(12));
    EXPECT_EQ(canvas.calls[8].face, "IPAGothic");
    EXPECT_EQ(canvas.calls[8].height, pt(9));
    EXPECT_EQ(canvas.calls[9].height, pt(9));

    const Call& block = canvas.calls[10];
    EXPECT_EQ(block.text, "東京都\r\n\r\n山田") << "an empty address 2 still takes its line";
    EXPECT_EQ(block.rect, addressBox());
    EXPECT_EQ(block.flags, 0x2A50u);
    EXPECT_EQ(block.height, pt(11));

    const Call& right = canvas.calls[11];
    EXPECT_EQ(right.text, "山田") << "the right half shows the name alone";
    EXPECT_EQ(right.rect, rightPayerBox());
    EXPECT_EQ(right.flags, 0x2A74u);
    EXPECT_EQ(right.height, pt(12));
    EXPECT_EQ(right.face, "IPAGothic");

    const Call& message = canvas.calls[12];
    EXPECT_EQ(message.text, "会費\r\n会費\r\n会費\r\n会費");
    EXPECT_EQ(message.rect, messageBox());
    EXPECT_EQ(message.flags, 0x2A50u);
    EXPECT_EQ(message.face, QString::fromUtf16(kFallbackMinchoFace));

    EXPECT_EQ(slip.SEfont4.text(), "11") << "nothing is written back";
    EXPECT_EQ(cells[18], "1") << "the row's amount stays in the cells";
}

TEST_F(DrawRowTest, SampleRowShowsSampleTextsInsteadOfCells)
{
    table.setRow(0, {"", "1", "2", "3", "4", "5", "6"});
    mapping.select(MapField::Amount, 6);
    slip.SEkingaku.setText("1000");
    slip.MemoTsuushin = "m";
    draw(0);

    EXPECT_EQ(amountDigits(), amountAt(14, "00000000"));
    const auto outs = canvas.textOuts();
    ASSERT_EQ(outs.size(), 18u);
    EXPECT_EQ(outs[16].text, "000-0000");
    EXPECT_EQ(outs[17].text, "00-0000-0000");
    const QString sample = "住所１\r\n住所２\r\n氏名";
    ASSERT_NE(drawTextIn(addressBox()), nullptr);
    EXPECT_EQ(drawTextIn(addressBox())->text, sample);
    ASSERT_NE(drawTextIn(rightPayerBox()), nullptr);
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, sample) << "no name alone on the sample row";
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A50u);
    EXPECT_EQ(drawTextIn(messageBox())->text, "m\r\nm\r\nm\r\nm");

    mapping.select(MapField::Amount, 0);
    draw(0);
    EXPECT_EQ(amountDigits(), amountAt(14, "00000000")) << "also instead of the record's amount";
}

TEST_F(DrawRowTest, AmountComesFromTheSelectedColumnOrTheRecord)
{
    slip.SEkingaku.setText(" 500 ");
    draw(1);
    EXPECT_EQ(amountDigits(), amountAt(19, "500")) << "(金額欄): the record's amount";

    mapping.select(MapField::Amount, 6);
    draw(1);
    EXPECT_EQ(amountDigits(), amountAt(17, "1,000"));
    draw(2);
    EXPECT_EQ(amountDigits(), amountAt(14, "12345678"));

    table.setCell(6, 2, "123456789");
    draw(2);
    EXPECT_EQ(amountDigits(), amountAt(14, "12345678")) << "only the first 8 characters";
}

TEST_F(DrawRowTest, MessageJoinsTheFourListsInOrder)
{
    slip.MemoTsuushin = "abc";
    mapping.fill(kColumns);
    for (MapField f : {MapField::Message1, MapField::Message2, MapField::Message3,
                       MapField::Message4})
        mapping.select(f, 0);
    draw(1);
    EXPECT_EQ(drawTextIn(messageBox())->text, "abc\r\nabc\r\nabc\r\nabc");

    mapping.select(MapField::Message1, 7); // 8, 9 back to their columns; 10 stays on the memo
    mapping.select(MapField::Message2, 8);
    mapping.select(MapField::Message3, 9);
    draw(1);
    EXPECT_EQ(drawTextIn(messageBox())->text, "一\r\n二\r\n三\r\nabc");

    draw(0);
    EXPECT_EQ(drawTextIn(messageBox())->text, "通信欄\r\nabc")
        << "the sample row adds nothing for a selected column";

    slip.MemoTsuushin = "";
    draw(1);
    EXPECT_EQ(drawTextIn(messageBox())->text, "一\r\n二\r\n三\r\n")
        << "an empty part after a non-empty one still adds its line";
}

TEST_F(DrawRowTest, MappingWithoutSelectionTakesNothingFromTheTable)
{
    mapping.clear();
    slip.SEkingaku.setText("700");
    slip.MemoTsuushin = "m";
    draw(1);
    EXPECT_EQ(placed(canvas.textOuts()), amountAt(19, "700")) << "no postal code or telephone";
    EXPECT_EQ(drawTextIn(addressBox())->text, "");
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, "");
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A50u);
    EXPECT_EQ(drawTextIn(messageBox())->text, "m\r\nm\r\nm\r\nm");
}

TEST_F(DrawRowTest, RowBeyondTheTableReadsAsEmptyCells)
{
    mapping.select(MapField::Amount, 6);
    draw(99);
    EXPECT_TRUE(canvas.textOuts().empty()) << "no amount, postal code or telephone";
    EXPECT_EQ(drawTextIn(addressBox())->text, "") << "empty parts add nothing to an empty block";
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, "");
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A50u);
}

TEST_F(DrawRowTest, RightPayerIsCentredOnlyForOneLineThatFits)
{
    slip.SEfont41.setText("x");
    draw(2);
    EXPECT_EQ(drawTextIn(addressBox())->text, "x\r\n佐藤") << "an empty address 1 adds no line";
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, "佐藤") << "cells are trimmed";
    EXPECT_EQ(drawTextIn(rightPayerBox())->height, pt(10)) << "size fallback 10";

    // 12 × 83 px at 10 pt = 996 px against a box of 874 px.
    table.setCell(4, 2, "一二三四五六七八九十一二");
    draw(2);
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A50u);

    mapping.select(MapField::Name, 0);
    draw(1);
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, "東京都\r\n") << "without a name: the block";
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A50u);

    mapping.select(MapField::Address2, 0);
    draw(1);
    EXPECT_EQ(drawTextIn(rightPayerBox())->text, "東京都");
    EXPECT_EQ(drawTextIn(rightPayerBox())->flags, 0x2A74u);
}

TEST_F(DrawRowTest, AccountDigitsAndNameUseTheRowGridAndFixedBoxes)
{
    slip.CheckBox1 = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "加入者\r\n";
    slip.CBfont5 = "IPAMincho";
    slip.SEfont5.setText("18");
    slip.SEfont51.setText("abc");
    positions.SEkouza2.setText("300");
    positions.SEkanyuLleft.setText("500"); // the row boxes do not follow the positions
    mapping.clear();
    draw(1);

    const int r1 = 170, r2 = 300;
    std::vector<Placed> expected = {
        {x(60), y(r1), "0"},   {x(110), y(r1), "0"},  {x(160), y(r1), "1"},
        {x(210), y(r1), "2"},  {x(260), y(r1), "0"},  {x(340), y(r1), "6"},
        {x(520), y(r1), "1"},  {x(570), y(r1), "2"},  {x(620), y(r1), "3"},
        {x(670), y(r1), "4"},  {x(720), y(r1), "5"},  {x(1380), y(r1), "0"},
        {x(1430), y(r1), "0"}, {x(1480), y(r1), "1"}, {x(1530), y(r1), "2"},
        {x(1580), y(r1), "0"}, {x(1660), y(r1), "6"}, {x(1530), y(r2), "1"},
        {x(1580), y(r2), "2"}, {x(1630), y(r2), "3"}, {x(1680), y(r2), "4"},
        {x(1730), y(r2), "5"},
    };
    for (const Placed& p : amountAt(18, "1000")) // the record's standard amount follows
        expected.push_back(p);
    EXPECT_EQ(placed(canvas.textOuts()), expected);

    const auto texts = canvas.drawTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "加入者");
    EXPECT_EQ(texts[0].rect, rect(110, 240, 740, 320));
    EXPECT_EQ(texts[0].flags, 0x2A11u) << "one line too: centred from the top";
    EXPECT_EQ(texts[0].height, pt(18));
    EXPECT_EQ(texts[0].face, "IPAMincho");
    EXPECT_EQ(texts[1].rect, rect(1380, 350, 1740, 430));
    EXPECT_EQ(texts[1].height, pt(12)) << "size fallback 12";
}

TEST_F(DrawRowTest, NameFittingStartsFromTwentyPointsSharedAndOnlyShrinks)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.SEfont5.setText("30");
    mapping.clear();

    // Two lines: 10 pt, 83 px em. The reference widths are device x of 630 and 360:
    // 1388 and 750 px. A 10-character line of 830 px fits the left, not the right (10 × 750 /
    // 830 = 9.04), although it would fit the right box's own width of 851 px.
    slip.Ekanyu = "一二三四五六七八九十\r\n短い";
    draw(1);
    auto texts = canvas.drawTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].height, pt(10)) << "not grown to the box height";
    EXPECT_EQ(texts[1].height, pt(9));
    EXPECT_EQ(slip.SEfont5.text(), "30") << "nothing written back";

    // 17 characters, 1411 px: shrinks on the left too (9.83 → 9), although the left box is
    // 1489 px wide; right 10 × 750 / 1411 = 5.3.
    slip.Ekanyu = "一二三四五六七八九十一二三四五六七\r\n短い";
    draw(1);
    texts = canvas.drawTexts();
    EXPECT_EQ(texts[0].height, pt(9));
    EXPECT_EQ(texts[1].height, pt(5));

    // One line: 20 pt.
    slip.Ekanyu = "加入者";
    draw(1);
    EXPECT_EQ(canvas.drawTexts()[0].height, pt(20));
}

TEST_F(DrawRowTest, EmptyNameWithFittingDrawsNoName)
{
    slip.CheckBox1 = true;
    slip.CheckBoxfont5 = true;
    slip.Ekouza2 = "6";
    slip.Ekanyu = "";
    mapping.clear();
    draw(1);
    for (const Call& c : canvas.drawTexts())
        EXPECT_NE(c.flags, 0x2A11u) << "no name box drawn";
    EXPECT_EQ(canvas.drawTexts().size(), 3u) << "payer left, payer right, message";
    EXPECT_EQ(canvas.textOuts().front().text, "6") << "the account is still drawn";
}

} // namespace
} // namespace nobrisa
