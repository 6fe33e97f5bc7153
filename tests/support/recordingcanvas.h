#pragma once

#include "render/canvas.h"

#include <QString>

#include <memory>
#include <tuple>
#include <vector>

namespace nobrisa::test {

// A canvas that records every text call with the font in force, over deterministic metrics:
// the em height is −height for a size in points and 4/5 of a positive cell height; the cell is
// 5/4 of the em; a CJK or full-width character is one em wide, anything else half an em.
class RecordingCanvas final : public Canvas {
public:
    struct Call {
        enum class Kind { TextOut, DrawText } kind;
        QString text;
        int x = 0;            // TextOut
        int y = 0;            // TextOut
        DeviceRect rect;      // DrawText
        unsigned flags = 0;   // DrawText
        QString face;
        int height = 0;       // GDI font height at the time of the call
    };

    std::vector<Call> calls;

    void textOut(int x, int y, const QString& text) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;
    void drawText(const QString& text, const DeviceRect& rect, unsigned flags) override;

    void setPen(const QColor&, PenStyle, int) override {}
    void setBrush(const QColor&, bool) override {}
    void rectangle(const DeviceRect&) override {}
    void lineTo(int, int) override {}
    void ellipse(const DeviceRect&) override {}
    void roundRect(const DeviceRect&, int, int) override {}

    int em() const;
    int cellHeight() const;

    std::vector<Call> textOuts() const;
    std::vector<Call> drawTexts() const;

protected:
    const TextMeasure& measure() override;
    void drawTextRun(const TextRun&, const DeviceRect&) override {}

private:
    class Measure;
    std::unique_ptr<TextMeasure> mMeasure;
};

// Where each recorded call put its text: (x, y, text), for comparing TextOut placements.
using Placed = std::tuple<int, int, QString>;
std::vector<Placed> placed(const std::vector<RecordingCanvas::Call>& calls);

} // namespace nobrisa::test
