#include "render/drawslipform.h"

#include "model/coords.h"
#include "render/canvas.h"

#include <QColor>

#include <initializer_list>

namespace nobrisa {

namespace {

// A frame in 0.1 mm: left, top, right, bottom.
struct Frame {
    int left;
    int top;
    int right;
    int bottom;
};

// The frames, numbered in the order they are drawn.
constexpr Frame kFrames[] = {
    {40, 120, 1210, 700},    // 1
    {40, 55, 290, 120},      // 2
    {40, 230, 1210, 330},    // 3
    {40, 700, 860, 900},     // 4
    {860, 700, 1210, 980},   // 5
    {750, 120, 804, 330},    // 6
    {40, 230, 90, 900},      // 7
    {40, 120, 750, 150},     // 8
    {804, 120, 1210, 150},   // 9
    {294, 150, 320, 230},    // 10
    {371, 150, 397, 230},    // 11
    {40, 55, 125, 120},      // 12
    {860, 700, 910, 980},    // 13
    {1310, 150, 1360, 1110}, // 14
    {1360, 150, 1696, 230},  // 15
    {1310, 340, 1767, 1110}, // 16
    {1360, 230, 1767, 260},  // 17
    {1310, 340, 1767, 440},  // 18
    {1360, 440, 1767, 470},  // 19
    {1310, 550, 1767, 790},  // 20
    {1310, 790, 1465, 940},  // 21
    {1310, 940, 1465, 1110}, // 22
    {1465, 790, 1767, 830},  // 23
};

} // namespace

void DrawSlipForm(Canvas& canvas, const Coords& coords)
{
    canvas.setPen(QColor(0, 0, 255), Canvas::PenStyle::Solid, 1);
    canvas.setBrush(QColor(), true);
    canvas.setBkModeTransparent();

    const auto frames = [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            const Frame& f = kFrames[i - 1];
            canvas.rectangle(
                {coords.mmx(f.left), coords.mmy(f.top), coords.mmx(f.right), coords.mmy(f.bottom)});
        }
    };
    const auto dividers = [&](int top, int bottom, std::initializer_list<int> xs) {
        for (const int x : xs) {
            canvas.moveTo(coords.mmx(x), coords.mmy(top));
            canvas.lineTo(coords.mmx(x), coords.mmy(bottom));
        }
    };

    frames(1, 9);
    // The left part's digit row: the account number's first five cells, its separators, its
    // last seven cells, then the amount's eight.
    dividers(150, 230, {90, 141, 192, 243});
    frames(10, 11);
    dividers(150, 230, {448, 499, 550, 601, 652, 703});
    dividers(150, 230, {804, 855, 906, 957, 1008, 1059, 1110, 1161});
    frames(12, 16);
    // The receipt part's cells: account number, its second row, then the amount.
    dividers(150, 230, {1410, 1461, 1512, 1563, 1614, 1645, 1696});
    frames(17, 17);
    dividers(260, 340, {1461, 1512, 1563, 1614, 1665, 1716, 1767});
    frames(18, 19);
    dividers(440, 550, {1410, 1461, 1512, 1563, 1614, 1665, 1716, 1767});
    frames(20, 23);
}

} // namespace nobrisa
