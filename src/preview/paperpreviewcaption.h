#pragma once

#include <QString>

namespace nobrisa {

class StringTable;
struct ColumnMapping;

// The two paper preview windows: the main window's slip, and a row of the continuous-print
// table.
enum class PaperPreviewKind { Slip, Row };

QString paperPreviewCaption(PaperPreviewKind kind);

// The row preview's caption also says which row it shows: its number (as the table's row
// heading shows it) and the payer's name from the mapped name column, on one line and cut
// short, so that a long or many-lined cell cannot swamp the title bar. Row 0 is the sample row.
QString paperPreviewRowCaption(const StringTable& table, const ColumnMapping& mapping, int row);

} // namespace nobrisa
