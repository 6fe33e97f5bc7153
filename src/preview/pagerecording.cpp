#include "preview/pagerecording.h"

namespace nobrisa {

namespace {

void applyFont(Canvas& canvas, const RecordedFont& font)
{
    // The height goes in as stored: a point size would round through the resolution again.
    canvas.setFontPixelsPerInch(font.pixelsPerInch);
    canvas.setFontName(font.face);
    canvas.setFontCharset(font.charset);
    canvas.setFontHeightPx(font.height);
}

} // namespace

void PageRecording::replay(Canvas& target) const
{
    for (const DrawCall& c : calls) {
        switch (c.kind) {
        case DrawCall::Kind::Font:
            applyFont(target, c.font);
            break;
        case DrawCall::Kind::BkTransparent:
            target.setBkModeTransparent();
            break;
        case DrawCall::Kind::Pen:
            target.setPen(c.color, c.penStyle, c.width);
            break;
        case DrawCall::Kind::Brush:
            target.setBrush(c.color, c.clearBrush);
            break;
        case DrawCall::Kind::Rectangle:
            target.rectangle(c.rect);
            break;
        case DrawCall::Kind::Ellipse:
            target.ellipse(c.rect);
            break;
        case DrawCall::Kind::RoundRect:
            target.roundRect(c.rect, c.x, c.y);
            break;
        case DrawCall::Kind::MoveTo:
            target.moveTo(c.x, c.y);
            break;
        case DrawCall::Kind::LineTo:
            target.lineTo(c.x, c.y);
            break;
        case DrawCall::Kind::TextOut:
            target.textOut(c.x, c.y, c.text);
            break;
        case DrawCall::Kind::TextRun:
            target.textRun(TextRun{c.text, c.x, c.y}, c.rect);
            break;
        }
    }
}

PageRecorder::PageRecorder(Canvas& metrics, PageRecording& page)
    : mMetrics(metrics)
    , mPage(page)
{
    // Point sizes turn into heights at the printer's resolution unless the caller says other.
    setFontPixelsPerInch(metrics.fontPixelsPerInch());
}

RecordedFont PageRecorder::currentFont() const
{
    return RecordedFont{fontName(), fontHeight(), fontPixelsPerInch(), fontCharset()};
}

void PageRecorder::syncMetrics()
{
    if (!mFontStale && mMetricsSynced)
        return;
    const RecordedFont font = currentFont();
    if (!mMetricsSynced || font != mMetricsFont) {
        applyFont(mMetrics, font);
        mMetricsFont = font;
        mMetricsSynced = true;
    }
    mFontStale = false;
}

void PageRecorder::recordTextState()
{
    const RecordedFont font = currentFont();
    if (!mFontRecorded || font != mRecordedFont) {
        DrawCall call;
        call.kind = DrawCall::Kind::Font;
        call.font = font;
        add(std::move(call));
        mRecordedFont = font;
        mFontRecorded = true;
    }
    // The background mode only ever turns transparent.
    if (bkTransparent() && !mBkRecorded) {
        DrawCall call;
        call.kind = DrawCall::Kind::BkTransparent;
        add(std::move(call));
        mBkRecorded = true;
    }
}

void PageRecorder::textOut(int x, int y, const QString& text)
{
    recordTextState();
    DrawCall call;
    call.kind = DrawCall::Kind::TextOut;
    call.x = x;
    call.y = y;
    call.text = text;
    add(std::move(call));
}

int PageRecorder::textWidth(const QString& text)
{
    syncMetrics();
    return mMetrics.textWidth(text);
}

int PageRecorder::textHeight(const QString& text)
{
    syncMetrics();
    return mMetrics.textHeight(text);
}

const TextMeasure& PageRecorder::measure()
{
    syncMetrics();
    return mMetrics.currentMeasure();
}

void PageRecorder::drawTextRun(const TextRun& run, const DeviceRect& clip)
{
    recordTextState();
    DrawCall call;
    call.kind = DrawCall::Kind::TextRun;
    call.x = run.x;
    call.y = run.y;
    call.text = run.text;
    call.rect = clip;
    add(std::move(call));
}

void PageRecorder::setPen(const QColor& color, PenStyle style, int width)
{
    DrawCall call;
    call.kind = DrawCall::Kind::Pen;
    call.color = color;
    call.penStyle = style;
    call.width = width;
    add(std::move(call));
}

void PageRecorder::setBrush(const QColor& color, bool clear)
{
    DrawCall call;
    call.kind = DrawCall::Kind::Brush;
    call.color = color;
    call.clearBrush = clear;
    add(std::move(call));
}

void PageRecorder::rectangle(const DeviceRect& r)
{
    DrawCall call;
    call.kind = DrawCall::Kind::Rectangle;
    call.rect = r;
    add(std::move(call));
}

void PageRecorder::moveTo(int x, int y)
{
    Canvas::moveTo(x, y);
    DrawCall call;
    call.kind = DrawCall::Kind::MoveTo;
    call.x = x;
    call.y = y;
    add(std::move(call));
}

void PageRecorder::lineTo(int x, int y)
{
    setPenPosition(x, y);
    DrawCall call;
    call.kind = DrawCall::Kind::LineTo;
    call.x = x;
    call.y = y;
    add(std::move(call));
}

void PageRecorder::ellipse(const DeviceRect& r)
{
    DrawCall call;
    call.kind = DrawCall::Kind::Ellipse;
    call.rect = r;
    add(std::move(call));
}

void PageRecorder::roundRect(const DeviceRect& r, int ellipseWidth, int ellipseHeight)
{
    DrawCall call;
    call.kind = DrawCall::Kind::RoundRect;
    call.rect = r;
    call.x = ellipseWidth;
    call.y = ellipseHeight;
    add(std::move(call));
}

} // namespace nobrisa
