#include "model/coords.h"

#include <algorithm>
#include <cmath>

namespace nobrisa {

namespace {

int toDevice(std::int64_t mm, int adjust, int ppi, int offset)
{
    // Extended precision, divided before multiplied: the order decides the last bit and so
    // which pixel a position truncates to. The sum is exact (64-bit mantissa).
    const long double s = static_cast<long double>(mm) + adjust;
    const long double r = std::trunc(s / 254.0L * ppi);
    // Anything beyond this is far past the limit whatever the offset; bounding it first keeps
    // the conversion to 64 bits and the subtraction defined.
    constexpr long double kFar = 1e15L;
    const auto whole = static_cast<std::int64_t>(std::clamp(r, -kFar, kFar));
    return limitDevice(whole - offset);
}

int centred(int pos, int adjust, const DeviceQuery& device, DeviceCap ppiCap, DeviceCap offCap,
            DeviceCap resCap)
{
    if (device.deviceCaps(ppiCap) <= 0)
        return adjust; // no device to measure: leave the adjustment as it is
    const int offset = device.deviceCaps(offCap);
    const std::int64_t a = toDevice(pos, adjust, device.deviceCaps(ppiCap), offset);
    const std::int64_t t = (std::int64_t{device.deviceCaps(resCap)} + offset - a) / 2;
    const std::int64_t u = t - device.deviceCaps(offCap);
    const long double v = static_cast<long double>(u) / device.deviceCaps(ppiCap) * 254.0L;
    const long double clamped = std::clamp(std::trunc(v), -10000.0L, 10000.0L);
    return static_cast<int>(clamped);
}

} // namespace

int mmx(std::int64_t mm, int ox, const DeviceQuery& device)
{
    return toDevice(mm, ox, device.deviceCaps(DeviceCap::LogPixelsX),
                    device.deviceCaps(DeviceCap::PhysicalOffsetX));
}

int mmy(std::int64_t mm, int oy, const DeviceQuery& device)
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
