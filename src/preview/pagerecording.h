#pragma once

#include "render/canvas.h"

#include <QColor>
#include <QString>

#include <vector>

namespace nobrisa {

// The font a recorded text is drawn with, as the canvas held it.
struct RecordedFont {
    QString face;
    int height = 0; // GDI height: negative em height, positive cell height
    int pixelsPerInch = 96;
    int charset = DEFAULT_CHARSET;
    bool operator==(const RecordedFont&) const = default;
};

// One drawing call of a recorded page, in device pixels.
struct DrawCall {
    enum class Kind {
        Font,          // font
        BkTransparent, //
        Pen,           // color, penStyle, width
        Brush,         // color, clearBrush
        Rectangle,     // rect
        Ellipse,       // rect
        RoundRect,     // rect, x and y: the corner ellipse's width and height
        MoveTo,        // x, y
        LineTo,        // x, y
        TextOut,       // x, y, text
        TextRun,       // x, y, text, rect: the clip of the DrawText it was laid out by
    };
    Kind kind = Kind::TextOut;
    int x = 0;
    int y = 0;
    DeviceRect rect;
    QString text;
    RecordedFont font;
    QColor color;
    Canvas::PenStyle penStyle = Canvas::PenStyle::Solid;
    int width = 0;
    bool clearBrush = false;
    bool operator==(const DrawCall&) const = default;
};

// A page as a list of drawing calls: what the facsimile, the paper previews and the metafile
// writers show is the very list a print would draw. The texts of DrawText are kept as the runs
// the printer's metrics laid them out into, so a replay draws every line where the printer
// would, whatever canvas it goes to.
struct PageRecording {
    std::vector<DrawCall> calls;

    // Draws the page on `target`: fonts, pens, brushes and the background mode as recorded,
    // then each shape and text run.
    void replay(Canvas& target) const;
};

// A canvas that records what is drawn on it into a PageRecording. Texts are measured and laid
// out on `metrics` (the printer's canvas, whose fonts it sets to the recorder's), so the
// fitting rules see the printer's widths and heights; nothing is drawn on `metrics`.
class PageRecorder final : public Canvas {
public:
    PageRecorder(Canvas& metrics, PageRecording& page);

    void textOut(int x, int y, const QString& text) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;

    void setPen(const QColor& color, PenStyle style, int width) override;
    void setBrush(const QColor& color, bool clear) override;
    void rectangle(const DeviceRect& r) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void ellipse(const DeviceRect& r) override;
    void roundRect(const DeviceRect& r, int ellipseWidth, int ellipseHeight) override;

protected:
    void fontChanged() override { mFontStale = true; }
    const TextMeasure& measure() override;
    void drawTextRun(const TextRun& run, const DeviceRect& clip) override;

private:
    RecordedFont currentFont() const;
    // Brings the metrics canvas to the current font.
    void syncMetrics();
    // Records the font and background mode in force when they differ from the last recorded.
    void recordTextState();
    void add(DrawCall call) { mPage.calls.push_back(std::move(call)); }

    Canvas& mMetrics;
    PageRecording& mPage;
    bool mFontStale = true;
    RecordedFont mMetricsFont;
    bool mMetricsSynced = false;
    RecordedFont mRecordedFont;
    bool mFontRecorded = false;
    bool mBkRecorded = false;
};

} // namespace nobrisa
