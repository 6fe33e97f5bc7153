#pragma once

#include "render/canvas.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QHash>
#include <QPen>
#include <QRawFont>

#include <memory>

class QPainter;
class QPaintDevice;

namespace nobrisa {

// A text shaped for drawing: its glyph runs, positioned from the top-left of its line, and how
// far that line's baseline lies below the primary font's ascent (a fallback font can be taller).
struct ShapedText {
    QList<QGlyphRun> runs;
    qreal baselineShift = 0;
};

// Shapes one line of text in `font`, whose primary face is `primary` (QRawFont::fromFont of it,
// kept by the caller: finding it costs more than laying a short text). Text that the font covers
// and that needs no shaping (Japanese, Latin, digits: no marks, no right-to-left or complex
// scripts, no controls) is laid glyph by glyph from the font's own advances, several times
// faster than a QTextLayout and with the same positions; any other text goes through
// QTextLayout, which finds fallback fonts.
ShapedText shapeLine(const QFont& font, const QRawFont& primary, const QFontMetrics& metrics,
                     QPaintDevice* device, const QString& text);
// The QTextLayout path alone; shapeLine's fast path must give what this gives.
ShapedText shapeLineWithLayout(const QFont& font, const QFontMetrics& metrics,
                               QPaintDevice* device, const QString& text);

// The Canvas over a QPainter on any paint device: a QPrinter page, a PDF, a recorded page or an
// image. Coordinates are the painter's; whoever sets the painter up translates it so that (0, 0)
// is the printable area's top-left corner. Text is drawn without a background, as GDI does in
// TRANSPARENT mode, which is the only mode the renderers use.
//
// The GDI font height maps onto Qt as follows: a negative height −h is the em height, QFont pixel
// size h; a positive height h is the cell height, so the pixel size is the one whose ascent +
// descent comes nearest to h. The QFont and its metrics are built once per font change, not per
// call, because a long continuous print draws thousands of texts in a handful of fonts.
class QtCanvas final : public Canvas {
public:
    // The painter must be active whenever text is measured or drawn; the canvas does not own it.
    explicit QtCanvas(QPainter* painter = nullptr);

    // Switches to another painter (a new job begins a new painter); the font is resolved again
    // for its device.
    void setPainter(QPainter* painter);
    QPainter* painter() const noexcept { return mPainter; }

    // Texts are gathered and drawn a font at a time (a page of digits becomes a handful of glyph
    // runs instead of dozens, which a PDF writes several times faster). Shapes, a clip and a
    // change of painter draw what was gathered first; call flush() before the page ends or the
    // painter's device is read.
    void flush();

    void textOut(int x, int y, const QString& text) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;

    void setPen(const QColor& color, PenStyle style, int width) override;
    void setBrush(const QColor& color, bool clear) override;
    void rectangle(const DeviceRect& r) override;
    void lineTo(int x, int y) override;
    void ellipse(const DeviceRect& r) override;
    void roundRect(const DeviceRect& r, int ellipseWidth, int ellipseHeight) override;

    // The QFont the current GDI font state resolves to (pixel size in device pixels).
    const QFont& qfont();
    const QFontMetrics& metrics();

protected:
    void fontChanged() override;
    const TextMeasure& measure() override;
    void drawTextRun(const TextRun& run, const DeviceRect& clip) override;

private:
    class Measure final : public TextMeasure {
    public:
        explicit Measure(QtCanvas& canvas)
            : mCanvas(canvas)
        {
        }
        int width(QStringView text) const override;
        int height() const override;
        int externalLeading() const override;
        int averageCharWidth() const override;

    private:
        QtCanvas& mCanvas;
    };

    // One resolved font: the QFont, its metrics and the advance of every character measured so
    // far. A continuous print draws thousands of texts in a handful of fonts, so fonts and
    // advances are resolved once and kept.
    struct FontEntry {
        QFont font;
        QFontMetrics metrics;
        QRawFont primary;
        QHash<char32_t, int> advances;
        // The glyph runs of each text drawn in this font.
        QHash<QString, ShapedText> shaped;
    };

    // Draws a text with its baseline at y + ascent, shaping each text once per font; with
    // `gather` the glyphs wait in mPending for the next flush().
    const ShapedText& shapedText(const QString& text);
    void drawShaped(int x, int y, const QString& text, bool gather);

    // Glyphs waiting to be drawn, one entry a font.
    struct PendingRun {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    void resolveFont();
    // The width of a text as GDI measures it: the sum of each character's whole-pixel advance.
    int advanceOf(QStringView text);
    void useTextPen();
    void useShapePen();
    int pixelSizeForCellHeight(const QFont& font, int cellHeight);
    QRect outlineRect(const DeviceRect& r) const;

    QPainter* mPainter = nullptr;
    QHash<QString, std::shared_ptr<FontEntry>> mFonts; // by face and GDI height
    FontEntry* mCurrent = nullptr;
    bool mFontStale = true;
    bool mTextPenSet = false;
    Measure mMeasure{*this};
    // Cell height → pixel size, per family: finding it takes several metric lookups.
    QHash<QString, int> mCellHeightSizes;
    QPen mPen{Qt::black, 0};
    QBrush mBrush{Qt::NoBrush};
    std::vector<PendingRun> mPending;
};

} // namespace nobrisa
