#pragma once

namespace nobrisa {

enum class Orientation { Portrait, Landscape };

// The device values the program asks of a printer (GetDeviceCaps indices), in device pixels.
enum class DeviceCap {
    LogPixelsX,      // pixels per inch, horizontal
    LogPixelsY,      // pixels per inch, vertical
    PhysicalOffsetX, // printable area's left edge from the paper's left edge
    PhysicalOffsetY, // printable area's top edge from the paper's top edge
    PhysicalWidth,   // paper width
    PhysicalHeight,  // paper height
    HorzRes,         // printable width
    VertRes,         // printable height
};

// Something that answers device queries: the current printer, or a fake in tests. Every
// conversion asks afresh; nothing is cached, so a printer change takes effect at once.
class DeviceQuery {
public:
    virtual ~DeviceQuery() = default;
    virtual int deviceCaps(DeviceCap cap) const = 0;
};

// Fixed device values: the preview's reference device and the tests' fake printer.
class FixedDevice final : public DeviceQuery {
public:
    int logPixelsX = 600;
    int logPixelsY = 600;
    int offsetX = 0;
    int offsetY = 0;
    int physicalWidth = 4960;
    int physicalHeight = 7016;
    int horzRes = 4960;
    int vertRes = 7016;

    int deviceCaps(DeviceCap cap) const override;
};

} // namespace nobrisa
