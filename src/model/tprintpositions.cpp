#include "model/tprintpositions.h"

namespace nobrisa {

const std::array<TPrintPositions::Entry, 26>& TPrintPositions::entries()
{
    using P = TPrintPositions;
    static const std::array<Entry, 26> table{{
        {&P::SEzipleft, "SEzipleft", "SEzipleft", 190},
        {&P::SEziptop, "SEziptop", "SEziptop", 700},
        {&P::SEteleleft, "SEteleleft", "SEteleleft", 400},
        {&P::SEteletop, "SEteletop", "SEteletop", 860},
        {&P::SEtsushinLeft, "SEtsushinLeft", "SEtsushinLeft", 110},
        {&P::SEtsushinRight, "SEtsushinRight", "SEtsushinRight", 1190},
        {&P::SEtsushinTop, "SEtsushinTop", "SEtsushinTop", 350},
        {&P::SEtsushinBottom, "SEtsushinBottom", "SEtsushinBottom", 680},
        {&P::SEharaiLleft, "SEharaiLleft", "SEharaiLleft", 130},
        {&P::SEharaiLright, "SEharaiLright", "SEharaiLright", 800},
        {&P::SEharaiLtop, "SEharaiLtop", "SEharaiLtop", 730},
        {&P::SEharaiLbottom, "SEharaiLbottom", "SEharaiLbottom", 860},
        {&P::SEharaiRleft, "SEharaiRleft", "SEharaiRleft", 1390},
        {&P::SEharaiRright, "SEharaiRright", "SEharaiRright", 1760},
        {&P::SEharaiRtop, "SEharaiRtop", "SEharaiRtop", 560},
        {&P::SEharaiRbottom, "SEharaiRbottom", "SEharaiRbottom", 770},
        {&P::SEkanyuLleft, "SEkanyuLleft", "SEkanyuLLeft", 110},
        {&P::SEkanyuLright, "SEkanyuLright", "SEkanyuLRight", 740},
        {&P::SEkanyuLtop, "SEkanyuLtop", "SEkanyuLTop", 240},
        {&P::SEkanyuLbottom, "SEkanyuLbottom", "SEkanyuLBottom", 320},
        {&P::SEkanyuRleft, "SEkanyuRleft", "SEkanyuRLeft", 1380},
        {&P::SEkanyuRright, "SEkanyuRright", "SEkanyuRRight", 1740},
        {&P::SEkanyuRtop, "SEkanyuRtop", "SEkanyuRTop", 350},
        {&P::SEkanyuRbottom, "SEkanyuRbottom", "SEkanyuRBottom", 430},
        {&P::SEkouza1, "SEkouza1", "SEkouza1", 170},
        {&P::SEkouza2, "SEkouza2", "SEkouza2", 280},
    }};
    return table;
}

void TPrintPositions::restoreStandard()
{
    for (const Entry& e : entries())
        (this->*e.field).setValue(e.standard);
}

} // namespace nobrisa
