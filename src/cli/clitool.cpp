#include "cli/clitool.h"

#include "cli/clioptions.h"

#include "aids/continuoustable.h"

#include "model/digitcells.h"
#include "model/fontchoice.h"
#include "model/numbertext.h"
#include "model/tprintpositions.h"
#include "platform/fonts.h"
#include "platform/qtprinterdevice.h"
#include "render/canvas.h"
#include "render/drawslip.h"
#include "render/printcheck.h"
#include "render/printjob.h"
#include "settings/settings.h"
#include "text/outwardtext.h"

#include <optional>
#include <utility>
#include <vector>

namespace nobrisa::cli {

namespace {

const char* const kHelp = R"(使い方:
  nobrisa-cli print FILE [--copies N] [--right] [--blank] [--printer NAME | --pdf OUT.pdf] [--dpi N]
  nobrisa-cli print FILE --csv ROWS.csv [--rows B-E | --all] [--map FIELD=COLUMN ...]
                   [--binary] [--printer NAME | --pdf OUT.pdf] [--dpi N]
  nobrisa-cli facsimile FILE OUT [--dpi N] [--printer NAME]
                       [--csv ROWS.csv --row N [--map FIELD=COLUMN ...] [--binary]]
  nobrisa-cli export FILE (--txt OUT.txt | --csv OUT.csv)
  nobrisa-cli printers
  nobrisa-cli --help
  nobrisa-cli --version

print     設定ファイル (*.dat) またはアプリケーションの INI ファイルの払込取扱票を印刷します。
          払込取扱票の内容、全体印刷位置の微調整、印刷位置 (TabSheet99) はそのファイルから読みます。
          印刷ジョブ名は "Nobrisa_" と加入者名の１行目です。
          どのフォントにもない文字があれば、その文字と欄を標準エラーに表示してから印刷します。
  --copies N      N 枚を１つの印刷ジョブで印刷します (N ページ、既定 1)。
  --right         右側 (受領証) だけを印刷します。
  --blank         印刷する項目が１つも選ばれていなくても (白紙でも) 印刷します。
                  指定しなければ、白紙になる印刷はせずに終了コード 1 で終わります。
  --printer NAME  このプリンタで印刷します (既定: システムの既定のプリンタ)。
  --pdf OUT.pdf   プリンタの代わりに PDF ファイルに出力します。
  --dpi N         PDF の解像度 (既定 600)。
  --verbose       プリンタの解像度と余白 (デバイス値) も表示します。

連続印刷 (ご依頼人連続印刷):
  --csv ROWS.csv  CSV ファイルの１行につき１枚、ご依頼人を変えて１つの印刷ジョブで印刷します。
                  CSV には見出し行はなく、１行目が１件目です。金額の列は画面と同じく右端に
                  追加され、設定ファイルの金額が入ります。
  --rows B-E      B 件目から E 件目までを印刷します (既定: 全件)。B か E が 0 なら見本の１枚。
                  E が表の行数より大きければ最後の行までです。E が B より小さいとき、B が
                  表の行数より大きいとき、100000 枚を超えるときは何も印刷せず、終了コード 1
                  で終わります。
  --all           全件を印刷します。
  --map FIELD=COLUMN
                  項目に使う CSV の列 (1 から) を指定します。0 は「(なし)」、金額は「(金額欄)」、
                  通信欄は「(通信欄)」(設定ファイルの通信欄) です。既定は画面で CSV を開いた
                  直後と同じです: postal=1 address1=2 address2=3 name=4 tel=5 amount=0
                  message1=0 message2=8 message3=9 message4=10 (その列がなければ 0)。
                  FIELD: postal (〒), address1 (住所１), address2 (住所２), name (氏名),
                         tel (電話), amount (金額), message1 … message4 (通信欄１～４)
  --binary        テキストファイルではないように見える CSV ファイル (制御文字の多いファイル)
                  も読み込みます。指定しなければ、そのようなファイルは終了コード 2 で断ります。
                  CSV ファイルは 64 MB、1,000,000 行、１行 1,000 項目までです。
facsimile 設定ファイルの払込取扱票の見本 (青い用紙の枠に、印刷される位置で内容を描いた絵) を
          OUT に書き出します。形式は OUT の拡張子で決まります: .wmf (Windows メタファイル),
          .emf (拡張メタファイル), .png (画像), .pdf。絵の大きさはプリンタのドットで
          用紙の左上から払込取扱票の右下までです。
  --dpi N         PNG の解像度 (既定 200)。
  --printer NAME  このプリンタの解像度と余白で描きます (既定: 600 dpi の PDF 出力。
                  どのパソコンでも同じ絵になります)。
  --csv ROWS.csv --row N
                  CSV ファイルの N 行目 (1 から) をご依頼人にした見本を描きます。
  --map FIELD=COLUMN, --binary   print と同じです。
export    設定ファイルの払込取扱票の情報 (口座番号、加入者名、金額、ご依頼人、通信欄、今日の
          日付) を、画面の「情報をテキストに保存」と同じ形式で書き出します。文字コードは
          CP932 (Shift-JIS) です。CP932 で表せない文字は「?」になり、その数を標準エラーに
          表示します。
  --txt OUT.txt   テキスト形式 (１行に１項目) で書き出します。
  --csv OUT.csv   CSV 形式 (９項目を " で囲んだ１行) で書き出します。
printers  プリンタの一覧を表示します。既定のプリンタには * が付きます。
--version バージョンを表示します。

終了コード: 0 成功, 1 引数の誤り, 2 ファイルを読めない (CSV ファイルが大きすぎる・テキストでない),
            3 プリンタがない・見つからない,
            4 印刷または PDF・見本・書き出すファイルの書き込みに失敗,
            130 / 143 / 129 Ctrl-C / SIGTERM / SIGHUP で中断 (書きかけのファイルは残しません)
)";

struct PrintOptions {
    QString file;
    int copies = 1;
    bool right = false;
    bool blank = false; // print even when no group is switched on
    QString printer;
    QString pdf;
    int dpi = 600;
    bool verbose = false;
    // Continuous print: the CSV file, the rows (all when not given), the mapping overrides and
    // whether a CSV file that looks like no text file is read all the same.
    QString csv;
    std::optional<std::pair<int, int>> rows;
    std::vector<std::pair<MapField, int>> mapping;
    bool binary = false;
};

// "B-E" → (B, E), both whole numbers ≥ 0.
std::optional<std::pair<int, int>> parseRowRange(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    int first = 0;
    int last = 0;
    if (parts.size() != 2 || !parseWholeNumber(parts[0], &first) ||
        !parseWholeNumber(parts[1], &last) || first < 0 || last < 0)
        return std::nullopt;
    return std::pair{first, last};
}

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
        } else if (a == u"--blank") {
            o.blank = true;
        } else if (a == u"--verbose") {
            o.verbose = true;
        } else if (a == u"--binary") {
            o.binary = true;
        } else if (a == u"--copies" || a == u"--dpi") {
            const auto v = needValue(i);
            int n = 0;
            if (!v || !parseWholeNumber(*v, &n))
                return QStringLiteral("%1 には数を指定してください。").arg(a);
            if (a == u"--copies") {
                if (n < 1 || n > kMaxPagesPerJob)
                    return QStringLiteral("--copies は 1 から %1 までです。").arg(kMaxPagesPerJob);
                o.copies = n;
            } else {
                if (n < 72 || n > 2400)
                    return QStringLiteral("--dpi は 72 から 2400 までです。");
                o.dpi = n;
            }
        } else if (a == u"--all") {
            o.rows.reset();
        } else if (a == u"--rows") {
            const auto v = needValue(i);
            o.rows = v ? parseRowRange(*v) : std::nullopt;
            if (!o.rows)
                return QStringLiteral("--rows には 始め-終わり の形で件数を指定してください (例: 1-20)。");
        } else if (a == u"--map") {
            const auto v = needValue(i);
            const auto pair = v ? parseMapping(*v) : std::nullopt;
            if (!pair)
                return mappingUsage();
            o.mapping.push_back(*pair);
        } else if (a == u"--printer" || a == u"--pdf" || a == u"--csv") {
            const auto v = needValue(i);
            if (!v || v->isEmpty())
                return QStringLiteral("%1 の後に%2を指定してください。")
                    .arg(a, a == u"--printer" ? QStringLiteral("プリンタ名")
                                              : QStringLiteral("ファイル名"));
            (a == u"--printer" ? o.printer : a == u"--pdf" ? o.pdf : o.csv) = *v;
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
    const bool continuous = !o.csv.isEmpty();
    if (!continuous &&
        (o.rows || !o.mapping.empty() || o.binary || args.contains(QStringLiteral("--all"))))
        return QStringLiteral("--rows, --all, --map, --binary は --csv と一緒に指定してください。");
    if (continuous && (o.right || o.copies != 1))
        return QStringLiteral("--csv は --copies, --right と同時に指定できません。");
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
    if (const auto problem = parsePrint(args, o))
        return usageError(*problem, err);

    SettingsState state;
    TPrintPositions positions;
    if (!loadSettingFile(o.file, state, positions, err))
        return FileError;

    // The continuous print reads its rows before any printer is touched.
    ContinuousTable rows;
    RowRange range;
    if (!o.csv.isEmpty()) {
        if (const int status =
                loadRows(o.csv, state.slip.SEkingaku.text(), o.mapping, o.binary, rows, err))
            return status;
        const int dataRows = rows.table.rowCount() - 1;
        const RowRange requested =
            o.rows
                ? continuousRange(QString::number(o.rows->first), QString::number(o.rows->second))
                : continuousRange(QString::number(dataRows > 0 ? 1 : 0), QString::number(dataRows));
        // As in the window, an end beyond the table stops at its last row. No job at all when
        // nothing is left: an empty one would still feed a blank form through a printer.
        QString why;
        const std::optional<RowRange> printable = printableRange(requested, dataRows, &why);
        if (!printable) {
            err << "nobrisa-cli: ";
            if (o.rows)
                err << "--rows " << o.rows->first << '-' << o.rows->second << ": ";
            err << why << '\n';
            return Usage;
        }
        range = *printable;
    }

    // A blank slip wastes a pre-printed form, and nobody is there to ask: a setting file with
    // every switch off (as a first start saves it) is refused unless --blank says it is meant.
    const SlipPart part = o.right ? SlipPart::RightHalf : SlipPart::Whole;
    if (o.csv.isEmpty() && !o.blank && !drawsAnyGroup(state.slip, part)) {
        err << "nobrisa-cli: 印刷する項目が選ばれていません (「…を印刷する」がすべてオフです)。"
               "白紙を印刷するには --blank を指定してください。\n";
        return Usage;
    }

    registerFaceSubstitutes();
    selectFaces(state.slip, availableFaces());

    QtPrinterDevice printer;
    if (!o.pdf.isEmpty()) {
        printer.setPdfOutput(o.pdf, o.dpi);
    } else if (!o.printer.isEmpty()) {
        if (!selectNamedPrinter(printer, o.printer, err))
            return PrinterError;
    } else if (printer.isPdfOutput()) {
        err << "nobrisa-cli: プリンタがありません。--pdf で出力する PDF ファイルを指定してください。\n";
        return PrinterError;
    }
    printer.setOrientation(state.orientation);
    printer.setTitle(jobTitle(state.slip.Ekanyu));
    if (o.verbose)
        printDeviceValues(printer, out);

    // Characters no font has print as empty boxes: say which and where, then print anyway, as
    // a script has no one to ask.
    const UndrawableTexts undrawable =
        o.csv.isEmpty() ? findUndrawable(state.slip, part, installedFontsHave)
                        : findUndrawableInRows(state.slip, rows.table, rows.mapping, range.first,
                                               range.last, installedFontsHave);
    if (!undrawable.empty())
        err << "nobrisa-cli: 次の文字はどのフォントにもないため、四角が印刷されます:\n  "
            << describeUndrawable(undrawable, 20).replace(u'\n', QStringLiteral("\n  ")) << '\n';

    DigitCells cells;
    const SlipSource source{state.slip, positions, printer, cells};
    const PrintOutcome outcome =
        o.csv.isEmpty()
            ? runPrintJob(printer, o.copies,
                          [&](Canvas& canvas, int) {
                              if (o.right)
                                  DrawSlipRight(canvas, source);
                              else
                                  DrawSlip(canvas, source);
                          })
            : runPrintJob(printer, range.count(), [&](Canvas& canvas, int page) {
                  DrawSlipRow(canvas, source, {rows.table, rows.mapping, range.first + page});
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
    // The version the build (and the package) was given in CMake.
    if (command == u"--version" && rest.isEmpty()) {
        out << "nobrisa-cli " NOBRISA_VERSION "\n";
        return Ok;
    }
    if (command == u"print")
        return printCommand(rest, out, err);
    if (command == u"printers")
        return printersCommand(rest, out, err);
    if (command == u"facsimile")
        return facsimileCommand(rest, out, err);
    if (command == u"export")
        return exportCommand(rest, out, err);
    err << "nobrisa-cli: 不明なコマンドです: " << command << "\n\n" << kHelp;
    return Usage;
}

} // namespace nobrisa::cli
