#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace nobrisa {

// A rectangle in device pixels with GDI semantics: right and bottom are exclusive.
struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Computed in 64 bits and saturated: edges far apart give the largest int, not overflow.
    int width() const noexcept { return span(left, right); }
    int height() const noexcept { return span(top, bottom); }
    bool operator==(const DeviceRect&) const = default;

private:
    static int span(int from, int to) noexcept
    {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from,
                                                         std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    }
};

// The DrawText flags the renderers use (values of the Windows DT_ constants).
enum DrawTextFlag : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_EXTERNALLEADING = 0x200,
    DT_NOPREFIX = 0x800,
    DT_EDITCONTROL = 0x2000,
};

// The flag sets the slip renderers draw with.
inline constexpr unsigned kFlagsNameOneLine = 0x2835;   // centred both ways, one line
inline constexpr unsigned kFlagsNameLines = 0x2815;     // lines centred, block from the top
inline constexpr unsigned kFlagsBlock = 0x2A50;         // left-aligned block, tabs, leading
inline constexpr unsigned kFlagsPayerOneLine = 0x2A74;  // one line, left, centred vertically
inline constexpr unsigned kFlagsRowName = 0x2A11;       // lines centred, external leading

// What the layout needs to know of the current font, in device pixels.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int width(QStringView text) const = 0; // advance width
    virtual int height() const = 0;                // cell height: ascent + descent
    virtual int externalLeading() const = 0;
    virtual int averageCharWidth() const = 0;      // tab stops are 8 of these apart
};

// One piece of text to draw with the top-left of its first character cell at (x, y).
struct TextRun {
    QString text;
    int x = 0;
    int y = 0;
    bool operator==(const TextRun&) const = default;
};

// Where DrawText puts its text: the runs to draw and the rectangle they are clipped to.
struct TextLayout {
    std::vector<TextRun> runs;
    DeviceRect clip;
    int lineCount = 0; // lines drawn (after dropping a partly visible last line)
};

// Lays out a text in a rectangle as DrawText does for the flags above: centring, vertical
// centring of single lines, word and CJK line breaking, tab expansion, external leading, "&"
// literal (DT_NOPREFIX), clipping to the box, and the edit-control rule of not drawing a last
// line that would be only partly visible.
TextLayout layoutDrawText(const QString& text, const DeviceRect& rect, unsigned flags,
                          const TextMeasure& measure);

} // namespace nobrisa
