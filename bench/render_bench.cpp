// Times printing to a PDF through QtCanvas and QtPrinterDevice, and prints pages per second and
// the peak resident memory, which shows whether the font cache holds and whether memory grows
// with the page count.
//
//   render_bench [PAGES] [--dpi N] [--out FILE.pdf]
//       PAGES copies (default 1000) of a full slip, every group switched on with Japanese name,
//       address and message, drawn by DrawSlip.
//   render_bench --csv ROWS.csv [--dpi N] [--out FILE.pdf]
//       the continuous print: the CSV opened as the continuous-print page opens it, default
//       column choices, one slip per row drawn by DrawSlipRow.
//
// Without --out the PDF goes to a temporary folder and is removed afterwards.

#include "benchutil.h"

#include "aids/continuoustable.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "platform/allocator.h"
#include "platform/fonts.h"
#include "platform/qtprinterdevice.h"
#include "render/drawslip.h"
#include "render/printjob.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace nobrisa;
using bench::peakRssKiB;

TSlipRecord sampleSlip()
{
    TSlipRecord s;
    s.CheckBox1 = true;
    s.Ekouza1 = QStringLiteral("00120");
    s.Ekouza2 = QStringLiteral("3");
    s.Ekouza3 = QStringLiteral("456789");
    s.Ekanyu = QStringLiteral("特定非営利活動法人\r\nのぶりさ自然保護協会");
    s.CheckBoxfont5 = true;
    s.CheckBox2 = true;
    s.SEkingaku.setText(QStringLiteral("12345678"));
    s.CheckBox3 = true;
    s.MemoTsuushin =
        QStringLiteral("年会費（二〇二六年度分）として\r\n"
                       "会員番号\t1234-5678\r\n"
                       "いつもお世話になっております。今年もよろしくお願いいたします。\r\n"
                       "領収書の送付は不要です。");
    s.CheckBox4 = true;
    s.Ezip = QStringLiteral("100-8798");
    s.Maddres = QStringLiteral(
        "東京都千代田区大手町二丁目３番１号\r\n大手町プレイスウエストタワー１２階\r\n"
        "郵便　太郎");
    s.Etele1 = QStringLiteral("03");
    s.Etele2 = QStringLiteral("1234");
    s.Etele3 = QStringLiteral("5678");
    s.CheckBoxfont4 = true;
    s.CheckBox4R = true;
    s.MaddresR = QStringLiteral("東京都千代田区大手町二丁目３番１号\r\n郵便　太郎　様");
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    nobrisa::keepFreedMemoryForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int pages = 1000;
    int dpi = 600;
    QString out;
    QString csv;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--dpi") && i + 1 < args.size())
            dpi = args[++i].toInt();
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--csv") && i + 1 < args.size())
            csv = args[++i];
        else if (args[i].toInt() > 0)
            pages = args[i].toInt();
        else {
            std::fprintf(stderr, "usage: render_bench [PAGES | --csv ROWS.csv] [--dpi N] [--out FILE.pdf]\n");
            return 2;
        }
    }

    QTemporaryDir temp;
    if (out.isEmpty())
        out = temp.filePath(QStringLiteral("bench.pdf"));

    QElapsedTimer startup;
    startup.start();
    registerFaceSubstitutes();
    QtPrinterDevice printer;
    printer.setPdfOutput(out, dpi);
    printer.setPaperCode(9);
    printer.setTitle(QStringLiteral("Nobrisa_bench"));
    TSlipRecord slip = sampleSlip();
    TPrintPositions positions;
    DigitCells cells;
    ContinuousTable rows;
    if (!csv.isEmpty()) {
        QString error;
        if (!openCsvFile(rows, csv, slip.SEkingaku.text(), &error)) {
            std::fprintf(stderr, "render_bench: %s\n", qPrintable(error));
            return 1;
        }
        pages = rows.table.rowCount() - 1; // row 0 is the heading row
    }
    const qint64 setupMs = startup.elapsed();
    const long rssBefore = peakRssKiB();

    QElapsedTimer timer;
    timer.start();
    const SlipSource source{slip, positions, printer, cells};
    const PrintOutcome outcome = runPrintJob(printer, pages, [&](Canvas& canvas, int page) {
        if (csv.isEmpty())
            DrawSlip(canvas, source);
        else
            DrawSlipRow(canvas, source, {rows.table, rows.mapping, page + 1});
    });
    const qint64 ms = timer.elapsed();
    if (!outcome.ok) {
        std::fprintf(stderr, "render_bench: %s\n", qPrintable(outcome.error));
        return 1;
    }

    const double seconds = ms / 1000.0;
    std::printf("pages           %d at %d dpi\n", outcome.pagesDrawn, dpi);
    std::printf("set-up          %lld ms (fonts, printer%s)\n", static_cast<long long>(setupMs),
                csv.isEmpty() ? "" : ", CSV open");
    std::printf("render + write  %.3f s  (%.2f ms/page, %.0f pages/s)\n", seconds,
                ms / double(outcome.pagesDrawn),
                outcome.pagesDrawn / (seconds > 0 ? seconds : 1e-9));
    std::printf("peak RSS        %ld KiB (%ld KiB before printing)\n", peakRssKiB(), rssBefore);
    std::printf("PDF             %lld bytes  %s\n", static_cast<long long>(QFileInfo(out).size()),
                qPrintable(out));
    return 0;
}
