#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace nobrisa {

class StringTable;
struct ColumnMapping;
struct TSlipRecord;

// What is checked before a print goes to the printer: a print that would feed a pre-printed
// form through blank, and characters that would come out as empty boxes.

// The slip prints: the whole slip (印刷, 複数枚印刷) or the right (receipt) half alone.
enum class SlipPart { Whole, RightHalf };

// Whether the print draws anything: a print switch of a group that this print draws is on. The
// right half has the account number and subscriber (CheckBox1), the amount (CheckBox2) and the
// right-half payer (CheckBox4R); the left payer and the message column are not on it.
bool drawsAnyGroup(const TSlipRecord& slip, SlipPart part);

// Whether some installed font has a glyph for a character (the platform layer answers).
using GlyphCoverage = std::function<bool(char32_t)>;

// Characters that no installed font has, where they would be printed.
struct UndrawableText {
    QString place; // the field as the window names it: "加入者名", "行 12 の氏名"
    std::vector<char32_t> characters; // each once, in the order they first appear
    friend bool operator==(const UndrawableText&, const UndrawableText&) = default;
};
using UndrawableTexts = std::vector<UndrawableText>;

// The characters of exactly the texts the slip print puts on paper (the groups whose switches
// are on, as the renderer reads them) that `covers` says no font has, field by field in the
// order the slip is drawn. Blanks, line breaks and other characters that are never drawn as a
// glyph (format characters, variation selectors) are not asked about.
UndrawableTexts findUndrawable(const TSlipRecord& slip, SlipPart part, const GlyphCoverage& covers);

// The same for a continuous print of rows first to last of the table: the subscriber, amount
// and message the record gives every slip (once), then, row by row, the cells of the columns the
// mapping selects. Row 0, the sample row, prints the program's own sample texts in place of
// cells. Each character is asked about once, however many rows hold it.
UndrawableTexts findUndrawableInRows(const TSlipRecord& slip, const StringTable& table,
                                     const ColumnMapping& mapping, int first, int last,
                                     const GlyphCoverage& covers);

// The places and characters, one place a line ("加入者名: 𠮷 (U+20BB7)"), at most `maxPlaces`
// lines and three characters a place; what is left out is counted ("ほか 3 件"). Each character
// also has its code, as the message itself cannot show a character no font has.
QString describeUndrawable(const UndrawableTexts& found, int maxPlaces);

} // namespace nobrisa
