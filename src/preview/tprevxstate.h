#pragma once

#include "model/devicecaps.h"
#include "render/textlayout.h"

#include <QString>

#include <optional>

class QTransform;

namespace nobrisa {

class Canvas;

// Unit of the page preview's drawing operations: tenths of a millimetre or whole millimetres.
enum class PrevMapMode { Hi, Lo };

// What can keep the page preview from doing what it was asked. Nothing is thrown: the widget
// shows prevErrorMessage() and keeps the pages it has.
enum class PrevError {
    None,
    NoPrinter,     // the current printer answers no resolution
    NoPageToPrint, // the first page to print was never recorded
};
QString prevErrorMessage(PrevError error);

// Where a recorded picture is saved: by the file name's extension, ".wmf" in any letter case
// giving a placeable Windows metafile, anything else an enhanced metafile.
enum class PrevPictureFormat { Emf, PlaceableWmf };
PrevPictureFormat prevPictureFormatFor(const QString& fileName);

// Pages First..Last (both recorded, First <= Last) of a print.
struct PrevPrintPages {
    PrevError error = PrevError::None;
    int first = 0;
    int last = 0;
};

// Everything the page preview computes, apart from the pictures themselves: the shown page and
// the print range, the zoom, the unit conversions to printer pixels and the zoomed sheet the
// control paints. A copyable value; the widget owns one, feeds it the current printer and the
// screen's resolution, and only paints what it says.
//
// The printer counts as present when it answers a resolution. With no printer installed the
// current printer is the PDF output, which does, so the preview works on any machine; only a
// printer that answers nothing (one that vanished) gives PrevError::NoPrinter, and then nothing
// here changes.
//
// Conversions round to the nearest integer, ties to even, computed exactly on integers; every
// result is kept within the device coordinate limit instead of wrapping.
class TPrevXState final {
public:
    static constexpr int kMinZoom = 25;
    static constexpr int kMaxZoom = 200;
    static constexpr int kLastPage = 9999;
    // Blank border around the sheet, in the control's pixels, on every side.
    static constexpr int kBorder = 10;

    // Reads the printer's resolutions and zoomed sheet (UpdatePrinterMetrics). screenPpi is the
    // logical resolution the control's font uses; at zoom 100 the sheet shows at real size.
    PrevError updatePrinterMetrics(const DeviceQuery& printer, int screenPpi);

    // Document recording. beginDoc starts page 1 and resets the shown page and the print range
    // (not the zoom, margins, unit or title); newPage adds a page without changing the shown one.
    PrevError beginDoc(const DeviceQuery& printer, int screenPpi);
    PrevError newPage(const DeviceQuery& printer);
    void endDoc() noexcept { mRecording = false; }
    bool recording() const noexcept { return mRecording; }

    // The pages Print sends: FromPage to the smaller of ToPage and PageCount, and FromPage even
    // when ToPage is below it; a FromPage that was never recorded prints nothing.
    PrevPrintPages printPages(const DeviceQuery& printer) const;

    // Setters return whether the value was taken (ZoomScale and PageNumber then repaint).
    // Values out of range are ignored without error.
    bool setZoomScale(int zoom) noexcept;  // 25..200
    bool setPageNumber(int page) noexcept; // 1..PageCount
    bool setFromPage(int page) noexcept;   // 1..PageCount
    bool setToPage(int page) noexcept;     // 1 or more
    int zoomScale() const noexcept { return mZoomScale; }
    int pageNumber() const noexcept { return mPageNumber; }
    int pageCount() const noexcept { return mPageCount; }
    int fromPage() const noexcept { return mFromPage; }
    int toPage() const noexcept { return mToPage; }

    void setTitle(const QString& title) { mTitle = title; }
    const QString& title() const noexcept { return mTitle; }
    // Added to every x or y of the unit operations, in the current unit.
    void setMarginLeft(int margin) noexcept { mMarginLeft = margin; }
    void setMarginTop(int margin) noexcept { mMarginTop = margin; }
    int marginLeft() const noexcept { return mMarginLeft; }
    int marginTop() const noexcept { return mMarginTop; }
    void setMapMode(PrevMapMode mode) noexcept { mMapMode = mode; }
    PrevMapMode mapMode() const noexcept { return mMapMode; }

    // A position in the current unit, margin added, in printer pixels at the resolutions last
    // read (0 before the first reading).
    int XPos(int x) const noexcept;
    int YPos(int y) const noexcept;
    // A pen width in tenths of a screen pixel as printer pixels, at least 1: 10 gives the
    // printer pixels one screen pixel covers.
    int PenWidth(int size) const noexcept;
    // The printable width and height in the current unit, the resolution read afresh.
    std::optional<int> PageWidth(const DeviceQuery& printer);
    std::optional<int> PageHeight(const DeviceQuery& printer);

    // The drawing operations in the current unit: each converts, then draws on the page canvas.
    void TextOut(Canvas& canvas, int x, int y, const QString& text) const;
    void MoveTo(Canvas& canvas, int x, int y) const;
    void LineTo(Canvas& canvas, int x, int y) const;
    void Rectangle(Canvas& canvas, int x1, int y1, int x2, int y2) const;
    void Ellipse(Canvas& canvas, int x1, int y1, int x2, int y2) const;
    // The corner ellipse's size passes through the same conversion as a position.
    void RoundRect(Canvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3) const;

    int inchPixelsX() const noexcept { return mInchPixelsX; }
    int inchPixelsY() const noexcept { return mInchPixelsY; }

    // What Paint draws, in the control's pixels at the current zoom (valid after a reading):
    // the control's size, the white sheet inside the border, the dotted printable area, and
    // the transform that stretches a page of pageWidth x pageHeight printer pixels into it.
    int controlWidth() const noexcept { return mPhysWidth + 2 * kBorder; }
    int controlHeight() const noexcept { return mPhysHeight + 2 * kBorder; }
    DeviceRect sheetRect() const noexcept;
    DeviceRect printableRect() const noexcept;
    QTransform pageTransform(int pageWidth, int pageHeight) const;
    // Paints the white sheet and the dotted printable area on the control's canvas; the shown
    // page then goes into printableRect() through pageTransform().
    void paintSheet(Canvas& canvas) const;
    int physWidth() const noexcept { return mPhysWidth; }
    int physHeight() const noexcept { return mPhysHeight; }

private:
    QString mTitle;
    int mPageNumber = 1;
    int mPageCount = 0;
    int mFromPage = 1;
    int mToPage = kLastPage;
    int mZoomScale = kMinZoom;
    int mMarginLeft = 0;
    int mMarginTop = 0;
    PrevMapMode mMapMode = PrevMapMode::Hi;
    bool mRecording = false;

    int mScreenPpi = 96;
    int mInchPixelsX = 0;
    int mInchPixelsY = 0;
    int mPhysWidth = 0;
    int mPhysHeight = 0;
    int mOffsetX = 0;
    int mOffsetY = 0;
    int mResWidth = 0;
    int mResHeight = 0;
};

} // namespace nobrisa
