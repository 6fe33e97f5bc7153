#include "preview/tprevxstate.h"

#include "model/coords.h"
#include "preview/halfeven.h"
#include "render/canvas.h"

#include <QTransform>

#include <algorithm>
#include <cstdint>

namespace nobrisa {

namespace {

using Wide = __int128;

// num / den rounded half to even and kept within the device coordinate limit.
int roundHalfEven(Wide num, Wide den) noexcept
{
    return limitDevice(divRoundHalfEven(num, den));
}

struct PrinterReading {
    int ppiX = 0;
    int ppiY = 0;

    explicit PrinterReading(const DeviceQuery& printer)
        : ppiX(printer.deviceCaps(DeviceCap::LogPixelsX))
        , ppiY(printer.deviceCaps(DeviceCap::LogPixelsY))
    {
    }
    bool present() const noexcept { return ppiX > 0 && ppiY > 0; }
};

// Tenths of a millimetre (or millimetres) to printer pixels: v × ppi ÷ 25.4 mm per inch.
int toPrinter(int v, int margin, int ppi, PrevMapMode mode) noexcept
{
    const Wide tenths = mode == PrevMapMode::Hi ? 1 : 10;
    return roundHalfEven((Wide{v} + margin) * ppi * tenths, 254);
}

// Printer pixels to the unit: the inverse of toPrinter without a margin.
int fromPrinter(int px, int ppi, PrevMapMode mode) noexcept
{
    const Wide tenths = mode == PrevMapMode::Hi ? 1 : 10;
    return roundHalfEven(Wide{px} * 254, Wide{ppi} * tenths);
}

} // namespace

QString prevErrorMessage(PrevError error)
{
    switch (error) {
    case PrevError::None:
        return {};
    case PrevError::NoPrinter:
        return QStringLiteral("プリンタが登録されていません");
    case PrevError::NoPageToPrint:
        return QStringLiteral("印刷するページがありません。");
    }
    return {};
}

PrevPictureFormat prevPictureFormatFor(const QString& fileName)
{
    return fileName.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive)
               ? PrevPictureFormat::PlaceableWmf
               : PrevPictureFormat::Emf;
}

PrevError TPrevXState::updatePrinterMetrics(const DeviceQuery& printer, int screenPpi)
{
    const PrinterReading reading(printer);
    if (!reading.present())
        return PrevError::NoPrinter;
    mScreenPpi = std::max(screenPpi, 1);
    mInchPixelsX = reading.ppiX;
    mInchPixelsY = reading.ppiY;
    // One scale, from the vertical resolution, serves both directions:
    // screen ppi ÷ printer ppi × zoom ÷ 100.
    const auto zoomed = [&](DeviceCap cap) {
        return roundHalfEven(Wide{printer.deviceCaps(cap)} * mScreenPpi * mZoomScale,
                             Wide{mInchPixelsY} * 100);
    };
    mPhysWidth = zoomed(DeviceCap::PhysicalWidth);
    mPhysHeight = zoomed(DeviceCap::PhysicalHeight);
    mOffsetX = zoomed(DeviceCap::PhysicalOffsetX);
    mOffsetY = zoomed(DeviceCap::PhysicalOffsetY);
    mResWidth = zoomed(DeviceCap::HorzRes);
    mResHeight = zoomed(DeviceCap::VertRes);
    return PrevError::None;
}

PrevError TPrevXState::beginDoc(const DeviceQuery& printer, int screenPpi)
{
    if (const PrevError error = updatePrinterMetrics(printer, screenPpi); error != PrevError::None)
        return error;
    mPageNumber = 1;
    mFromPage = 1;
    mToPage = kLastPage;
    mPageCount = 1;
    mRecording = true;
    return PrevError::None;
}

PrevError TPrevXState::newPage(const DeviceQuery& printer)
{
    if (!PrinterReading(printer).present())
        return PrevError::NoPrinter;
    ++mPageCount;
    return PrevError::None;
}

PrevPrintPages TPrevXState::printPages(const DeviceQuery& printer) const
{
    if (!PrinterReading(printer).present())
        return {PrevError::NoPrinter};
    // Drawing a page that was never recorded would draw nothing on a page of its own (or fail):
    // say so instead of starting a job.
    if (mFromPage < 1 || mFromPage > mPageCount)
        return {PrevError::NoPageToPrint};
    const int last = std::min(mToPage, mPageCount);
    return {PrevError::None, mFromPage, std::max(mFromPage, last)};
}

bool TPrevXState::setZoomScale(int zoom) noexcept
{
    if (zoom == mZoomScale || zoom < kMinZoom || zoom > kMaxZoom)
        return false;
    mZoomScale = zoom;
    return true;
}

bool TPrevXState::setPageNumber(int page) noexcept
{
    if (page == mPageNumber || page < 1 || page > mPageCount)
        return false;
    mPageNumber = page;
    return true;
}

bool TPrevXState::setFromPage(int page) noexcept
{
    if (page == mFromPage || page < 1 || page > mPageCount)
        return false;
    mFromPage = page;
    return true;
}

bool TPrevXState::setToPage(int page) noexcept
{
    if (page == mToPage || page < 1)
        return false;
    mToPage = page;
    return true;
}

int TPrevXState::XPos(int x) const noexcept
{
    return toPrinter(x, mMarginLeft, mInchPixelsX, mMapMode);
}

int TPrevXState::YPos(int y) const noexcept
{
    return toPrinter(y, mMarginTop, mInchPixelsY, mMapMode);
}

int TPrevXState::PenWidth(int size) const noexcept
{
    const int width = roundHalfEven(Wide{size} * mInchPixelsY, Wide{mScreenPpi} * 10);
    return width <= 0 ? 1 : width;
}

std::optional<int> TPrevXState::PageWidth(const DeviceQuery& printer)
{
    const PrinterReading reading(printer);
    if (!reading.present())
        return std::nullopt;
    mInchPixelsX = reading.ppiX;
    return fromPrinter(printer.deviceCaps(DeviceCap::HorzRes), mInchPixelsX, mMapMode);
}

std::optional<int> TPrevXState::PageHeight(const DeviceQuery& printer)
{
    const PrinterReading reading(printer);
    if (!reading.present())
        return std::nullopt;
    mInchPixelsY = reading.ppiY;
    return fromPrinter(printer.deviceCaps(DeviceCap::VertRes), mInchPixelsY, mMapMode);
}

void TPrevXState::TextOut(Canvas& canvas, int x, int y, const QString& text) const
{
    canvas.textOut(XPos(x), YPos(y), text);
}

void TPrevXState::MoveTo(Canvas& canvas, int x, int y) const
{
    canvas.moveTo(XPos(x), YPos(y));
}

void TPrevXState::LineTo(Canvas& canvas, int x, int y) const
{
    canvas.lineTo(XPos(x), YPos(y));
}

void TPrevXState::Rectangle(Canvas& canvas, int x1, int y1, int x2, int y2) const
{
    canvas.rectangle({XPos(x1), YPos(y1), XPos(x2), YPos(y2)});
}

void TPrevXState::Ellipse(Canvas& canvas, int x1, int y1, int x2, int y2) const
{
    canvas.ellipse({XPos(x1), YPos(y1), XPos(x2), YPos(y2)});
}

void TPrevXState::RoundRect(Canvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3) const
{
    canvas.roundRect({XPos(x1), YPos(y1), XPos(x2), YPos(y2)}, XPos(x3), YPos(y3));
}

DeviceRect TPrevXState::sheetRect() const noexcept
{
    return {kBorder, kBorder, mPhysWidth + kBorder, mPhysHeight + kBorder};
}

DeviceRect TPrevXState::printableRect() const noexcept
{
    const int left = mOffsetX + kBorder;
    const int top = mOffsetY + kBorder;
    return {left, top, left + mResWidth, top + mResHeight};
}

QTransform TPrevXState::pageTransform(int pageWidth, int pageHeight) const
{
    const DeviceRect r = printableRect();
    const qreal sx = pageWidth > 0 ? qreal(r.width()) / pageWidth : 0.0;
    const qreal sy = pageHeight > 0 ? qreal(r.height()) / pageHeight : 0.0;
    return QTransform(sx, 0, 0, sy, r.left, r.top);
}

void TPrevXState::paintSheet(Canvas& canvas) const
{
    canvas.setPen(Qt::black, Canvas::PenStyle::Solid, 1);
    canvas.setBrush(Qt::white, false);
    canvas.rectangle(sheetRect());
    canvas.setPen(Qt::black, Canvas::PenStyle::Dot, 1);
    canvas.rectangle(printableRect());
}

} // namespace nobrisa
