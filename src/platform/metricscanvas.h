#pragma once

#include "platform/qtcanvas.h"

#include <QImage>
#include <QPainter>

namespace nobrisa {

// The fonts of the printer's canvas without a print job: a QtCanvas over a one-pixel image, with
// the font resolution of the printer. Fonts are sized in pixels, so it measures every text as the
// printer's canvas does; a page recording lays its texts out on it for the facsimile and the
// paper previews, whenever they are built.
class MetricsCanvas final {
public:
    explicit MetricsCanvas(int pixelsPerInch);
    ~MetricsCanvas();
    MetricsCanvas(const MetricsCanvas&) = delete;
    MetricsCanvas& operator=(const MetricsCanvas&) = delete;

    Canvas& canvas() noexcept { return mCanvas; }

private:
    QImage mImage;
    QPainter mPainter;
    QtCanvas mCanvas;
};

} // namespace nobrisa
