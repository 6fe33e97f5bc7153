// nobrisa-cli facsimile: the picture the main window shows of a slip or a table row (the blank
// form in blue with the contents where the printer puts them), written to a file that can be
// mailed and looked at before a pre-printed form is spent.

#include "cli/clioptions.h"
#include "cli/clitool.h"

#include "model/digitcells.h"
#include "model/fontchoice.h"
#include "model/numbertext.h"
#include "platform/facsimile.h"
#include "platform/fonts.h"
#include "platform/qtcanvas.h"
#include "platform/qtprinterdevice.h"
#include "preview/metafileexport.h"
#include "preview/wmfwriter.h"
#include "render/drawslip.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <optional>
#include <utility>
#include <vector>

namespace nobrisa::cli {

namespace {

enum class Format { Wmf, Emf, Png, Pdf };

struct FacsimileOptions {
    QString file;
    QString out;
    Format format = Format::Png;
    int dpi = 200; // of the PNG
    QString printer;
    QString csv;
    int row = 0; // with --csv: the table row, from 1
    std::vector<std::pair<MapField, int>> mapping;
    bool binary = false; // read a CSV file that looks like no text file
};

std::optional<Format> formatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"wmf")
        return Format::Wmf;
    if (suffix == u"emf")
        return Format::Emf;
    if (suffix == u"png")
        return Format::Png;
    if (suffix == u"pdf")
        return Format::Pdf;
    return std::nullopt;
}

std::optional<QString> parseFacsimile(const QStringList& args, FacsimileOptions& o)
{
    std::vector<QString> files;
    bool rowGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--dpi" || a == u"--row") {
            int n = 0;
            if (!hasValue || !parseWholeNumber(args[++i], &n))
                return QStringLiteral("%1 には数を指定してください。").arg(a);
            if (a == u"--dpi") {
                if (n < 72 || n > 2400)
                    return QStringLiteral("--dpi は 72 から 2400 までです。");
                o.dpi = n;
            } else {
                if (n < 1)
                    return QStringLiteral("--row は 1 以上です (CSV の１行目が 1)。");
                o.row = n;
                rowGiven = true;
            }
        } else if (a == u"--binary") {
            o.binary = true;
        } else if (a == u"--map") {
            const auto pair = hasValue ? parseMapping(args[++i]) : std::nullopt;
            if (!pair)
                return mappingUsage();
            o.mapping.push_back(*pair);
        } else if (a == u"--printer" || a == u"--csv") {
            if (!hasValue || args[i + 1].isEmpty())
                return QStringLiteral("%1 の後に%2を指定してください。")
                    .arg(a, a == u"--printer" ? QStringLiteral("プリンタ名")
                                              : QStringLiteral("ファイル名"));
            (a == u"--printer" ? o.printer : o.csv) = args[++i];
        } else if (a.startsWith(u"--")) {
            return QStringLiteral("不明なオプションです: %1").arg(a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return QStringLiteral("設定ファイルと出力するファイルを指定してください。");
    o.file = files[0];
    o.out = files[1];
    const auto format = formatOf(o.out);
    if (!format)
        return QStringLiteral("出力ファイル「%1」の拡張子は .wmf, .emf, .png, .pdf のどれかにして"
                              "ください。")
            .arg(o.out);
    o.format = *format;
    if (o.csv.isEmpty() && (rowGiven || !o.mapping.empty() || o.binary))
        return QStringLiteral("--row, --map, --binary は --csv と一緒に指定してください。");
    if (!o.csv.isEmpty() && !rowGiven)
        return QStringLiteral("--csv には --row で行を指定してください。");
    return std::nullopt;
}

// The picture replayed on a QtCanvas whose painter maps the facsimile's device pixels onto
// `painter`'s device at `scaleX` × `scaleY`.
void replayScaled(const Facsimile& f, QPainter& painter, double scaleX, double scaleY)
{
    painter.scale(scaleX, scaleY);
    QtCanvas canvas(&painter);
    canvas.setFontPixelsPerInch(f.pixelsPerInchY);
    f.page.replay(canvas);
    canvas.setPainter(nullptr);
}

// A PNG at `dpi` on white: the picture's pixels scaled from the printer's resolution.
QByteArray pngBytes(const Facsimile& f, int dpi)
{
    const double sx = double(dpi) / f.pixelsPerInchX;
    const double sy = double(dpi) / f.pixelsPerInchY;
    QImage image(std::max(1, qRound(f.width * sx)), std::max(1, qRound(f.height * sy)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        replayScaled(f, painter, sx, sy);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A one-page PDF the size of the picture, at the printer's resolution: its texts stand where
// the printer's would.
QByteArray pdfBytes(const Facsimile& f)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(f.pixelsPerInchX);
    writer.setPageSize(
        QPageSize(QSizeF(f.width * 72.0 / f.pixelsPerInchX, f.height * 72.0 / f.pixelsPerInchY),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    replayScaled(f, painter, 1.0, double(f.pixelsPerInchX) / f.pixelsPerInchY);
    painter.end();
    return bytes;
}

} // namespace

int facsimileCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    FacsimileOptions o;
    if (const auto problem = parseFacsimile(args, o))
        return usageError(*problem, err);

    SettingsState state;
    TPrintPositions positions;
    if (!loadSettingFile(o.file, state, positions, err))
        return FileError;
    ContinuousTable rows;
    if (!o.csv.isEmpty()) {
        if (const int status =
                loadRows(o.csv, state.slip.SEkingaku.text(), o.mapping, o.binary, rows, err))
            return status;
        const int dataRows = rows.table.rowCount() - 1;
        if (o.row > dataRows) {
            err << "nobrisa-cli: --row " << o.row << " はありません (この CSV は " << dataRows
                << " 行です)。\n";
            return Usage;
        }
    }

    registerFaceSubstitutes();
    selectFaces(state.slip, availableFaces());

    // Without --printer the PDF output at 600 dpi: the same picture on every machine, whatever
    // printer it has (or none).
    QtPrinterDevice printer;
    if (o.printer.isEmpty()) {
        printer.setPdfOutput(QString(), 600);
    } else if (!selectNamedPrinter(printer, o.printer, err)) {
        return PrinterError;
    }
    printer.setOrientation(state.orientation);

    DigitCells cells;
    const SlipSource source{state.slip, positions, printer, cells};
    const std::optional<RowSource> row =
        o.csv.isEmpty() ? std::nullopt
                        : std::optional<RowSource>(RowSource{rows.table, rows.mapping, o.row});
    const Facsimile f = recordFacsimile(source, row ? &*row : nullptr);

    // Every format goes through a temporary file that replaces OUT only when all was written.
    QString error;
    bool written = false;
    switch (o.format) {
    case Format::Wmf:
    case Format::Emf:
        written = saveRecording(f.page, {f.width, f.height, f.pixelsPerInchY}, o.out, &error);
        break;
    case Format::Png:
        written = saveMetafile(o.out, pngBytes(f, o.dpi), &error);
        break;
    case Format::Pdf:
        written = saveMetafile(o.out, pdfBytes(f), &error);
        break;
    }
    if (!written) {
        err << "nobrisa-cli: " << error << '\n';
        return PrintFailed;
    }
    out << "「" << o.out << "」に払込取扱票の見本 (" << f.width << "×" << f.height << " ドット, "
        << f.pixelsPerInchX << " dpi) を書き出しました。\n";
    return Ok;
}

} // namespace nobrisa::cli
