// nobrisa-cli export: the slip's values of a setting file written as the main window's
// information export writes them (a text file of one value per line, or one CSV record), for
// scripts that pass a slip on to other programs.

#include "cli/clioptions.h"
#include "cli/clitool.h"

#include "aids/infoexport.h"

#include <QDate>

#include <optional>

namespace nobrisa::cli {

namespace {

struct ExportOptions {
    QString file;
    QString out;
    std::optional<ExportFormat> format;
};

std::optional<QString> parseExport(const QStringList& args, ExportOptions& o)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--txt" || a == u"--csv") {
            if (o.format)
                return QStringLiteral("--txt と --csv はどちらか１つだけ指定してください。");
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return QStringLiteral("%1 の後にファイル名を指定してください。").arg(a);
            o.format = a == u"--txt" ? ExportFormat::Text : ExportFormat::Csv;
            o.out = args[++i];
        } else if (a.startsWith(u"--")) {
            return QStringLiteral("不明なオプションです: %1").arg(a);
        } else if (o.file.isEmpty()) {
            o.file = a;
        } else {
            return QStringLiteral("ファイルは１つだけ指定してください: %1").arg(a);
        }
    }
    if (o.file.isEmpty())
        return QStringLiteral("書き出す設定ファイルを指定してください。");
    if (!o.format)
        return QStringLiteral("--txt OUT か --csv OUT で書き出すファイルを指定してください。");
    return std::nullopt;
}

} // namespace

int exportCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    ExportOptions o;
    if (const auto problem = parseExport(args, o))
        return usageError(*problem, err);
    SettingsState state;
    TPrintPositions positions;
    if (!loadSettingFile(o.file, state, positions, err))
        return FileError;

    const ExportBytes exported =
        exportBytes(*o.format, state.slip, exportDateText(QDate::currentDate()));
    QString error;
    if (!writeExportFile(o.out, exported.bytes, &error)) {
        err << "nobrisa-cli: " << error << '\n';
        return PrintFailed;
    }
    if (exported.replaced > 0)
        err << "nobrisa-cli: 注意: " << replacedCharactersMessage(exported.replaced) << '\n';
    out << "「" << o.out << "」に払込取扱票の情報を"
        << (*o.format == ExportFormat::Text ? "テキスト形式" : "CSV形式") << "で書き出しました。\n";
    return Ok;
}

} // namespace nobrisa::cli
