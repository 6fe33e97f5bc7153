#pragma once

#include "render/textlayout.h"

#include <QColor>
#include <QString>

namespace nobrisa {

inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;

// Windows MulDiv: a × b / c computed in 64 bits, rounded half away from zero; -1 when c is 0
// or the result is beyond ±INT_MAX (so that a result can always be negated).
int mulDiv(int a, int b, int c) noexcept;

// The GDI-like drawing surface every renderer draws on, in device pixels with the origin at the
// printable area's top-left corner. The font follows the GDI model, because the fitting rules
// depend on it: a negative height is the em height, a positive height the cell height (internal
// leading included), and sizes in points convert through MulDiv at the font resolution.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Pixels per inch that turn points into pixels (the printer's LOGPIXELSY).
    void setFontPixelsPerInch(int ppi);
    int fontPixelsPerInch() const noexcept { return mPpi; }

    void setFontName(const QString& face);
    const QString& fontName() const noexcept { return mFace; }
    void setFontCharset(int charset);
    int fontCharset() const noexcept { return mCharset; }

    // height := -MulDiv(pt, ppi, 72)
    void setFontSizePt(int pt);
    // height := px (positive: cell height)
    void setFontHeightPx(int px);
    // -MulDiv(height, 72, ppi): a positive cell height reads back negative.
    int fontSizePt() const noexcept;
    int fontHeight() const noexcept { return mHeight; }

    void setBkModeTransparent();
    bool bkTransparent() const noexcept { return mTransparent; }

    virtual void textOut(int x, int y, const QString& text) = 0;
    virtual int textWidth(const QString& text) = 0;
    virtual int textHeight(const QString& text) = 0;

    // DrawText: lays the text out with layoutDrawText on this canvas's metrics and draws the
    // runs clipped to the layout's rectangle.
    virtual void drawText(const QString& text, const DeviceRect& rect, unsigned flags);

    // Shapes, for the blank form and the page preview.
    enum class PenStyle { Solid, Dot };
    virtual void setPen(const QColor& color, PenStyle style, int width) = 0;
    virtual void setBrush(const QColor& color, bool clear) = 0;
    virtual void rectangle(const DeviceRect& r) = 0;
    virtual void moveTo(int x, int y);
    virtual void lineTo(int x, int y) = 0;
    virtual void ellipse(const DeviceRect& r) = 0;
    virtual void roundRect(const DeviceRect& r, int ellipseWidth, int ellipseHeight) = 0;

    // The layout metrics of the current font: a page recording measures its texts on the
    // printer's canvas through this, so that they are laid out as the printer lays them out.
    const TextMeasure& currentMeasure() { return measure(); }
    // Draws one run of a text laid out before, clipped to `clip`: how a recording replays the
    // lines of a DrawText without laying them out again.
    void textRun(const TextRun& run, const DeviceRect& clip) { drawTextRun(run, clip); }

protected:
    // Called after any font attribute changed, before the next text call.
    virtual void fontChanged() {}
    // Metrics of the current font for the layout.
    virtual const TextMeasure& measure() = 0;
    // Draws one run of a laid-out text, clipped to `clip`.
    virtual void drawTextRun(const TextRun& run, const DeviceRect& clip) = 0;

    int penX() const noexcept { return mPenX; }
    int penY() const noexcept { return mPenY; }
    void setPenPosition(int x, int y) noexcept
    {
        mPenX = x;
        mPenY = y;
    }

private:
    QString mFace;
    int mHeight = 0;
    int mPpi = 96;
    int mCharset = DEFAULT_CHARSET;
    bool mTransparent = false;
    int mPenX = 0;
    int mPenY = 0;
};

} // namespace nobrisa
