#pragma once

#include "platform/fonts.h"
#include "render/drawslip.h"
#include "render/printcheck.h"

#include <QString>

#include <functional>
#include <utility>

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
//
// Before a job starts, a slip print with no group to draw asks whether a blank slip is really
// wanted, and a print with characters that no installed font has names them and asks whether to
// print anyway. `coverage` says which characters the fonts have.
class SlipPrinting final {
public:
    SlipPrinting(PrinterDevice& printer, Prompts& prompts,
                 GlyphCoverage coverage = installedFontsHave)
        : mPrinter(printer)
        , mPrompts(prompts)
        , mCoverage(std::move(coverage))
    {
    }

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
    bool confirmSlip(QWidget* parent, const TSlipRecord& slip, SlipPart part);
    bool confirmDrawable(QWidget* parent, const UndrawableTexts& found);
    Outcome run(QWidget* parent, int pages, const std::function<void(Canvas&, int)>& drawPage);

    PrinterDevice& mPrinter;
    Prompts& mPrompts;
    GlyphCoverage mCoverage;
    QString mPdfFolder;
};

} // namespace nobrisa
