#pragma once

#include "render/drawslip.h"

#include <QString>

#include <functional>

class QWidget;

namespace nobrisa {

class Canvas;
class PrinterDevice;
class Prompts;

struct ContinuousTable;
struct RowRange;

// The print commands of the main window over the current printer: one slip, several copies,
// the right half, a run of table rows. Each is one job that is always ended. When the current
// printer is the PDF output, each print first asks where to save the file, proposing the job
// title + ".pdf" in the folder last used, as a PDF printer does on Windows. A job of more than a
// few pages shows its progress with a cancel button; a cancelled job ends after the page being
// drawn, and the spooler prints what was drawn.
class SlipPrinting final {
public:
    SlipPrinting(PrinterDevice& printer, Prompts& prompts) : mPrinter(printer), mPrompts(prompts) {}

    struct Outcome {
        bool printed = false;
        QString status; // for the status bar: what went where, or why nothing was printed
    };

    // 印刷: one slip; the job is titled "Nobrisa_" + the subscriber's first line.
    Outcome printSlip(QWidget* parent, const SlipSource& source);
    // 複数枚印刷: asks for the number of copies; N copies are N pages of one job, which keeps the
    // title the printer already has.
    Outcome printCopies(QWidget* parent, const SlipSource& source);
    // 印刷－右側: the right half, titled as the single print.
    Outcome printRight(QWidget* parent, const SlipSource& source);
    // 連続印刷: one page for each row of the range, in order, in one job that keeps the title the
    // printer already has. An empty range (the end before the beginning) still sends its job,
    // empty.
    Outcome printRows(QWidget* parent, const SlipSource& source, const ContinuousTable& rows,
                      const RowRange& range);

    // The folder the PDF output's save dialog starts in.
    QString pdfFolder() const { return mPdfFolder; }
    void setPdfFolder(const QString& folder) { mPdfFolder = folder; }

private:
    Outcome run(QWidget* parent, int pages, const std::function<void(Canvas&, int)>& drawPage);

    PrinterDevice& mPrinter;
    Prompts& mPrompts;
    QString mPdfFolder;
};

// The job title of the single and right-half prints.
QString jobTitle(const QString& subscriberName);

} // namespace nobrisa
