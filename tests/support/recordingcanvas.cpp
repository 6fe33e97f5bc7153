#include "support/recordingcanvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace nobrisa::test {

namespace {

bool isWide(QChar c)
{
    return c.unicode() >= 0x2E80;
}

int widthAt(const QString& text, int em)
{
    // In 64 bits and saturated, as a real canvas measures a long text in a huge font.
    std::int64_t w = 0;
    for (QChar c : text)
        w += isWide(c) ? em : em / 2;
    return static_cast<int>(std::min<std::int64_t>(w, std::numeric_limits<int>::max()));
}

} // namespace

class RecordingCanvas::Measure final : public TextMeasure {
public:
    explicit Measure(const RecordingCanvas& canvas) : mCanvas(canvas) {}
    int width(QStringView text) const override
    {
        return widthAt(text.toString(), mCanvas.em());
    }
    int height() const override { return mCanvas.cellHeight(); }
    int externalLeading() const override { return mCanvas.em() / 10; }
    int averageCharWidth() const override { return mCanvas.em() / 2; }

private:
    const RecordingCanvas& mCanvas;
};

int RecordingCanvas::em() const
{
    const std::int64_t h = fontHeight();
    return static_cast<int>(
        std::min<std::int64_t>(h < 0 ? -h : h * 4 / 5, std::numeric_limits<int>::max()));
}

int RecordingCanvas::cellHeight() const
{
    const int h = fontHeight();
    return h > 0 ? h
                 : static_cast<int>(std::min<std::int64_t>(std::int64_t{em()} * 5 / 4,
                                                           std::numeric_limits<int>::max()));
}

void RecordingCanvas::textOut(int x, int y, const QString& text)
{
    calls.push_back({Call::Kind::TextOut, text, x, y, {}, 0, fontName(), fontHeight()});
}

int RecordingCanvas::textWidth(const QString& text)
{
    return widthAt(text, em());
}

int RecordingCanvas::textHeight(const QString&)
{
    return cellHeight();
}

void RecordingCanvas::drawText(const QString& text, const DeviceRect& rect, unsigned flags)
{
    calls.push_back({Call::Kind::DrawText, text, 0, 0, rect, flags, fontName(), fontHeight()});
}

const TextMeasure& RecordingCanvas::measure()
{
    if (!mMeasure)
        mMeasure = std::make_unique<Measure>(*this);
    return *mMeasure;
}

std::vector<RecordingCanvas::Call> RecordingCanvas::textOuts() const
{
    std::vector<Call> out;
    for (const Call& c : calls)
        if (c.kind == Call::Kind::TextOut)
            out.push_back(c);
    return out;
}

std::vector<RecordingCanvas::Call> RecordingCanvas::drawTexts() const
{
    std::vector<Call> out;
    for (const Call& c : calls)
        if (c.kind == Call::Kind::DrawText)
            out.push_back(c);
    return out;
}

std::vector<Placed> placed(const std::vector<RecordingCanvas::Call>& calls)
{
    std::vector<Placed> out;
    for (const RecordingCanvas::Call& c : calls)
        out.emplace_back(c.x, c.y, c.text);
    return out;
}

} // namespace nobrisa::test
