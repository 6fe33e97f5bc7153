#pragma once

#include <QString>

#include <array>

namespace nobrisa {

struct TSlipRecord;

// The 21 one-character cells into which the account number (cells 1-5, 6, 7-13) and the amount
// (cells 14-21) are split before printing, each part right-aligned in its run of cells.
class DigitCells final {
public:
    static constexpr int kCount = 21;

    // Cell i, 1 ≤ i ≤ 21: empty or one character.
    const QString& operator[](int i) const { return mCells.at(static_cast<std::size_t>(i - 1)); }

    void clear();

    // Empties cells first..last and puts the trimmed text into them right-aligned (its last
    // character in cell `last`); characters that do not fit are dropped from the end.
    void fillRightAligned(int first, int last, const QString& text);

private:
    std::array<QString, kCount> mCells;
};

// Refills the cells from Ekouza1, Ekouza2, Ekouza3 and the text of SEkingaku.
void setko(const TSlipRecord& slip, DigitCells& cells);

} // namespace nobrisa
