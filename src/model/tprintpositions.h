#pragma once

#include "model/numbertext.h"

#include <QString>

#include <array>

namespace nobrisa {

// The user-adjustable boxes and anchor points of the slip, in 0.1 mm from the paper's top-left
// corner, each held as the text of its number box (range 0 to 10000). The standard values are
// the defaults of the settings file, the renderers' fallbacks and what "標準に戻す" restores.
struct TPrintPositions {
    NumberText SEzipleft{0, 10000, 190};
    NumberText SEziptop{0, 10000, 700};
    NumberText SEteleleft{0, 10000, 400};
    NumberText SEteletop{0, 10000, 860};
    NumberText SEtsushinLeft{0, 10000, 110};
    NumberText SEtsushinRight{0, 10000, 1190};
    NumberText SEtsushinTop{0, 10000, 350};
    NumberText SEtsushinBottom{0, 10000, 680};
    NumberText SEharaiLleft{0, 10000, 130};
    NumberText SEharaiLright{0, 10000, 800};
    NumberText SEharaiLtop{0, 10000, 730};
    NumberText SEharaiLbottom{0, 10000, 860};
    NumberText SEharaiRleft{0, 10000, 1390};
    NumberText SEharaiRright{0, 10000, 1760};
    NumberText SEharaiRtop{0, 10000, 560};
    NumberText SEharaiRbottom{0, 10000, 770};
    NumberText SEkanyuLleft{0, 10000, 110};
    NumberText SEkanyuLright{0, 10000, 740};
    NumberText SEkanyuLtop{0, 10000, 240};
    NumberText SEkanyuLbottom{0, 10000, 320};
    NumberText SEkanyuRleft{0, 10000, 1380};
    NumberText SEkanyuRright{0, 10000, 1740};
    NumberText SEkanyuRtop{0, 10000, 350};
    NumberText SEkanyuRbottom{0, 10000, 430};
    NumberText SEkouza1{0, 10000, 170};
    NumberText SEkouza2{0, 10000, 280};

    // The amount boxes of the dialog: shown, never read by a renderer, never stored.
    NumberText SEkingakLeft{0, 10000, 0};
    NumberText SEkingakRight{0, 10000, 0};
    NumberText SEkingakTop{0, 10000, 0};
    NumberText SEkingakBottom{0, 10000, 0};
    NumberText SEkingakuLeftR{0, 10000, 0};
    NumberText SEkingakuRightR{0, 10000, 0};
    NumberText SEkingakuTopR{0, 10000, 0};
    NumberText SEkingakuBottomR{0, 10000, 0};

    // One stored entry: its field, the key it is stored under in section TabSheet99 (eight keys
    // capitalise the side word where the fields do not) and its standard value.
    struct Entry {
        NumberText TPrintPositions::*field;
        const char* name;
        const char* key;
        int standard;
    };

    // The 26 stored entries in the order of the settings file.
    static const std::array<Entry, 26>& entries();

    // Restores every stored entry to its standard value (the amount boxes are left alone).
    void restoreStandard();
};

} // namespace nobrisa
