#include "model/digitcells.h"

#include "model/tsliprecord.h"
#include "text/lines.h"

namespace nobrisa {

void DigitCells::clear()
{
    for (QString& cell : mCells)
        cell.clear();
}

void DigitCells::fillRightAligned(int first, int last, const QString& text)
{
    for (int i = first; i <= last; ++i)
        mCells[static_cast<std::size_t>(i - 1)].clear();
    const QString t = trimControl(text);
    const int width = last - first + 1;
    const int n = std::min(static_cast<int>(t.size()), width);
    // Character n goes into the last cell, character 1 into cell last - n + 1; characters
    // beyond the run's width are not used.
    for (int k = 0; k < n; ++k)
        mCells[static_cast<std::size_t>(last - n + k)] = t.mid(k, 1);
}

void setko(const TSlipRecord& slip, DigitCells& cells)
{
    cells.clear();
    cells.fillRightAligned(1, 5, slip.Ekouza1);
    cells.fillRightAligned(6, 6, slip.Ekouza2);
    cells.fillRightAligned(7, 13, slip.Ekouza3);
    cells.fillRightAligned(14, 21, slip.SEkingaku.text());
}

} // namespace nobrisa
