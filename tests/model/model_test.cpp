#include "model/adjustment.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/fontchoice.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "text/lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace nobrisa {
namespace {

QStringList cellsOf(const DigitCells& cells, int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << cells[i];
    return out;
}

TEST(Setko, AccountPartsAreRightAlignedInTheirRuns)
{
    TSlipRecord slip;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    DigitCells cells;
    setko(slip, cells);
    EXPECT_EQ(cellsOf(cells, 1, 5), (QStringList{"0", "0", "1", "2", "0"}));
    EXPECT_EQ(cells[6], "6");
    EXPECT_EQ(cellsOf(cells, 7, 13), (QStringList{"", "", "1", "2", "3", "4", "5"}));
}

TEST(Setko, TrimsBlanksAndControlCharactersBeforeAligning)
{
    TSlipRecord slip;
    slip.Ekouza1 = " 12 ";
    slip.Ekouza3 = "\t7\r\n";
    DigitCells cells;
    setko(slip, cells);
    EXPECT_EQ(cellsOf(cells, 1, 5), (QStringList{"", "", "", "1", "2"}));
    EXPECT_EQ(cells[6], "") << "an empty check digit leaves cell 6 empty";
    EXPECT_EQ(cells[13], "7");
}

TEST(Setko, AmountFillsFromTheUnitsCell)
{
    TSlipRecord slip;
    DigitCells cells;
    slip.SEkingaku.setText("1000");
    setko(slip, cells);
    EXPECT_EQ(cellsOf(cells, 14, 21), (QStringList{"", "", "", "", "1", "0", "0", "0"}));

    slip.SEkingaku.setText("99999999");
    setko(slip, cells);
    EXPECT_EQ(cellsOf(cells, 14, 21), QStringList(8, "9"));
}

TEST(Setko, OverlongPartsKeepTheirFirstCharactersAndOldCellsAreCleared)
{
    TSlipRecord slip;
    slip.Ekouza1 = "1234567";  // only the first five are used
    slip.Ekouza2 = "89";
    slip.SEkingaku.setText("123456789");
    DigitCells cells;
    setko(slip, cells);
    EXPECT_EQ(cellsOf(cells, 1, 5), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(cells[6], "8");
    EXPECT_EQ(cellsOf(cells, 14, 21), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));

    slip = TSlipRecord{};
    slip.SEkingaku.setText("");
    setko(slip, cells);
    for (int i = 1; i <= DigitCells::kCount; ++i)
        EXPECT_EQ(cells[i], "") << "cell " << i << " kept a value from the last drawing";
}

TEST(NumberText, ValueClampsTextDoesNot)
{
    TSlipRecord slip;
    slip.SEfont5.setValue(1200);
    EXPECT_EQ(slip.SEfont5.text(), "999");
    slip.SEfont5.setText("1200");
    EXPECT_EQ(slip.SEfont5.text(), "1200") << "a text from a file is kept as it is";
    slip.SEfont5.clampOnLeave();
    EXPECT_EQ(slip.SEfont5.text(), "999");
    slip.SEfont5.setText("abc");
    slip.SEfont5.clampOnLeave();
    EXPECT_EQ(slip.SEfont5.text(), "abc") << "no whole number stays as typed";
    EXPECT_EQ(slip.SEfont5.toInt(12), 12);
}

TEST(NumberText, ParsesOnlyWholeNumbers)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {{"12", true, 12},       {" -30 ", true, -30}, {"+7", true, 7},
                          {"-", false, 0},        {"", false, 0},       {"1.5", false, 0},
                          {"1e3", false, 0},      {"１２", false, 0},   {"99999999999", false, 0},
                          {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1}};
    for (const Case& c : cases) {
        int v = 0;
        EXPECT_EQ(parseWholeNumber(QString::fromUtf8(c.text), &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Lines, CountIgnoresAFinalEmptyLine)
{
    EXPECT_EQ(lineCount(""), 0);
    EXPECT_EQ(lineCount("a"), 1);
    EXPECT_EQ(lineCount("a\r\n"), 1);
    EXPECT_EQ(lineCount("a\r\nb"), 2);
    EXPECT_EQ(lineCount("a\nb\rc"), 3);
    EXPECT_EQ(lineCount("\r\n"), 1) << "one empty line";
    EXPECT_EQ(lineAt("a\r\nb", 1), "b");
    EXPECT_EQ(lineAt("a", 5), "");
    EXPECT_EQ(wholeText("a\nb\n"), "a\r\nb");
    EXPECT_EQ(longestLine("ab\r\ncd\r\nefg\r\nhij"), "efg") << "first of the longest wins";
}

// A 600-dpi printer whose printable area starts 100 pixels from the paper's corner.
FixedDevice printer600(int offsetX = 100, int offsetY = 100)
{
    FixedDevice d;
    d.offsetX = offsetX;
    d.offsetY = offsetY;
    return d;
}

TEST(Coords, TruncatesTowardZeroAfterTheAdjustment)
{
    const FixedDevice d = printer600();
    EXPECT_EQ(mmx(55, 0, d), 29);  // 129.92 → 129, minus 100
    EXPECT_EQ(mmx(0, 0, d), -100);
    EXPECT_EQ(mmx(0, -30, d), -170) << "−70.87 truncates toward zero, not down";
    EXPECT_EQ(mmx(25, 25, d) - mmx(25, 0, d), 59) << "2.5 mm to the right";
    EXPECT_EQ(mmy(100, -10, d), mmy(90, 0, d)) << "−10 moves 1 mm up";
}

TEST(Coords, EachAxisUsesItsOwnResolutionAndOffset)
{
    FixedDevice d = printer600(100, 40);
    d.logPixelsY = 1200;
    EXPECT_EQ(mmx(254, 0, d), 500);
    EXPECT_EQ(mmy(254, 0, d), 1160);
    EXPECT_EQ(mmy(55, 0, d), 259 - 40); // 259.84
}

TEST(Coords, CentringDependsOnTheAdjustmentInForce)
{
    FixedDevice d = printer600();
    d.horzRes = 4760;
    EXPECT_EQ(centredLeftRight(0, d), 107);
    EXPECT_EQ(centredLeftRight(107, d), 54);

    d.vertRes = 3000;
    // mmy(1140) = 2692 − 100 = 2592; t = (3000 + 100 − 2592) / 2 = 254; u = 154; v = 65.19
    EXPECT_EQ(centredTopBottom(0, d), 65);
}

TEST(Coords, AdjustmentCommandsWorkThroughTheRecord)
{
    FixedDevice d = printer600();
    d.horzRes = 4760;
    TSlipRecord slip;
    centreLeftRight(slip, d);
    EXPECT_EQ(slip.SEleftright.text(), "107");
    centreLeftRight(slip, d);
    EXPECT_EQ(slip.ox(), 54) << "the second press measures from the first result";
    slip.SEtopbottom.setText("-");
    EXPECT_EQ(slip.oy(), 0) << "a lone minus while typing is no shift";
    slip.SEtopbottom.setText("-25");
    resetTopBottom(slip);
    resetLeftRight(slip);
    EXPECT_EQ(mmx(55, slip.ox(), d), 29) << "after the reset the print is unshifted";
    EXPECT_EQ(slip.oy(), 0);
}

TEST(Coords, CentringClampsToTheAdjustmentRangeAndSurvivesNoDevice)
{
    FixedDevice d = printer600(0, 0);
    d.horzRes = 200000;
    EXPECT_EQ(centredLeftRight(0, d), 10000);
    d.logPixelsX = 0;
    EXPECT_EQ(centredLeftRight(37, d), 37);
}

TEST(PrintPositions, RestoreStandardResetsEveryStoredEntry)
{
    TPrintPositions p;
    for (const auto& e : TPrintPositions::entries())
        (p.*e.field).setText("x");
    p.SEkingakTop.setText("5");
    p.restoreStandard();
    EXPECT_EQ(p.SEkanyuRbottom.text(), "430");
    EXPECT_EQ(p.SEkouza2.text(), "280");
    EXPECT_EQ(p.SEkingakTop.text(), "5") << "the amount boxes are not stored entries";
    const TPrintPositions fresh;
    for (const auto& e : TPrintPositions::entries())
        EXPECT_EQ((p.*e.field).text(), (fresh.*e.field).text()) << e.name;
}

} // namespace
} // namespace nobrisa

namespace nobrisa {
namespace {

TEST(FontChoice, StoredFacesSelectTheListsSpellingOrNothing)
{
    const QStringList faces{"IPAGothic", "OCRB", "ＭＳ ゴシック"};
    EXPECT_EQ(selectFace("ocrb", faces), "OCRB");
    EXPECT_EQ(selectFace("ＭＳ ゴシック", faces), "ＭＳ ゴシック");
    EXPECT_EQ(selectFace("Meiryo", faces), "");
    TSlipRecord slip;
    slip.CBfont1 = "ipagothic";
    slip.CBfont3 = "ＭＳ 明朝";
    selectFaces(slip, faces);
    EXPECT_EQ(slip.CBfont1, "IPAGothic");
    EXPECT_EQ(slip.CBfont3, "") << "a face this machine lacks leaves no selection";
}

TEST(Coords, FarOffValuesStopAtTheDeviceLimitAndTheUsualOnesAreExact)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kLimit = kDeviceCoordinateLimit;
    const FixedDevice d = printer600();
    struct Case {
        std::int64_t mm;
        int adjust;
        int device;
    };
    const Case cases[] = {
        {55, 0, 29},
        {10000, 10000, 47144},    // the dialog's farthest place: 20000 / 254 × 600
        {1775631, 0, kLimit - 1}, // 4194403.9 − 100: the last pixel inside
        {1775632, 0, kLimit},     // 4194406.2 − 100
        {909000000, 0, kLimit},
        {-909000000, 0, -kLimit},
        {kMax, kMax, kLimit},
        {kMin, kMin, -kLimit},
        {kMax, kMin, -2 - 100},                // −1 / 254 × 600 = −2.36
        {std::int64_t{kMax} + 300, 0, kLimit}, // a telephone part 300 right of the anchor
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mm << " + " << c.adjust);
        EXPECT_EQ(mmx(c.mm, c.adjust, d), c.device);
        EXPECT_EQ(mmy(c.mm, c.adjust, d), c.device);
    }
    EXPECT_EQ(centredLeftRight(kMax, d), -10000);
    EXPECT_EQ(centredTopBottom(kMin, d), 10000);
}

} // namespace
} // namespace nobrisa
