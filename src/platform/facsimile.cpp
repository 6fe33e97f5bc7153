#include "platform/facsimile.h"

#include "model/coords.h"
#include "model/tsliprecord.h"
#include "platform/metricscanvas.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"

namespace nobrisa {

Facsimile recordFacsimile(const SlipSource& source, const RowSource* row)
{
    const DeviceQuery& device = source.device;
    const Coords coords(device, source.slip.ox(), source.slip.oy());
    Facsimile f;
    f.width = coords.mmx(kSlipWidth);
    f.height = coords.mmy(kSlipHeight);
    f.pixelsPerInchX = device.deviceCaps(DeviceCap::LogPixelsX);
    f.pixelsPerInchY = device.deviceCaps(DeviceCap::LogPixelsY);

    MetricsCanvas metrics(f.pixelsPerInchY);
    PageRecorder recorder(metrics.canvas(), f.page);
    DrawSlipForm(recorder, coords);
    if (row != nullptr)
        DrawSlipRow(recorder, source, *row);
    else
        DrawSlip(recorder, source);
    return f;
}

} // namespace nobrisa
