#include "cli/clitool.h"

#include "model/digitcells.h"
#include "model/fontchoice.h"
#include "model/numbertext.h"
#include "model/tprintpositions.h"
#include "platform/fonts.h"
#include "platform/qtprinterdevice.h"
#include "render/canvas.h"
#include "render/drawslip.h"
#include "render/printjob.h"
#include "settings/settings.h"
#include "text/lines.h"

#include <QDateTime>
#include <QFileInfo>

#include <optional>

namespace nobrisa::cli {

namespace {

const char* const kHelp = R"(使い方:
  nobrisa-cli print FILE [--copies N] [--right] [--printer NAME | --pdf OUT.pdf] [--dpi N]
  nobrisa-cli printers
  nobrisa-cli --help

print     設定ファイル (*.dat) またはアプリケーションの INI ファイルの払込取扱票を印刷します。
          払込取扱票の内容、全体印刷位置の微調整、印刷位置 (TabSheet99) はそのファイルから読みます。
          印刷ジョブ名は "Nobrisa_" と加入者名の１行目です。
  --copies N      N 枚を１つの印刷ジョブで印刷します (N ページ、既定 1)。
  --right         右側 (受領証) だけを印刷します。
  --printer NAME  このプリンタで印刷します (既定: システムの既定のプリンタ)。
  --pdf OUT.pdf   プリンタの代わりに PDF ファイルに出力します。
  --dpi N         PDF の解像度 (既定 600)。
  --verbose       プリンタの解像度と余白 (デバイス値) も表示します。
printers  プリンタの一覧を表示します。既定のプリンタには * が付きます。

終了コード: 0 成功, 1 引数の誤り, 2 ファイルを読めない, 3 プリンタがない・見つからない,
            4 印刷または PDF の書き込みに失敗
)";

struct PrintOptions {
    QString file;
    int copies = 1;
    bool right = false;
    QString printer;
    QString pdf;
    int dpi = 600;
    bool verbose = false;
};

// Reads the print command's arguments; returns an error message for bad ones.
std::optional<QString> parsePrint(const QStringList& args, PrintOptions& o)
{
    auto needValue = [&](qsizetype& i) -> std::optional<QString> {
        if (i + 1 >= args.size())
            return std::nullopt;
        return args[++i];
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--right") {
            o.right = true;
        } else if (a == u"--verbose") {
            o.verbose = true;
        } else if (a == u"--copies" || a == u"--dpi") {
            const auto v = needValue(i);
            int n = 0;
            if (!v || !parseWholeNumber(*v, &n))
                return QStringLiteral("%1 には数を指定してください。").arg(a);
            if (a == u"--copies") {
                if (n < 1 || n > 100000)
                    return QStringLiteral("--copies は 1 から 100000 までです。");
                o.copies = n;
            } else {
                if (n < 72 || n > 2400)
                    return QStringLiteral("--dpi は 72 から 2400 までです。");
                o.dpi = n;
            }
        } else if (a == u"--printer" || a == u"--pdf") {
            const auto v = needValue(i);
            if (!v || v->isEmpty())
                return QStringLiteral("%1 の後に%2を指定してください。")
                    .arg(a, a == u"--pdf" ? QStringLiteral("ファイル名") : QStringLiteral("プリンタ名"));
            (a == u"--printer" ? o.printer : o.pdf) = *v;
        } else if (a.startsWith(u"--")) {
            return QStringLiteral("不明なオプションです: %1").arg(a);
        } else if (o.file.isEmpty()) {
            o.file = a;
        } else {
            return QStringLiteral("ファイルは１つだけ指定してください: %1").arg(a);
        }
    }
    if (o.file.isEmpty())
        return QStringLiteral("印刷する設定ファイルを指定してください。");
    if (!o.printer.isEmpty() && !o.pdf.isEmpty())
        return QStringLiteral("--printer と --pdf は同時に指定できません。");
    return std::nullopt;
}

void printDeviceValues(const PrinterDevice& printer, QTextStream& out)
{
    const std::pair<const char*, DeviceCap> caps[] = {
        {"LOGPIXELSX", DeviceCap::LogPixelsX},       {"LOGPIXELSY", DeviceCap::LogPixelsY},
        {"PHYSICALOFFSETX", DeviceCap::PhysicalOffsetX},
        {"PHYSICALOFFSETY", DeviceCap::PhysicalOffsetY},
        {"PHYSICALWIDTH", DeviceCap::PhysicalWidth}, {"PHYSICALHEIGHT", DeviceCap::PhysicalHeight},
        {"HORZRES", DeviceCap::HorzRes},             {"VERTRES", DeviceCap::VertRes},
    };
    for (const auto& [name, cap] : caps)
        out << name << '=' << printer.deviceCaps(cap) << '\n';
    out.flush();
}

int printCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    PrintOptions o;
    if (const auto problem = parsePrint(args, o)) {
        err << "nobrisa-cli: " << *problem << "\n(nobrisa-cli --help で使い方を表示します)\n";
        return Usage;
    }

    const QFileInfo info(o.file);
    if (!info.exists()) {
        err << "nobrisa-cli: ファイル「" << o.file << "」が見つかりません。\n";
        return FileError;
    }
    if (!info.isFile() || !info.isReadable()) {
        err << "nobrisa-cli: ファイル「" << o.file << "」を読み込めません。\n";
        return FileError;
    }

    SettingsState state;
    TPrintPositions positions;
    SettingsEnvironment env;
    env.now = QDateTime::currentDateTime();
    QString error;
    if (!LoadSettings(o.file, state, env, &error) ||
        !LoadPrintPositions(o.file, positions, &error)) {
        err << "nobrisa-cli: " << error << '\n';
        return FileError;
    }

    registerFaceSubstitutes();
    selectFaces(state.slip, availableFaces());

    QtPrinterDevice printer;
    if (!o.pdf.isEmpty()) {
        printer.setPdfOutput(o.pdf, o.dpi);
    } else if (!o.printer.isEmpty()) {
        if (!printer.selectPrinter(o.printer)) {
            err << "nobrisa-cli: プリンタ「" << o.printer << "」が見つかりません。";
            const QStringList names = printer.printerNames();
            if (names.isEmpty())
                err << "プリンタがインストールされていません。\n";
            else
                err << "使えるプリンタ: " << names.join(QStringLiteral(", ")) << '\n';
            return PrinterError;
        }
    } else if (printer.isPdfOutput()) {
        err << "nobrisa-cli: プリンタがありません。--pdf で出力する PDF ファイルを指定してください。\n";
        return PrinterError;
    }
    printer.setOrientation(state.orientation);
    printer.setTitle(QStringLiteral("Nobrisa_") + lineAt(state.slip.Ekanyu, 0));
    if (o.verbose)
        printDeviceValues(printer, out);

    DigitCells cells;
    const SlipSource source{state.slip, positions, printer, cells};
    const PrintOutcome outcome =
        runPrintJob(printer, o.copies, [&](Canvas& canvas, int) {
            if (o.right)
                DrawSlipRight(canvas, source);
            else
                DrawSlip(canvas, source);
        });
    if (!outcome.ok) {
        err << "nobrisa-cli: " << outcome.error << '\n';
        return PrintFailed;
    }
    if (!o.pdf.isEmpty())
        out << "PDF「" << o.pdf << "」に " << outcome.pagesDrawn << " ページ出力しました。\n";
    else
        out << "プリンタ「" << printer.printerName() << "」に " << outcome.pagesDrawn
            << " ページ印刷しました。(" << printer.title() << ")\n";
    return Ok;
}

int printersCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty()) {
        err << "nobrisa-cli: printers には引数は要りません。\n";
        return Usage;
    }
    QtPrinterDevice printer;
    const QStringList names = printer.printerNames();
    if (names.isEmpty()) {
        out << "プリンタがインストールされていません (--pdf で PDF に出力できます)。\n";
        return Ok;
    }
    const QString current = printer.printerName();
    for (const QString& name : names)
        out << (name == current ? "* " : "  ") << name << '\n';
    return Ok;
}

} // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << kHelp;
        return Usage;
    }
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == u"--help" || command == u"-h" || command == u"help" ||
        rest.contains(QStringLiteral("--help"))) {
        out << kHelp;
        return Ok;
    }
    if (command == u"print")
        return printCommand(rest, out, err);
    if (command == u"printers")
        return printersCommand(rest, out, err);
    err << "nobrisa-cli: 不明なコマンドです: " << command << "\n\n" << kHelp;
    return Usage;
}

} // namespace nobrisa::cli
