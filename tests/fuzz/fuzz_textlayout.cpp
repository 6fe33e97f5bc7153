// DrawText's layout with any text, box, flags and font size on fake metrics: no crash, no
// hang, and the runs hold no more of the text than there is.
#include "fuzzcheck.h"

#include "render/textlayout.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <limits>

using namespace nobrisa;

namespace {

// The tests' canvas metrics with the em given: CJK and full-width characters one em wide,
// anything else half an em, saturated like a real canvas measuring a long text.
class FuzzMeasure final : public TextMeasure {
public:
    int em = 0;
    int leading = 0;
    int average = 0;

    int width(QStringView text) const override
    {
        std::int64_t w = 0;
        for (QChar c : text)
            w += c.unicode() >= 0x2E80 ? em : em / 2;
        return static_cast<int>(std::min<std::int64_t>(w, std::numeric_limits<int>::max()));
    }
    int height() const override
    {
        return static_cast<int>(
            std::min<std::int64_t>(std::int64_t{em} * 5 / 4, std::numeric_limits<int>::max()));
    }
    int externalLeading() const override { return leading; }
    int averageCharWidth() const override { return average; }
};

constexpr std::array<unsigned, 5> kRendererFlags = {kFlagsNameOneLine, kFlagsNameLines, kFlagsBlock,
                                                    kFlagsPayerOneLine, kFlagsRowName};
constexpr unsigned kKnownFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK |
                                 DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX |
                                 DT_EDITCONTROL;

int coordinate(FuzzedDataProvider& in)
{
    // Mostly a slip's range, sometimes anything an int holds.
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-20000, 20000) : in.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::uint8_t choice = in.ConsumeIntegral<std::uint8_t>();
    const unsigned flags = choice < 128 ? kRendererFlags[choice % kRendererFlags.size()]
                                        : in.ConsumeIntegral<unsigned>() & kKnownFlags;
    DeviceRect rect;
    rect.left = coordinate(in);
    rect.top = coordinate(in);
    rect.right = coordinate(in);
    rect.bottom = coordinate(in);
    FuzzMeasure measure;
    measure.em = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 400) : in.ConsumeIntegral<int>();
    measure.leading = in.ConsumeIntegralInRange(-10, 100);
    measure.average = in.ConsumeBool() ? measure.em / 2 : in.ConsumeIntegral<int>();
    const bool utf16 = in.ConsumeBool();
    const QString text = fuzz::textOf(fuzz::bytesOf(data, in.remaining_bytes()), utf16);

    const TextLayout layout = layoutDrawText(text, rect, flags, measure);
    fuzz::check(layout.clip == rect, "clipped to the box");
    fuzz::check(layout.lineCount >= 0, "line count");
    qsizetype drawn = 0;
    for (const TextRun& run : layout.runs) {
        fuzz::check(!run.text.contains(u'\r') && !run.text.contains(u'\n'),
                    "no line break in a run", run.text);
        drawn += run.text.size();
    }
    fuzz::check(drawn <= text.size(), "runs hold no more than the text", text);
    return 0;
}
