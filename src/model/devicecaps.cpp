#include "model/devicecaps.h"

namespace nobrisa {

int FixedDevice::deviceCaps(DeviceCap cap) const
{
    switch (cap) {
    case DeviceCap::LogPixelsX:
        return logPixelsX;
    case DeviceCap::LogPixelsY:
        return logPixelsY;
    case DeviceCap::PhysicalOffsetX:
        return offsetX;
    case DeviceCap::PhysicalOffsetY:
        return offsetY;
    case DeviceCap::PhysicalWidth:
        return physicalWidth;
    case DeviceCap::PhysicalHeight:
        return physicalHeight;
    case DeviceCap::HorzRes:
        return horzRes;
    case DeviceCap::VertRes:
        return vertRes;
    }
    return 0;
}

} // namespace nobrisa
