#pragma once

#include "model/devicecaps.h"

#include <QString>
#include <QStringList>

namespace nobrisa {

// The two texts of a paper preview's status bar.
enum class PaperText {
    Name = 1,         // the paper's name, from its DMPAPER code
    MeasuredSize = 2, // the sheet as measured on the printer, "210x297" (mm, width x height)
};

// The paper's name for a DMPAPER code (half-width katakana and ASCII, as the status bar has
// always shown them), or the measured size text for a code without a name.
QString paperName(int paperCode, const QString& measuredSize);

// The status text of the current printer: paper size code 0 when its settings cannot be read.
// windowPpi stands in for a printer that answers no resolution. The size is measured on the
// physical page as oriented, so landscape A4 is "A4 210x297" by name and "297x210" measured.
QString PaperSizeText(PaperText kind, const DeviceQuery& printer, int paperCode, int windowPpi);

// The zoom box of the paper previews: its items, the zoom at opening, and the zoom a typed
// text asks for (the opening zoom for a text that is no integer; the page preview itself
// ignores values outside 25..200).
QStringList paperPreviewZoomItems();
inline constexpr int kPaperPreviewZoom = 50;
int paperPreviewZoomFromText(const QString& text);

} // namespace nobrisa
