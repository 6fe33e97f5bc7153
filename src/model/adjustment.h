#pragma once

namespace nobrisa {

class DeviceQuery;
struct TSlipRecord;

// The commands on the whole-print adjustment. Each sets the adjustment box through its value,
// so the result is clamped to ±10000 and ox/oy follow at once.

// "右へ" / "下へ": back to no shift.
void resetLeftRight(TSlipRecord& slip);
void resetTopBottom(TSlipRecord& slip);

// "左右中央" / "上下中央": the slip in the middle of the paper, measured with the adjustment in
// force, so that pressing twice gives a different result the second time.
void centreLeftRight(TSlipRecord& slip, const DeviceQuery& device);
void centreTopBottom(TSlipRecord& slip, const DeviceQuery& device);

} // namespace nobrisa
