#include "platform/qtprinterdevice.h"

#include "platform/cupsspooler.h"
#include "text/removeoninterrupt.h"
#include "text/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

#include <cmath>

namespace nobrisa {

int dmPaperCode(const QPageSize& size)
{
    const int code = size.isValid() ? size.windowsId() : 0;
    return code > 0 && code < kDmPaperUser ? code : kDmPaperUser;
}

QPageSize pageSizeForDmPaper(int code)
{
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return {};
    return QPageSize(id);
}

namespace {

int pointsToPixels(qreal points, int dpi)
{
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace

QtPrinterDevice::PageGeometry QtPrinterDevice::geometry(const QPrinter& printer)
{
    const int dpi = printer.resolution();
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QRect paper = layout.fullRectPixels(dpi);
    const QMarginsF margins = layout.minimumMargins();
    PageGeometry g;
    g.paperWidth = paper.width();
    g.paperHeight = paper.height();
    g.left = pointsToPixels(margins.left(), dpi);
    g.top = pointsToPixels(margins.top(), dpi);
    g.right = pointsToPixels(margins.right(), dpi);
    g.bottom = pointsToPixels(margins.bottom(), dpi);
    return g;
}

namespace {

// A finished PDF ends with its end-of-file marker; a write that failed part-way (a full disk)
// leaves a file without one, which Qt's PDF writer does not report.
bool looksComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

// The engine property through which Qt's print dialog hands the CUPS engine the options chosen
// in its printer properties (tray, resolution, job priority and the like), as a list of names
// and values. Qt does not publish the key: the end-to-end test notices when it changes.
const auto kCupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The options of a job for a queue, as libcups takes them. First what Qt's CUPS engine sends
// when it spools a job itself (the page size as the queue names it, copies, collation, sides,
// landscape), then the options the printer setup dialog left on the engine; a later option
// replaces an earlier one of the same name. print-scaling=none comes last, over any queue
// default and any dialog option: the page must reach the paper unscaled, or the digits miss
// the form's cells. (fit-to-page=false would not do: print-scaling=fit or fill beats it.)
int cupsJobOptions(QPrinter& printer, cups_option_t** options)
{
    int count = 0;
    const auto add = [&](const QByteArray& name, const QByteArray& value) {
        count = cupsAddOption(name.constData(), value.constData(), count, options);
    };
    const QPageLayout layout = printer.pageLayout();
    add("media", layout.pageSize().key().toUtf8());
    if (printer.copyCount() > 1) {
        add("copies", QByteArray::number(printer.copyCount()));
        if (printer.collateCopies())
            add("Collate", "True");
    }
    const bool landscape = layout.orientation() == QPageLayout::Landscape;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        add("sides", "one-sided");
        break;
    case QPrinter::DuplexAuto:
        add("sides", landscape ? "two-sided-short-edge" : "two-sided-long-edge");
        break;
    case QPrinter::DuplexLongSide:
        add("sides", "two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        add("sides", "two-sided-short-edge");
        break;
    }
    if (landscape)
        add("landscape", "");
    const QStringList chosen = printer.printEngine()->property(kCupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        add(chosen[i].toUtf8(), chosen[i + 1].toUtf8());
    add("print-scaling", "none");
    return count;
}

// CUPS takes the queue's name without an instance ("queue/instance"), as Qt sends it.
QByteArray cupsQueueName(const QPrinter& printer)
{
    return printer.printerName().section(QLatin1Char('/'), 0, 0).toUtf8();
}

QString pdfWriteError(const QString& path, const QString& reason)
{
    QString message =
        QStringLiteral("PDFファイル「%1」を書き込めません。").arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty())
        message += QLatin1Char('\n') + reason;
    return message;
}

} // namespace

QtPrinterDevice::QtPrinterDevice()
{
    QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty())
            name = names.first();
    }
    if (name.isEmpty() || !selectPrinter(name))
        setPdfOutput(QString());
}

QtPrinterDevice::~QtPrinterDevice()
{
    abandonJob();
}

QString QtPrinterDevice::pdfOutputName()
{
    return QStringLiteral("PDF出力");
}

int QtPrinterDevice::deviceCaps(DeviceCap cap) const
{
    switch (cap) {
    case DeviceCap::LogPixelsX:
    case DeviceCap::LogPixelsY:
        return mPrinter->resolution();
    default:
        break;
    }
    const PageGeometry g = isPrinting() ? mJobGeometry : geometry(*mPrinter);
    switch (cap) {
    case DeviceCap::PhysicalOffsetX:
        return g.left;
    case DeviceCap::PhysicalOffsetY:
        return g.top;
    case DeviceCap::PhysicalWidth:
        return g.paperWidth;
    case DeviceCap::PhysicalHeight:
        return g.paperHeight;
    case DeviceCap::HorzRes:
        return g.paperWidth - g.left - g.right;
    case DeviceCap::VertRes:
        return g.paperHeight - g.top - g.bottom;
    default:
        return 0;
    }
}

QStringList QtPrinterDevice::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

int QtPrinterDevice::printerIndex() const
{
    if (isPdfOutput())
        return -1;
    return static_cast<int>(printerNames().indexOf(mPrinter->printerName()));
}

QString QtPrinterDevice::printerName() const
{
    return isPdfOutput() ? pdfOutputName() : mPrinter->printerName();
}

bool QtPrinterDevice::isPdfOutput() const
{
    return mPrinter->outputFormat() == QPrinter::PdfFormat;
}

int QtPrinterDevice::paperCode() const
{
    return dmPaperCode(mPrinter->pageLayout().pageSize());
}

Orientation QtPrinterDevice::orientation() const
{
    return mPrinter->pageLayout().orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                          : Orientation::Portrait;
}

void QtPrinterDevice::setOrientation(Orientation orientation)
{
    mPrinter->setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait);
}

bool QtPrinterDevice::selectPrinter(const QString& name)
{
    if (isPrinting() || name.isEmpty())
        return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return false;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (printer->outputFormat() != QPrinter::NativeFormat || printer->printerName() != name)
        return false;
    replacePrinter(std::move(printer));
    return true;
}

void QtPrinterDevice::setPdfOutput(const QString& path, int dpi)
{
    if (isPrinting())
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    mPdfPath = path;
    mPdfDpi = dpi > 0 ? dpi : kPdfDefaultDpi;
    printer->setResolution(mPdfDpi);
    if (!path.isEmpty())
        printer->setOutputFileName(path);
    replacePrinter(std::move(printer));
}

void QtPrinterDevice::replacePrinter(std::unique_ptr<QPrinter> printer)
{
    // Orientation and paper are the user's choices for the slip, kept across destinations (a
    // paper the new destination does not offer leaves its default).
    if (mPrinter) {
        const QPageLayout old = mPrinter->pageLayout();
        printer->setPageSize(old.pageSize());
        printer->setPageOrientation(old.orientation());
    }
    mPrinter = std::move(printer);
}

bool QtPrinterDevice::setPaperCode(int code)
{
    const QPageSize size = pageSizeForDmPaper(code);
    return size.isValid() && mPrinter->setPageSize(size);
}

void QtPrinterDevice::takePrinterSetup()
{
    if (isPdfOutput()) {
        mPdfPath = mPrinter->outputFileName();
        mPdfDpi = mPrinter->resolution();
    }
}

bool QtPrinterDevice::beginDoc()
{
    mError.clear();
    if (isPrinting()) {
        mError = QStringLiteral("「%1」では別の印刷を実行中です。").arg(printerName());
        return false;
    }
    mPrinter->setDocName(mTitle);
    mPrinter->setFullPage(true);

    if (isPdfOutput()) {
        if (mPdfPath.isEmpty()) {
            mError = QStringLiteral("PDFの保存先のファイル名が指定されていません。");
            return false;
        }
        // Qt's PDF engine writes the same PDF into any device: here an unnamed file in the
        // destination's folder that replaces the destination only when the job ends complete.
        mPdfFile = std::make_unique<WholeFile>(mPdfPath);
        if (!mPdfFile->open()) {
            mError = pdfWriteError(mPdfPath, mPdfFile->reason());
            mPdfFile.reset();
            return false;
        }
        mPrinter->setResolution(mPdfDpi); // the device values the renderers convert with
        mPdfWriter = std::make_unique<QPdfWriter>(&mPdfFile->device());
        mPdfWriter->setResolution(mPdfDpi);
        QPageLayout layout = mPrinter->pageLayout();
        layout.setMode(QPageLayout::FullPageMode); // the origin is the paper's corner, as above
        mPdfWriter->setPageLayout(layout);
        mPdfWriter->setTitle(mPrinter->docName());
        mPdfWriter->setCreator(mPrinter->creator());
        mPdfWriter->setPdfVersion(mPrinter->pdfVersion());
    } else {
        // A spooler that has stopped, or a queue removed since it was chosen, is told now rather
        // than after every page of a long job has been drawn.
        const SpoolerAnswer found = findQueue(printerName(), cupsQueueName(*mPrinter));
        if (!found.error.isEmpty()) {
            mError = found.error;
            return false;
        }
        // Given a file, Qt's CUPS engine writes the job's PDF there instead of spooling it. The
        // name must not end in ".pdf": that would turn the QPrinter into the PDF output, which
        // knows nothing of the queue's paper and margins.
        QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/nobrisa-job-XXXXXX"));
        spool.setAutoRemove(false);
        if (!spool.open()) {
            mError = QStringLiteral("プリンタ「%1」で印刷を開始できません。\n%2")
                         .arg(printerName(), spool.errorString());
            return false;
        }
        mSpoolPath = spool.fileName();
        mSpoolCleanup = std::make_unique<RemoveOnInterrupt>(mSpoolPath);
        spool.close();
        mPrinter->setOutputFileName(mSpoolPath);
    }

    if (!mPainter.begin(jobDevice())) {
        if (isPdfOutput()) {
            mPdfWriter.reset();
            mError = pdfWriteError(mPdfPath, QString());
            mPdfFile.reset();
        } else {
            QFile::remove(mSpoolPath);
            mSpoolPath.clear();
            mSpoolCleanup.reset();
            mPrinter->setOutputFileName(QString());
            mError = QStringLiteral("プリンタ「%1」で印刷を開始できません。").arg(printerName());
        }
        return false;
    }
    mJobGeometry = geometry(*mPrinter);
    mPainter.translate(mJobGeometry.left, mJobGeometry.top);
    mCanvas.setPainter(&mPainter);
    return true;
}

bool QtPrinterDevice::newPage()
{
    mError.clear();
    if (!isPrinting()) {
        mError = QStringLiteral("印刷が開始されていません。");
        return false;
    }
    mCanvas.flush();
    if (!jobDevice()->newPage()) {
        mError = isPdfOutput()
                     ? pdfWriteError(mPdfPath, QString())
                     : QStringLiteral("プリンタ「%1」で改ページできません。").arg(printerName());
        return false;
    }
    return true;
}

bool QtPrinterDevice::endDoc()
{
    mError.clear();
    if (!isPrinting()) {
        mError = QStringLiteral("印刷が開始されていません。");
        return false;
    }
    mCanvas.setPainter(nullptr);
    const bool ended = mPainter.end();
    if (isPdfOutput())
        return finishPdf(ended);
    return submitToQueue(ended);
}

bool QtPrinterDevice::submitToQueue(bool painterEnded)
{
    const QString spool = mSpoolPath;
    mSpoolPath.clear();
    const std::unique_ptr<RemoveOnInterrupt> cleanup = std::move(mSpoolCleanup); // until removed
    mPrinter->setOutputFileName(QString()); // back to spooling; the queue's settings stay
    if (!painterEnded || !looksComplete(spool)) {
        QFile::remove(spool);
        mError = QStringLiteral("プリンタ「%1」への印刷を完了できません。").arg(printerName());
        return false;
    }
    cups_option_t* options = nullptr;
    const int count = cupsJobOptions(*mPrinter, &options);
    const SpoolerAnswer spooled =
        spoolFile(printerName(), cupsQueueName(*mPrinter), spool, mTitle.toUtf8(), count, options);
    cupsFreeOptions(count, options);
    QFile::remove(spool);
    if (spooled.jobId <= 0) {
        mError = spooled.error;
        return false;
    }
    mLastJobId = spooled.jobId;
    return true;
}

bool QtPrinterDevice::finishPdf(bool painterEnded)
{
    mPdfWriter.reset();
    const std::unique_ptr<WholeFile> file = std::move(mPdfFile);
    if (!painterEnded) {
        mError = pdfWriteError(mPdfPath, QString());
        return false;
    }
    if (!file->commit()) {
        mError = pdfWriteError(mPdfPath, file->reason());
        return false;
    }
    return true;
}

QPagedPaintDevice* QtPrinterDevice::jobDevice()
{
    if (mPdfWriter)
        return mPdfWriter.get();
    return mPrinter.get();
}

void QtPrinterDevice::abandonJob()
{
    if (!isPrinting())
        return;
    mCanvas.setPainter(nullptr);
    // As with Qt's own spooling, a queue receives what was drawn so far, while the PDF's
    // temporary file is discarded.
    const bool ended = mPainter.end();
    mPdfWriter.reset();
    mPdfFile.reset();
    if (!mSpoolPath.isEmpty())
        submitToQueue(ended);
}

} // namespace nobrisa
