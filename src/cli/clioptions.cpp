#include "cli/clioptions.h"

#include "cli/clitool.h"
#include "model/numbertext.h"
#include "platform/qtprinterdevice.h"

#include <QDateTime>
#include <QFileInfo>

#include <array>

namespace nobrisa::cli {

namespace {

// The names --map takes, in the lists' order.
constexpr std::array<std::pair<const char16_t*, MapField>, kMapFieldCount> kMapNames{{
    {u"postal", MapField::PostalCode},
    {u"address1", MapField::Address1},
    {u"address2", MapField::Address2},
    {u"name", MapField::Name},
    {u"tel", MapField::Telephone},
    {u"amount", MapField::Amount},
    {u"message1", MapField::Message1},
    {u"message2", MapField::Message2},
    {u"message3", MapField::Message3},
    {u"message4", MapField::Message4},
}};

} // namespace

int usageError(const QString& problem, QTextStream& err)
{
    err << "nobrisa-cli: " << problem << "\n(nobrisa-cli --help で使い方を表示します)\n";
    return Usage;
}

std::optional<QString> checkReadable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("ファイル「%1」が見つかりません。").arg(path);
    if (!info.isFile() || !info.isReadable())
        return QStringLiteral("ファイル「%1」を読み込めません。").arg(path);
    return std::nullopt;
}

std::optional<std::pair<MapField, int>> parseMapping(const QString& text)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    const QString name = text.left(eq).trimmed().toLower();
    int column = 0;
    if (!parseWholeNumber(text.mid(eq + 1), &column) || column < 0)
        return std::nullopt;
    for (const auto& [known, field] : kMapNames) {
        if (name == QStringView(known))
            return std::pair{field, column};
    }
    return std::nullopt;
}

QString mappingUsage()
{
    return QStringLiteral("--map には 項目=列番号 を指定してください (例: name=4)。"
                          "項目: postal, address1, address2, name, tel, amount, "
                          "message1～message4");
}

bool loadSettingFile(const QString& path, SettingsState& state, TPrintPositions& positions,
                     QTextStream& err)
{
    if (const auto problem = checkReadable(path)) {
        err << "nobrisa-cli: " << *problem << '\n';
        return false;
    }
    SettingsEnvironment env;
    env.now = QDateTime::currentDateTime();
    QString error;
    if (!LoadSettings(path, state, env, &error) || !LoadPrintPositions(path, positions, &error)) {
        err << "nobrisa-cli: " << error << '\n';
        return false;
    }
    return true;
}

int loadRows(const QString& csv, const QString& amountText,
             const std::vector<std::pair<MapField, int>>& mapping, bool readNonText,
             ContinuousTable& rows, QTextStream& err)
{
    if (const auto problem = checkReadable(csv)) {
        err << "nobrisa-cli: " << *problem << '\n';
        return FileError;
    }
    QString error;
    const std::optional<QString> text = readCsvFile(csv, &error);
    if (!text) {
        err << "nobrisa-cli: " << error << '\n';
        return FileError;
    }
    // Nobody is there to ask: a picture or a program given by mistake would print thousands of
    // slips of garbage.
    if (const auto notText = notTextMessage(csv, *text); notText && !readNonText) {
        err << "nobrisa-cli: " << *notText << "\nCSV ファイルとして読み込むには --binary を"
            << "指定してください。\n";
        return FileError;
    }
    if (!openCsvText(rows, csv, *text, amountText, &error)) {
        err << "nobrisa-cli: " << error << '\n';
        return FileError;
    }
    for (const auto& [field, column] : mapping) {
        if (column >= rows.mapping.itemCount) {
            err << "nobrisa-cli: --map の列 " << column << " はありません (この CSV の列は 1 から "
                << rows.mapping.itemCount - 1 << " まで)。\n";
            return Usage;
        }
        rows.mapping.select(field, column);
    }
    return Ok;
}

bool selectNamedPrinter(QtPrinterDevice& printer, const QString& name, QTextStream& err)
{
    if (printer.selectPrinter(name))
        return true;
    err << "nobrisa-cli: プリンタ「" << name << "」が見つかりません。";
    const QStringList names = printer.printerNames();
    if (names.isEmpty())
        err << "プリンタがインストールされていません。\n";
    else
        err << "使えるプリンタ: " << names.join(QStringLiteral(", ")) << '\n';
    return false;
}

} // namespace nobrisa::cli
