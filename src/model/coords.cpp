#include "model/coords.h"

#include <algorithm>
#include <cmath>

namespace nobrisa {

namespace {

int toDevice(int mm, int adjust, int ppi, int offset)
{
    // Extended precision, divided before multiplied: the order decides the last bit and so
    // which pixel a position truncates to.
    const long double s = static_cast<long double>(mm) + adjust;
    const long double r = s / 254.0L * ppi;
    return static_cast<int>(std::trunc(r)) - offset;
}

int centred(int pos, int adjust, const DeviceQuery& device, DeviceCap ppiCap, DeviceCap offCap,
            DeviceCap resCap)
{
    if (device.deviceCaps(ppiCap) <= 0)
        return adjust; // no device to measure: leave the adjustment as it is
    const int offset = device.deviceCaps(offCap);
    const int a = toDevice(pos, adjust, device.deviceCaps(ppiCap), offset);
    const int t = (device.deviceCaps(resCap) + offset - a) / 2;
    const int u = t - device.deviceCaps(offCap);
    const long double v = static_cast<long double>(u) / device.deviceCaps(ppiCap) * 254.0L;
    const long double clamped = std::clamp(std::trunc(v), -10000.0L, 10000.0L);
    return static_cast<int>(clamped);
}

} // namespace

int mmx(int mm, int ox, const DeviceQuery& device)
{
    return toDevice(mm, ox, device.deviceCaps(DeviceCap::LogPixelsX),
                    device.deviceCaps(DeviceCap::PhysicalOffsetX));
}

int mmy(int mm, int oy, const DeviceQuery& device)
{
    return toDevice(mm, oy, device.deviceCaps(DeviceCap::LogPixelsY),
                    device.deviceCaps(DeviceCap::PhysicalOffsetY));
}

int centredLeftRight(int ox, const DeviceQuery& device)
{
    return centred(kSlipWidth, ox, device, DeviceCap::LogPixelsX, DeviceCap::PhysicalOffsetX,
                   DeviceCap::HorzRes);
}

int centredTopBottom(int oy, const DeviceQuery& device)
{
    return centred(kSlipHeight, oy, device, DeviceCap::LogPixelsY, DeviceCap::PhysicalOffsetY,
                   DeviceCap::VertRes);
}

} // namespace nobrisa
