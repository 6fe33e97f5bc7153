#include "model/coords.h"
#include "render/canvas.h"
#include "render/drawslipform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace nobrisa {
namespace {

// Records the shapes drawn; a text call is a failure, as the blank form has none.
class ShapeCanvas final : public Canvas {
public:
    struct Shape {
        char kind;    // 'R' rectangle, 'L' line
        DeviceRect r; // a line's ends as (left, top) and (right, bottom)
    };
    std::vector<Shape> shapes;
    QColor pen;
    int penWidth = 0;
    PenStyle penStyle = PenStyle::Dot;
    bool clearBrush = false;

    void textOut(int, int, const QString& text) override { ADD_FAILURE() << text.toStdString(); }
    int textWidth(const QString&) override { return 0; }
    int textHeight(const QString&) override { return 0; }
    void setPen(const QColor& color, PenStyle style, int width) override
    {
        pen = color;
        penStyle = style;
        penWidth = width;
    }
    void setBrush(const QColor&, bool clear) override { clearBrush = clear; }
    void rectangle(const DeviceRect& r) override { shapes.push_back({'R', r}); }
    void lineTo(int x, int y) override { shapes.push_back({'L', {penX(), penY(), x, y}}); }
    void ellipse(const DeviceRect&) override { ADD_FAILURE() << "ellipse"; }
    void roundRect(const DeviceRect&, int, int) override { ADD_FAILURE() << "roundRect"; }

protected:
    const TextMeasure& measure() override { throw std::logic_error("no text on the form"); }
    void drawTextRun(const TextRun&, const DeviceRect&) override {}
};

// Catches: frames and dividers drawn in another order (the facsimile's layering and the
// metafile's records follow it), a divider missing or slanted, an x converted as a y or without
// the whole-print adjustment, and a pen or brush that would fill the cells over the contents.
TEST(DrawSlipForm, FramesAndDividersInOrderInBlueOutlinesThroughTheAdjustment)
{
    FixedDevice device; // 600 dpi
    device.offsetX = 100;
    device.offsetY = 50;
    ShapeCanvas canvas;
    DrawSlipForm(canvas, Coords(device, 25, -10));

    std::string order; // runs of rectangles and lines, e.g. "R9 L4"
    for (std::size_t i = 0; i < canvas.shapes.size();) {
        std::size_t n = 1;
        while (i + n < canvas.shapes.size() && canvas.shapes[i + n].kind == canvas.shapes[i].kind)
            ++n;
        order +=
            (order.empty() ? "" : " ") + std::string(1, canvas.shapes[i].kind) + std::to_string(n);
        i += n;
    }
    EXPECT_EQ(order, "R9 L4 R2 L14 R5 L7 R1 L7 R2 L8 R4");

    // Rectangle 1, (40, 120)-(1210, 700) shifted by (25, −10): 65 / 254 × 600 = 153.5 → 153 − 100;
    // 110 → 259.8 → 259 − 50; 1235 → 2917.3; 690 → 1629.9. The last divider, x 1767 from 440 to
    // 550: 1792 → 4233.07; 430 → 1015.7; 540 → 1275.6.
    const DeviceRect first = canvas.shapes.front().r;
    EXPECT_EQ((std::vector<int>{first.left, first.top, first.right, first.bottom}),
              (std::vector<int>{53, 209, 2817, 1579}));
    const DeviceRect last = canvas.shapes[canvas.shapes.size() - 5].r;
    EXPECT_EQ((std::vector<int>{last.left, last.top, last.right, last.bottom}),
              (std::vector<int>{4133, 965, 4133, 1225}));
    for (const auto& s : canvas.shapes) {
        if (s.kind == 'L') {
            EXPECT_EQ(s.r.left, s.r.right) << "dividers are vertical";
        }
    }

    EXPECT_EQ(canvas.pen, QColor(0, 0, 255));
    EXPECT_EQ(canvas.penWidth, 1);
    EXPECT_EQ(canvas.penStyle, Canvas::PenStyle::Solid);
    EXPECT_TRUE(canvas.clearBrush);
    EXPECT_TRUE(canvas.bkTransparent());
}

} // namespace
} // namespace nobrisa
