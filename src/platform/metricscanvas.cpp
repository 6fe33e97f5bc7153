#include "platform/metricscanvas.h"

namespace nobrisa {

MetricsCanvas::MetricsCanvas(int pixelsPerInch)
    : mImage(1, 1, QImage::Format_RGB32)
{
    mPainter.begin(&mImage);
    mCanvas.setPainter(&mPainter);
    mCanvas.setFontPixelsPerInch(pixelsPerInch);
}

MetricsCanvas::~MetricsCanvas()
{
    mCanvas.setPainter(nullptr);
    mPainter.end();
}

} // namespace nobrisa
