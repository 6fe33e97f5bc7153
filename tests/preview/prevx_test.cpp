#include "model/coords.h"
#include "preview/papersizetext.h"
#include "preview/tprevxstate.h"
#include "support/recordingcanvas.h"

#include <QTransform>

#include <gtest/gtest.h>

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
    struct Case {
        int ppiX, ppiY;
        PrevMapMode mode;
        int marginLeft, marginTop, x, y, wantX, wantY;
    };
    constexpr auto Hi = PrevMapMode::Hi;
    constexpr auto Lo = PrevMapMode::Lo;
    const Case cases[] = {
        {600, 600, Hi, 0, 0, 254, -254, 600, -600}, // one inch either way
        {600, 600, Lo, 0, 0, 254, 25, 6000, 591},   // 25 mm = 590.55 px
        {600, 600, Hi, 10, 0, 0, 0, 24, 0},         // 23.62: the margin alone
        {600, 300, Hi, 0, 20, 254, 0, 600, 24},     // y: its own margin and resolution
        {1, 1, Hi, 0, 0, 127, 381, 0, 2},           // 0.5 -> 0, 1.5 -> 2
        {1, 1, Hi, 0, 0, 635, -381, 2, -2},         // 2.5 -> 2, -1.5 -> -2
        {1, 1, Hi, 0, 0, -127, -635, 0, -2},        // -0.5 -> 0, -2.5 -> -2
        {1, 1, Lo, 127, 0, 0, 38, 5, 1},            // margins are in the unit too
        {2400, 2400, Lo, INT_MAX, 0, INT_MAX, INT_MIN, kDeviceCoordinateLimit,
         -kDeviceCoordinateLimit}, // saturates, never wraps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ppiX << " dpi, x " << c.x << ", y " << c.y);
        TPrevXState s;
        ASSERT_EQ(s.updatePrinterMetrics(printer(c.ppiX, c.ppiY), 96), PrevError::None);
        s.setMapMode(c.mode);
        s.setMarginLeft(c.marginLeft);
        s.setMarginTop(c.marginTop);
        EXPECT_EQ(s.XPos(c.x), c.wantX);
        EXPECT_EQ(s.YPos(c.y), c.wantY);
    }
}

TEST(PrevXUnits, PenWidthAndPageSizeInTheUnit)
{
    struct Case {
        int size, ppiY, screenPpi, want;
    };
    const Case pens[] = {{0, 600, 96, 1},    {-5, 600, 96, 1}, {10, 600, 96, 6},
                         {4, 600, 96, 2},    {12, 600, 96, 8}, // 2.5 -> 2, 7.5 -> 8
                         {10, 1200, 120, 10}};
    for (const Case& c : pens) {
        SCOPED_TRACE(c.size);
        TPrevXState s;
        s.updatePrinterMetrics(printer(600, c.ppiY), c.screenPpi);
        EXPECT_EQ(s.PenWidth(c.size), c.want);
    }

    // Printable 4760 x 3400 px at 600 x 300 dpi: read afresh, no earlier reading needed.
    FixedDevice a4 = printer(600, 300);
    a4.horzRes = 4760;
    a4.vertRes = 3400;
    TPrevXState s;
    EXPECT_EQ(s.PageWidth(a4), 2015);  // 2015.07
    EXPECT_EQ(s.PageHeight(a4), 2879); // 2878.67
    s.setMapMode(PrevMapMode::Lo);
    EXPECT_EQ(s.PageWidth(a4), 202); // 201.51
    EXPECT_EQ(s.XPos(10), 236) << "PageWidth read the horizontal resolution";
    EXPECT_EQ(s.PageHeight(printer(600, 0)), std::nullopt);
}

TEST(PrevXState, SettersTakeOnlyChangesInRange)
{
    TPrevXState s;
    FixedDevice p = printer(600, 600);
    s.beginDoc(p, 96);
    s.newPage(p);
    s.newPage(p);
    ASSERT_EQ(s.pageCount(), 3);
    struct Case {
        bool (TPrevXState::*set)(int) noexcept;
        int (TPrevXState::*get)() const noexcept;
        int value;
        bool taken;
    };
    const Case cases[] = {
        {&TPrevXState::setZoomScale, &TPrevXState::zoomScale, 24, false},
        {&TPrevXState::setZoomScale, &TPrevXState::zoomScale, 201, false},
        {&TPrevXState::setZoomScale, &TPrevXState::zoomScale, 200, true},
        {&TPrevXState::setZoomScale, &TPrevXState::zoomScale, 200, false}, // unchanged
        {&TPrevXState::setZoomScale, &TPrevXState::zoomScale, 25, true},
        {&TPrevXState::setPageNumber, &TPrevXState::pageNumber, 0, false},
        {&TPrevXState::setPageNumber, &TPrevXState::pageNumber, 4, false},
        {&TPrevXState::setPageNumber, &TPrevXState::pageNumber, 3, true},
        {&TPrevXState::setFromPage, &TPrevXState::fromPage, 4, false},
        {&TPrevXState::setFromPage, &TPrevXState::fromPage, 2, true},
        {&TPrevXState::setToPage, &TPrevXState::toPage, 0, false},
        {&TPrevXState::setToPage, &TPrevXState::toPage, 100000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const int before = (s.*c.get)();
        EXPECT_EQ((s.*c.set)(c.value), c.taken);
        EXPECT_EQ((s.*c.get)(), c.taken ? c.value : before);
    }

    // A new document resets the shown page and the range, nothing else; a missing printer
    // changes nothing at all.
    s.setMarginLeft(5);
    s.setTitle("t");
    s.setZoomScale(75);
    EXPECT_EQ(s.beginDoc(printer(0, 0), 96), PrevError::NoPrinter);
    EXPECT_EQ(s.newPage(printer(600, 0)), PrevError::NoPrinter);
    EXPECT_EQ(s.pageCount(), 3);
    s.beginDoc(p, 96);
    s.newPage(p);
    s.endDoc();
    EXPECT_EQ(std::tuple(s.pageCount(), s.pageNumber(), s.fromPage(), s.toPage(), s.recording()),
              std::tuple(2, 1, 1, 9999, false));
    EXPECT_EQ(std::tuple(s.marginLeft(), s.title(), s.zoomScale()), std::tuple(5, "t", 75));
}

TEST(PrevXState, PrintPagesNeverIncludeAnUnrecordedPage)
{
    struct Case {
        int pages, from, to;
        PrevError error;
        int first, last;
    };
    const Case cases[] = {
        {5, 3, 2, PrevError::None, 3, 3},    // FromPage prints even above ToPage
        {3, 1, 9999, PrevError::None, 1, 3}, // up to the last recorded page
        {5, 2, 4, PrevError::None, 2, 4},
        {0, 1, 9999, PrevError::NoPageToPrint, 0, 0}, // nothing recorded yet
    };
    const FixedDevice p = printer(600, 600);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pages << " pages from " << c.from << " to " << c.to);
        TPrevXState s;
        for (int i = 0; i < c.pages; ++i)
            i == 0 ? s.beginDoc(p, 96) : s.newPage(p);
        s.setFromPage(c.from);
        s.setToPage(c.to);
        const PrevPrintPages got = s.printPages(p);
        EXPECT_EQ(std::tuple(got.error, got.first, got.last), std::tuple(c.error, c.first, c.last));
    }
    EXPECT_EQ(TPrevXState().printPages(printer(0, 600)).error, PrevError::NoPrinter);
    EXPECT_FALSE(prevErrorMessage(PrevError::NoPageToPrint).isEmpty());
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

    s.setZoomScale(100);
    s.updatePrinterMetrics(a4, 96);
    EXPECT_EQ(s.physWidth(), 793) << "793.28: twice 396.64 before rounding";

    test::RecordingCanvas page;
    s.setMapMode(PrevMapMode::Lo);
    s.setMarginTop(1);
    s.TextOut(page, 10, 9, "x");
    EXPECT_EQ(test::placed(page.calls), (std::vector{test::Placed{236, 236, "x"}}));
}

TEST(PaperSizeText, NamesByCodeAndMeasuredSizes)
{
    struct Case {
        int code, ppiX, ppiY, width, height;
        const char* name;
        const char* measured;
    };
    const Case cases[] = {
        {9, 600, 600, 4958, 7017, "A4 210x297", "210x297"},
        {9, 600, 600, 7017, 4958, "A4 210x297", "297x210"}, // landscape: measured as oriented
        {1, 600, 600, 5100, 6600, "ﾚﾀｰ 216x279", "216x279"},
        {3, 600, 600, 6600, 10200, "ﾀﾌﾞﾛｲﾄﾞ 279x432", "279x432"},
        {7, 600, 600, 4350, 6300, "ｴｸﾞｾﾞｸﾃｨﾌﾞ 184x267", "184x267"},
        {16, 600, 600, 6000, 8400, "10x14 ｲﾝﾁ", "254x356"},
        {22, 600, 600, 2850, 6600, "#12 121x279", "121x279"},
        {23, 600, 600, 3000, 6900, "#14 127x292", "127x292"},
        {0, 600, 600, 4958, 7017, "210x297", "210x297"},  // settings unreadable
        {24, 600, 600, 4958, 7017, "210x297", "210x297"}, // no name for the code
        {256, 600, 600, 2000, 3000, "85x127", "85x127"},  // a driver's own paper
        {-1, 600, 600, 4958, 7017, "210x297", "210x297"},
        {0, 0, 300, 2480, 3508, "210x297", "210x297"}, // x resolution from y
        {0, 600, 0, 794, 1123, "210x297", "210x297"},  // both from the window (96)
        {0, 1, 1, 5, 15, "127x381", "127x381"},        // exact: 127.0 and 381.0
        {0, 2, 2, 5, 15, "64x190", "64x190"},          // 63.5 -> 64, 190.5 -> 190
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

TEST(PaperSizeText, ZoomTextsAndSaveFormats)
{
    const std::pair<const char*, int> zooms[] = {{"75", 75},         {"300", 300}, {"10", 10},
                                                 {"abc", 50},        {"", 50},     {"7.5", 50},
                                                 {"99999999999", 50}};
    for (const auto& [text, zoom] : zooms)
        EXPECT_EQ(paperPreviewZoomFromText(text), zoom) << text;
    EXPECT_EQ(paperPreviewZoomItems().indexOf("50"), 1);

    const std::pair<const char*, PrevPictureFormat> names[] = {
        {"a.WMF", PrevPictureFormat::PlaceableWmf},
        {"a.wmf", PrevPictureFormat::PlaceableWmf},
        {"a.emf", PrevPictureFormat::Emf},
        {"a.wmf.png", PrevPictureFormat::Emf},
        {"wmf", PrevPictureFormat::Emf}};
    for (const auto& [name, format] : names)
        EXPECT_EQ(prevPictureFormatFor(name), format) << name;
}

} // namespace
} // namespace nobrisa
