#include "render/canvas.h"

#include <cstdint>
#include <limits>

namespace nobrisa {

int mulDiv(int a, int b, int c) noexcept
{
    if (c == 0)
        return -1; // as Windows does
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t ap = p < 0 ? -p : p;
    const std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t q = (ap + ac / 2) / ac;
    // A result that does not fit in 32 bits is -1 too: a font size of ten digits then gives a
    // one-pixel font, as on Windows, instead of a wrapped height.
    if (q > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(negative ? -q : q);
}

void Canvas::setFontPixelsPerInch(int ppi)
{
    mPpi = ppi;
    fontChanged();
}

void Canvas::setFontName(const QString& face)
{
    mFace = face;
    fontChanged();
}

void Canvas::setFontCharset(int charset)
{
    mCharset = charset;
    fontChanged();
}

void Canvas::setFontSizePt(int pt)
{
    mHeight = -mulDiv(pt, mPpi, 72);
    fontChanged();
}

void Canvas::setFontHeightPx(int px)
{
    mHeight = px;
    fontChanged();
}

int Canvas::fontSizePt() const noexcept
{
    return -mulDiv(mHeight, 72, mPpi);
}

void Canvas::setBkModeTransparent()
{
    mTransparent = true;
}

void Canvas::drawText(const QString& text, const DeviceRect& rect, unsigned flags)
{
    const TextLayout layout = layoutDrawText(text, rect, flags, measure());
    for (const TextRun& run : layout.runs)
        drawTextRun(run, layout.clip);
}

void Canvas::moveTo(int x, int y)
{
    setPenPosition(x, y);
}

} // namespace nobrisa
