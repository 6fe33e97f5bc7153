#pragma once

#include <QString>

#include <functional>

namespace nobrisa {

class Canvas;
class PrinterDevice;

// Sets up a printer's page canvas for drawing: the font resolution is the printer's vertical
// pixels per inch, the character set DEFAULT_CHARSET.
void preparePrinterCanvas(PrinterDevice& printer);

struct PrintOutcome {
    bool ok = false;
    int pagesDrawn = 0;
    QString error; // Japanese, for the user, when !ok
};

// One print job of `pages` pages (none drawn when pages ≤ 0: the job is begun and ended empty).
// drawPage(canvas, i) draws page i (0-based). `cancelled`, when given, is asked before each page
// after the first; once it says yes the job ends after the page drawn. The job is always ended,
// also when drawing throws (the exception then goes on to the caller).
PrintOutcome runPrintJob(PrinterDevice& printer, int pages,
                         const std::function<void(Canvas&, int)>& drawPage,
                         const std::function<bool()>& cancelled = {});

} // namespace nobrisa
