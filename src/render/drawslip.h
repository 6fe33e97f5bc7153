#pragma once

namespace nobrisa {

class Canvas;
class DeviceQuery;
class DigitCells;
struct TPrintPositions;
struct TSlipRecord;

// What a slip renderer reads and writes: the record (it writes back only the fitted sizes), the
// print positions, the device whose pixels mmx/mmy give (asked afresh at every conversion) and
// the shared digit cells, refilled by setko first.
struct SlipSource {
    TSlipRecord& slip;
    const TPrintPositions& positions;
    const DeviceQuery& device;
    DigitCells& cells;
};

// The whole slip: account and amount digits in their cells on both halves, the subscriber name
// in both boxes, the payer's postal code, telephone and address block, the right-half payer text
// and the message column, each group only when its print switch is on. The canvas must use the
// device's pixels with its font resolution at the device's vertical pixels per inch.
void DrawSlip(Canvas& canvas, const SlipSource& source);

// The right (receipt) half alone.
void DrawSlipRight(Canvas& canvas, const SlipSource& source);

// The faces a renderer draws with when a face field has no selection: the OCR face for the
// digit groups, the gothic elsewhere, the mincho for the message. The platform layer maps these
// Windows names onto installed fonts.
inline constexpr const char16_t* kFallbackDigitFace = u"OCRB";
inline constexpr const char16_t* kFallbackGothicFace = u"ＭＳ ゴシック";
inline constexpr const char16_t* kFallbackMinchoFace = u"ＭＳ 明朝";

} // namespace nobrisa
