#include "ui/tprevx.h"

#include "platform/metricscanvas.h"
#include "platform/qtcanvas.h"
#include "platform/qtprinterdevice.h"
#include "preview/metafileexport.h"
#include "render/printerdevice.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace nobrisa {

TPrevX::TPrevX(PrinterDevice& printer, QWidget* parent)
    : QWidget(parent)
    , mPrinter(printer)
{
    setObjectName(QStringLiteral("PrevX1"));
}

TPrevX::~TPrevX() = default;

int TPrevX::screenPpi() const
{
    return logicalDpiY();
}

Canvas* TPrevX::canvas() noexcept
{
    return mRecorder.get();
}

PrevError TPrevX::BeginDoc()
{
    if (const PrevError error = mState.beginDoc(mPrinter, screenPpi()); error != PrevError::None)
        return error;
    mRecorder.reset();
    mPages.clear();
    // Texts are laid out with the fonts at the printer's resolution, whatever it is now.
    mMetrics = std::make_unique<MetricsCanvas>(mState.inchPixelsY());
    const PrevError error = startPage();
    takeControlSize();
    return error;
}

PrevError TPrevX::NewPage()
{
    if (mRecorder == nullptr)
        return PrevError::None; // no document open: nothing to add a page to
    if (const PrevError error = mState.newPage(mPrinter); error != PrevError::None)
        return error;
    return startPage();
}

PrevError TPrevX::startPage()
{
    // The recorder holds the page it writes to: close it before the list can move its pages.
    mRecorder.reset();
    mPages.push_back({{},
                      mPrinter.deviceCaps(DeviceCap::HorzRes),
                      mPrinter.deviceCaps(DeviceCap::VertRes),
                      mPrinter.deviceCaps(DeviceCap::LogPixelsY)});
    Canvas& metrics = mTextMetrics != nullptr ? *mTextMetrics : mMetrics->canvas();
    mRecorder = std::make_unique<PageRecorder>(metrics, mPages.back().recording);
    // As the printer's page canvas starts: point sizes at the printer's resolution.
    mRecorder->setFontPixelsPerInch(mState.inchPixelsY());
    mRecorder->setFontCharset(DEFAULT_CHARSET);
    return PrevError::None;
}

bool TPrevX::SaveToFile(const QString& fileName, QString* error) const
{
    if (mPages.empty())
        return true;
    const std::size_t shown = static_cast<std::size_t>(
        std::clamp(mState.pageNumber(), 1, static_cast<int>(mPages.size())) - 1);
    const Page& page = mPages[shown];
    return saveRecording(page.recording, PictureSize{page.width, page.height, page.pixelsPerInch},
                         fileName, error);
}

void TPrevX::EndDoc()
{
    mRecorder.reset();
    mState.endDoc();
    update();
}

PrintOutcome TPrevX::Print()
{
    const PrevPrintPages range = mState.printPages(mPrinter);
    if (range.error != PrevError::None)
        return {false, 0, prevErrorMessage(range.error)};
    mPrinter.setTitle(mState.title());
    return runPrintJob(mPrinter, range.last - range.first + 1, [&](Canvas& canvas, int i) {
        mPages[static_cast<std::size_t>(range.first - 1 + i)].recording.replay(canvas);
    });
}

PrevError TPrevX::SetPrinterMode(int paperCode, Orientation orientation)
{
    if (mPrinter.deviceCaps(DeviceCap::LogPixelsX) <= 0 ||
        mPrinter.deviceCaps(DeviceCap::LogPixelsY) <= 0)
        return PrevError::NoPrinter;
    if (auto* qt = dynamic_cast<QtPrinterDevice*>(&mPrinter))
        qt->setPaperCode(paperCode);
    mPrinter.setOrientation(orientation);
    return refresh();
}

bool TPrevX::setZoomScale(int zoom)
{
    if (!mState.setZoomScale(zoom))
        return false;
    refresh();
    update();
    return true;
}

bool TPrevX::setPageNumber(int page)
{
    if (!mState.setPageNumber(page))
        return false;
    update();
    return true;
}

PrevError TPrevX::refresh()
{
    const PrevError error = mState.updatePrinterMetrics(mPrinter, screenPpi());
    if (error == PrevError::None)
        takeControlSize();
    update();
    return error;
}

void TPrevX::takeControlSize()
{
    const QSize size(mState.controlWidth(), mState.controlHeight());
    if (this->size() != size)
        setFixedSize(size);
}

void TPrevX::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Every paint reads the printer afresh; a printer that answers nothing leaves the last sheet.
    if (mState.updatePrinterMetrics(mPrinter, screenPpi()) == PrevError::None &&
        size() != QSize(mState.controlWidth(), mState.controlHeight())) {
        // Resizing inside a paint would paint again at once: take the size after this one.
        QMetaObject::invokeMethod(this, &TPrevX::takeControlSize, Qt::QueuedConnection);
    }
    QtCanvas sheet(&painter);
    mState.paintSheet(sheet);
    sheet.flush();

    // The page being recorded is not shown until the document is closed.
    const int shown = mState.pageNumber();
    if (mRecorder != nullptr || shown < 1 || shown > static_cast<int>(mPages.size()))
        return;
    const Page& page = mPages[static_cast<std::size_t>(shown - 1)];
    const DeviceRect area = mState.printableRect();
    painter.setClipRect(QRect(area.left, area.top, area.width(), area.height()));
    painter.setTransform(mState.pageTransform(page.width, page.height));
    QtCanvas canvas(&painter);
    page.recording.replay(canvas);
    canvas.flush();
}

} // namespace nobrisa
