#pragma once

namespace nobrisa {

class Canvas;
class DeviceQuery;
class DigitCells;
class StringTable;
struct ColumnMapping;
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

// One row of the continuous-print table: the table, its column mapping and the row number (0 for
// the sample row, whose sample texts stand in for the cells; a row beyond the table reads as
// empty cells).
struct RowSource {
    const StringTable& table;
    const ColumnMapping& mapping;
    int row = 0;
};

// One slip whose payer (and, as the mapping says, amount and message lines) come from a table
// row; the subscriber and everything else from the record. Digits on the row grid (pitch 50),
// the subscriber name in fixed boxes. Writes nothing back into the record; leaves the row's
// amount in cells 14 to 21.
void DrawSlipRow(Canvas& canvas, const SlipSource& source, const RowSource& row);

// The faces a renderer draws with when a face field has no selection: the OCR face for the
// digit groups, the gothic elsewhere, the mincho for the message. The platform layer maps these
// Windows names onto installed fonts.
inline constexpr const char16_t* kFallbackDigitFace = u"OCRB";
inline constexpr const char16_t* kFallbackGothicFace = u"ＭＳ ゴシック";
inline constexpr const char16_t* kFallbackMinchoFace = u"ＭＳ 明朝";

} // namespace nobrisa
