#include "model/columnmapping.h"
#include "model/coords.h"
#include "model/stringtable.h"
#include "preview/paperpreviewcaption.h"
#include "preview/papersizetext.h"
#include "preview/tprevxstate.h"

#include <QTransform>

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace nobrisa {
namespace {

FixedDevice printer(int ppiX, int ppiY)
{
    FixedDevice d;
    d.logPixelsX = ppiX;
    d.logPixelsY = ppiY;
    return d;
}

TEST(PrevXUnits, PositionsRoundHalfToEvenWithMarginsAndUnit)
{
    constexpr auto Hi = PrevMapMode::Hi;
    constexpr auto Lo = PrevMapMode::Lo;
    constexpr int L = kDeviceCoordinateLimit;
    struct Case {
        int ppiX, ppiY;
        PrevMapMode mode;
        int marginLeft, marginTop, x, y, wantX, wantY;
    } const cases[] = {
        {600, 600, Hi, 0, 0, 254, -254, 600, -600},            // one inch either way
        {600, 600, Lo, 0, 0, 254, 25, 6000, 591},              // 25 mm = 590.55 px
        {600, 600, Hi, 10, 0, 0, 0, 24, 0},                    // 23.62: the margin alone
        {600, 300, Hi, 0, 20, 254, 0, 600, 24},                // y: its own margin and resolution
        {1, 1, Hi, 0, 0, 127, 381, 0, 2},                      // 0.5 -> 0, 1.5 -> 2
        {1, 1, Hi, 0, 0, 635, -381, 2, -2},                    // 2.5 -> 2, -1.5 -> -2
        {1, 1, Hi, 0, 0, -127, -635, 0, -2},                   // -0.5 -> 0, -2.5 -> -2
        {1, 1, Lo, 127, 0, 0, 38, 5, 1},                       // margins are in the unit too
        {2400, 2400, Lo, INT_MAX, 0, INT_MAX, INT_MIN, L, -L}, // saturates, never wraps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ppiX << " dpi, x " << c.x << ", y " << c.y);
        TPrevXState s;
        ASSERT_EQ(s.updatePrinterMetrics(printer(c.ppiX, c.ppiY), 96), PrevError::None);
        s.setMapMode(c.mode);
        s.setMarginLeft(c.marginLeft);
        s.setMarginTop(c.marginTop);
        EXPECT_EQ(std::pair(s.XPos(c.x), s.YPos(c.y)), std::pair(c.wantX, c.wantY));
    }
}

TEST(PrevXUnits, PenWidthAndPageSizeInTheUnit)
{
    // size, printer ppi, screen ppi, width: 2.5 -> 2, 7.5 -> 8, never below 1.
    const std::array<int, 4> pens[] = {{0, 600, 96, 1}, {-5, 600, 96, 1}, {10, 600, 96, 6},
                                       {4, 600, 96, 2}, {12, 600, 96, 8}, {10, 1200, 120, 10}};
    for (const auto& [size, ppiY, screenPpi, want] : pens) {
        TPrevXState s;
        s.updatePrinterMetrics(printer(600, ppiY), screenPpi);
        EXPECT_EQ(s.PenWidth(size), want) << size;
    }

    // Printable 4760 x 3400 px at 600 x 300 dpi: read afresh, no earlier reading needed.
    FixedDevice d = printer(600, 300);
    d.horzRes = 4760;
    d.vertRes = 3400;
    TPrevXState s;
    EXPECT_EQ(std::pair(s.PageWidth(d), s.PageHeight(d)),
              std::pair(std::optional(2015), std::optional(2879))); // .07, .67
    s.setMapMode(PrevMapMode::Lo);
    EXPECT_EQ(s.PageWidth(d), 202); // 201.51
    EXPECT_EQ(s.XPos(10), 236) << "PageWidth read the horizontal resolution";
    EXPECT_EQ(s.PageHeight(printer(600, 0)), std::nullopt);
}

TEST(PrevXState, SettersTakeOnlyChangesInRange)
{
    TPrevXState s;
    const FixedDevice p = printer(600, 600);
    s.beginDoc(p, 96);
    s.newPage(p);
    s.newPage(p);
    ASSERT_EQ(s.pageCount(), 3);
    // clang-format off
    // z ZoomScale, p PageNumber, f FromPage, t ToPage: the value, and whether it is taken.
    const std::tuple<char, int, bool> cases[] = {{'z', 24, false}, {'z', 201, false},
        {'z', 200, true}, {'z', 200, false}, {'z', 25, true}, {'p', 0, false}, {'p', 4, false},
        {'p', 3, true}, {'f', 4, false}, {'f', 2, true}, {'t', 0, false}, {'t', 100000, true}};
    for (const auto& [w, value, taken] : cases) {
        const auto get = [&s, w = w] { return w == 'z' ? s.zoomScale() : w == 'p' ? s.pageNumber()
                                            : w == 'f' ? s.fromPage() : s.toPage(); };
        const int before = get();
        EXPECT_EQ(w == 'z' ? s.setZoomScale(value) : w == 'p' ? s.setPageNumber(value)
                  : w == 'f' ? s.setFromPage(value) : s.setToPage(value), taken) << w << value;
        EXPECT_EQ(get(), taken ? value : before) << w << value;
    }
    // clang-format on

    // A missing printer changes nothing; a new document resets the page and the range only.
    s.setMarginLeft(5);
    s.setTitle("t");
    s.setZoomScale(75);
    EXPECT_EQ(s.beginDoc(printer(0, 0), 96), PrevError::NoPrinter);
    EXPECT_EQ(s.newPage(printer(600, 0)), PrevError::NoPrinter);
    EXPECT_EQ(s.printPages(printer(0, 600)).error, PrevError::NoPrinter);
    EXPECT_EQ(s.pageCount(), 3);
    s.beginDoc(p, 96);
    s.newPage(p);
    s.endDoc();
    EXPECT_EQ(std::tuple(s.pageCount(), s.pageNumber(), s.fromPage(), s.toPage(), s.recording()),
              std::tuple(2, 1, 1, 9999, false));
    EXPECT_EQ(std::tuple(s.marginLeft(), s.title(), s.zoomScale()), std::tuple(5, "t", 75));
}

TEST(PrevXState, PaintGeometryFollowsTheZoom)
{
    FixedDevice a4; // 600 dpi, sheet 4958 x 7017, printable area 100 px in
    a4.physicalWidth = 4958;
    a4.physicalHeight = 7017;
    a4.offsetX = a4.offsetY = 100;
    a4.horzRes = 4758;
    a4.vertRes = 6817;
    TPrevXState s;
    s.setZoomScale(50);
    s.updatePrinterMetrics(a4, 96);
    // Half the real size on a 96-ppi screen, 10 px of border on each side.
    EXPECT_EQ(std::pair(s.controlWidth(), s.controlHeight()), std::pair(397 + 20, 561 + 20));
    EXPECT_EQ(s.sheetRect(), (DeviceRect{10, 10, 407, 571}));
    EXPECT_EQ(s.printableRect(), (DeviceRect{18, 18, 18 + 381, 18 + 545}));
    EXPECT_EQ(s.pageTransform(4758, 6817).map(QPointF(4758, 6817)), QPointF(399, 563));
}

TEST(PaperSizeText, NamesByCodeAndMeasuredSizes)
{
    struct Case {
        int code, ppiX, ppiY, width, height;
        const char* name;
        const char* measured;
    } const cases[] = {
        {9, 600, 600, 4958, 7017, "A4 210x297", "210x297"},
        {9, 600, 600, 7017, 4958, "A4 210x297", "297x210"}, // landscape: measured as oriented
        {1, 600, 600, 5100, 6600, "ﾚﾀｰ 216x279", "216x279"},
        {16, 600, 600, 6000, 8400, "10x14 ｲﾝﾁ", "254x356"},
        {22, 600, 600, 2850, 6600, "#12 121x279", "121x279"},
        {0, 600, 600, 4958, 7017, "210x297", "210x297"}, // settings unreadable
        {256, 600, 600, 2000, 3000, "85x127", "85x127"}, // a driver's own paper
        {0, 0, 300, 2480, 3508, "210x297", "210x297"},   // x resolution from y
        {0, 600, 0, 794, 1123, "210x297", "210x297"},    // both from the window (96)
        {0, 2, 2, 5, 15, "64x190", "64x190"},            // 63.5 -> 64, 190.5 -> 190
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        FixedDevice d = printer(c.ppiX, c.ppiY);
        d.physicalWidth = c.width;
        d.physicalHeight = c.height;
        EXPECT_EQ(PaperSizeText(PaperText::Name, d, c.code, 96), QString::fromUtf8(c.name));
        EXPECT_EQ(PaperSizeText(PaperText::MeasuredSize, d, c.code, 96), c.measured);
    }
}

TEST(PaperPreviewCaption, RowPreviewSaysWhichRowAndPayer)
{
    StringTable table(5, 5);
    table.setCell(4, 1, " 山田 太郎 ");
    table.setCell(4, 2, "\r\n鈴木\r\n二行目");
    table.setCell(4, 3, QString(50, u'長') + QString("\n行").repeated(10000));
    ColumnMapping mapping;
    mapping.fill(5); // the name from column 4
    const QString base = "Nobrisa－払込人連続印刷用紙プレビュー";
    const std::pair<int, QString> rows[] = {
        {0, base + "（見本）"},         {1, base + "（1 行目：山田 太郎）"},
        {2, base + "（2 行目：鈴木）"}, {3, base + "（3 行目：" + QString(40, u'長') + "…）"},
        {4, base + "（4 行目）"},       {99, base + "（99 行目）"}, // beyond the table
    };
    for (const auto& [row, caption] : rows)
        EXPECT_EQ(paperPreviewRowCaption(table, mapping, row), caption) << row;
    mapping.select(MapField::Name, 0);
    EXPECT_EQ(paperPreviewRowCaption(table, mapping, 1), base + "（1 行目）");
}

} // namespace
} // namespace nobrisa
