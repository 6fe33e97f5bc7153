#include "model/adjustment.h"

#include "model/coords.h"
#include "model/tsliprecord.h"

namespace nobrisa {

void resetLeftRight(TSlipRecord& slip)
{
    slip.SEleftright.setValue(0);
}

void resetTopBottom(TSlipRecord& slip)
{
    slip.SEtopbottom.setValue(0);
}

void centreLeftRight(TSlipRecord& slip, const DeviceQuery& device)
{
    slip.SEleftright.setValue(centredLeftRight(slip.ox(), device));
}

void centreTopBottom(TSlipRecord& slip, const DeviceQuery& device)
{
    slip.SEtopbottom.setValue(centredTopBottom(slip.oy(), device));
}

} // namespace nobrisa
