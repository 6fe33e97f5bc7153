#pragma once

#include "model/devicecaps.h"

#include <algorithm>
#include <cstdint>

namespace nobrisa {

// Device coordinates are kept within ±kDeviceCoordinateLimit pixels: at 2400 dpi that is 44 m
// either side of the printable area, so every place a slip can be printed lands exactly, while a
// value far off the page (a hand-edited position of ten digits) stays clear of int overflow in
// box widths and of the coordinate range of Qt's raster engine (±2^23 pixels), also after a box
// width or a text's extent is added to it.
inline constexpr int kDeviceCoordinateLimit = 1 << 22;

// A device coordinate computed in 64 bits, brought into that range.
constexpr int limitDevice(std::int64_t v) noexcept
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, -kDeviceCoordinateLimit, kDeviceCoordinateLimit));
}

// Form space (0.1 mm from the paper's top-left corner) to device space (printer pixels from the
// printable area's top-left corner). The whole-print adjustment is added first; the result is
// truncated toward zero, so a position lands on the pixel at or before its exact place. The
// position is 64 bits wide so that a far-off value plus an offset (a telephone part 300 to the
// right of its anchor) does not overflow on the way; the result is within the device limit.
int mmx(std::int64_t mm, int ox, const DeviceQuery& device);
int mmy(std::int64_t mm, int oy, const DeviceQuery& device);

// The conversion as the renderers use it: one device and the adjustment in force.
class Coords final {
public:
    Coords(const DeviceQuery& device, int ox, int oy) noexcept
        : mDevice(device), mOx(ox), mOy(oy) {}

    int mmx(std::int64_t mm) const { return nobrisa::mmx(mm, mOx, mDevice); }
    int mmy(std::int64_t mm) const { return nobrisa::mmy(mm, mOy, mDevice); }
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
