#pragma once

#include "platform/qtcanvas.h"
#include "render/printerdevice.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <memory>

namespace nobrisa {

class RemoveOnInterrupt;
class WholeFile;

// Windows DMPAPER codes of Qt's page sizes. Qt carries the published table itself
// (QPageSize::windowsId), so this is the one place that reads it: A4 is 7 in Qt and 9 in
// DMPAPER, JIS B4 is 12, JIS B5 13, a postcard 43. A size without a code (a driver's own size,
// ISO B5) is DMPAPER_USER, 256, which the paper previews show by its measured size.
inline constexpr int kDmPaperUser = 256;
int dmPaperCode(const QPageSize& size);
// The page size of a DMPAPER code; an invalid QPageSize for a code Qt does not know.
QPageSize pageSizeForDmPaper(int code);

// The current printer over QPrinter: a CUPS queue, or the PDF output when no queue is installed
// or the user chose to print to a file.
//
// Device pixels follow the GDI printer model: LOGPIXELSX/Y is QPrinter's resolution (1200 in
// HighResolution mode for CUPS; chosen for the PDF output), PHYSICALOFFSETX/Y the hardware
// margins the driver reports (QPageLayout::minimumMargins; zero for a PDF), PHYSICALWIDTH/HEIGHT
// the paper, HORZRES/VERTRES the paper minus the margins on both sides. Qt prints with the full
// page, whose origin is the paper's corner, while the renderers' origin is the printable area's
// corner; the page canvas is therefore translated by (+PHYSICALOFFSETX, +PHYSICALOFFSETY).
//
// A PDF is drawn by a QPdfWriter into a WholeFile: an unnamed temporary file in the destination
// folder, synced and renamed over the destination when the job ends complete. A failed,
// abandoned or killed job leaves no half-written PDF and no temporary file, an existing file is
// replaced only by a finished one, and a write-protected one not at all.
//
// A job for a queue is Qt's own PDF, written by its CUPS engine to a temporary file and handed
// to CUPS here, with the options Qt would send, the options the printer setup dialog left on
// the engine, and print-scaling=none: a queue whose default scales pages to its printable area
// would otherwise move every digit out of the form's cells. Qt offers no public way to add a
// job option and ignores CUPS's answer; here a job CUPS refuses fails with CUPS's reason.
// beginDoc first asks the spooler for the queue, so that a stopped spooler or a removed queue
// fails the job before any page is drawn; the spooler's requests have a bounded wait
// (cupsspooler.h), and a spooler gone or silent fails the job with a message naming the printer.
class QtPrinterDevice final : public PrinterDevice {
public:
    // The PDF output's resolution unless setPdfOutput says otherwise.
    static constexpr int kPdfDefaultDpi = 1200;

    // Starts on the system's default queue; on the first installed queue when none is the
    // default; on the PDF output (without a file name yet) when no queue is installed.
    QtPrinterDevice();
    // A job still running is ended: a PDF is discarded, a queue gets the pages drawn so far.
    ~QtPrinterDevice() override;
    QtPrinterDevice(const QtPrinterDevice&) = delete;
    QtPrinterDevice& operator=(const QtPrinterDevice&) = delete;

    // The name the PDF output goes by in menus and buttons.
    static QString pdfOutputName();

    int deviceCaps(DeviceCap cap) const override;

    QStringList printerNames() const override;
    int printerIndex() const override;
    QString printerName() const override;
    bool isPdfOutput() const override;
    // Keeps the PDF output's resolution, paper and orientation; only the file changes.
    void setOutputFile(const QString& path) override { setPdfOutput(path, mPdfDpi); }

    int paperCode() const override;
    Orientation orientation() const override;
    void setOrientation(Orientation orientation) override;

    QString title() const override { return mTitle; }
    void setTitle(const QString& title) override { mTitle = title; }

    bool beginDoc() override;
    bool newPage() override;
    bool endDoc() override;
    Canvas& canvas() override { return mCanvas; }
    QString errorString() const override { return mError; }

    // Makes an installed queue current. An unknown name changes nothing and returns false (Qt
    // itself would silently keep the old queue).
    bool selectPrinter(const QString& name);
    // Makes the PDF output current, writing to `path` at `dpi` pixels per inch.
    void setPdfOutput(const QString& path, int dpi = kPdfDefaultDpi);
    QString pdfOutputPath() const { return mPdfPath; }
    // Paper by DMPAPER code; false when Qt knows no size for the code or the printer refuses it.
    bool setPaperCode(int code);

    // The printer setup dialog (QPrintDialog) edits this QPrinter directly; call
    // takePrinterSetup() afterwards so that a choice of "print to file" becomes the PDF output.
    // selectPrinter and setPdfOutput replace the QPrinter: take the reference afresh after them.
    QPrinter& qprinter() noexcept { return *mPrinter; }
    void takePrinterSetup();

    bool isPrinting() const { return mPainter.isActive(); }
    // The spooler's id of the last job handed to a queue; 0 before the first.
    int lastJobId() const { return mLastJobId; }

private:
    void abandonJob();
    bool finishPdf(bool painterEnded);
    bool submitToQueue(bool painterEnded);
    // What the job paints on: the PDF writer of a PDF job, the QPrinter of a queue's.
    QPagedPaintDevice* jobDevice();
    void replacePrinter(std::unique_ptr<QPrinter> printer);

    // The paper and margins, in device pixels.
    struct PageGeometry {
        int paperWidth = 0;
        int paperHeight = 0;
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    static PageGeometry geometry(const QPrinter& printer);

    // A QPrinter keeps settings of its previous destination when switched to another (the PDF's
    // file name and resolution stay on a CUPS queue, which then prints to that file), so every
    // change of destination starts from a new one.
    std::unique_ptr<QPrinter> mPrinter;
    QPainter mPainter;
    QtCanvas mCanvas;
    QString mTitle;
    QString mError;
    QString mPdfPath;
    // A PDF job in progress: the file and the writer drawing into it.
    std::unique_ptr<WholeFile> mPdfFile;
    std::unique_ptr<QPdfWriter> mPdfWriter;
    QString mSpoolPath; // the file Qt writes a queue's job into until it is submitted
    std::unique_ptr<RemoveOnInterrupt> mSpoolCleanup;
    int mLastJobId = 0;
    int mPdfDpi = kPdfDefaultDpi;
    // The page geometry while a job runs: it cannot change then, and the renderers ask for it at
    // every coordinate they convert (asking QPrinter builds a QPageLayout each time).
    PageGeometry mJobGeometry;
};

} // namespace nobrisa
