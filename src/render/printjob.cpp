#include "render/printjob.h"

#include "render/canvas.h"
#include "render/printerdevice.h"

namespace nobrisa {

void preparePrinterCanvas(PrinterDevice& printer)
{
    Canvas& canvas = printer.canvas();
    canvas.setFontPixelsPerInch(printer.deviceCaps(DeviceCap::LogPixelsY));
    canvas.setFontCharset(DEFAULT_CHARSET);
}

PrintOutcome runPrintJob(PrinterDevice& printer, int pages,
                         const std::function<void(Canvas&, int)>& drawPage,
                         const std::function<bool()>& cancelled)
{
    PrintOutcome outcome;
    if (!printer.beginDoc()) {
        outcome.error = printer.errorString();
        return outcome;
    }
    bool pageOk = true;
    try {
        preparePrinterCanvas(printer);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) {
                if (cancelled && cancelled())
                    break;
                if (!printer.newPage()) {
                    pageOk = false;
                    outcome.error = printer.errorString();
                    break;
                }
            }
            drawPage(printer.canvas(), i);
            ++outcome.pagesDrawn;
        }
    } catch (...) {
        printer.endDoc();
        throw;
    }
    const bool ended = printer.endDoc();
    if (pageOk && !ended)
        outcome.error = printer.errorString();
    outcome.ok = pageOk && ended;
    return outcome;
}

} // namespace nobrisa
