#pragma once

#include "model/devicecaps.h"

namespace nobrisa {

// Form space (0.1 mm from the paper's top-left corner) to device space (printer pixels from the
// printable area's top-left corner). The whole-print adjustment is added first; the result is
// truncated toward zero, so a position lands on the pixel at or before its exact place.
int mmx(int mm, int ox, const DeviceQuery& device);
int mmy(int mm, int oy, const DeviceQuery& device);

// The conversion as the renderers use it: one device and the adjustment in force.
class Coords final {
public:
    Coords(const DeviceQuery& device, int ox, int oy) noexcept
        : mDevice(device), mOx(ox), mOy(oy) {}

    int mmx(int mm) const { return nobrisa::mmx(mm, mOx, mDevice); }
    int mmy(int mm) const { return nobrisa::mmy(mm, mOy, mDevice); }
    const DeviceQuery& device() const noexcept { return mDevice; }

private:
    const DeviceQuery& mDevice;
    int mOx;
    int mOy;
};

// The slip form is 180.0 mm × 114.0 mm.
inline constexpr int kSlipWidth = 1800;
inline constexpr int kSlipHeight = 1140;

// "左右中央": the adjustment (0.1 mm, clamped to ±10000) that puts the slip in the middle of the
// paper's width. The result depends on the adjustment in force, which mmx includes.
int centredLeftRight(int ox, const DeviceQuery& device);
// "上下中央": the same vertically.
int centredTopBottom(int oy, const DeviceQuery& device);

} // namespace nobrisa
