#include "aids/infoexport.h"

#include "model/tsliprecord.h"
#include "text/encoding.h"
#include "text/lines.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace nobrisa {

namespace {

QString quoted(QString value)
{
    value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString joinedParts(const QString& a, const QString& b, const QString& c)
{
    return a + QLatin1Char('-') + b + QLatin1Char('-') + c;
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("ファイル「%1」に保存できません。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// The system's reason comes in English; a Japanese sentence says what it means for the user.
QString withSystemReason(const QString& explanation, const QString& systemReason)
{
    return systemReason.isEmpty() ? explanation
                                  : QStringLiteral("%1（%2）").arg(explanation, systemReason);
}

} // namespace

QString exportDateText(const QDate& date)
{
    // The weekday comes from the Japanese locale: the program speaks Japanese on any desktop.
    return QLocale(QLocale::Japanese, QLocale::Japan)
        .toString(date, QStringLiteral("yyyy年M月d日(ddd)"));
}

QStringList exportValues(const TSlipRecord& slip, const QString& date)
{
    return {slip.Ekouza1,
            slip.Ekouza2,
            slip.Ekouza3,
            wholeText(slip.Ekanyu),
            slip.SEkingaku.text(),
            slip.Ezip,
            wholeText(slip.Maddres),
            slip.Etele1,
            slip.Etele2,
            slip.Etele3,
            wholeText(slip.MemoTsuushin),
            wholeText(slip.MaddresR),
            date};
}

QString exportText(const TSlipRecord& slip, const QString& date)
{
    QString text;
    for (const QString& value : exportValues(slip, date))
        text += value + QStringLiteral("\r\n");
    return text;
}

QString exportCsv(const TSlipRecord& slip, const QString& date)
{
    const QStringList fields{joinedParts(slip.Ekouza1, slip.Ekouza2, slip.Ekouza3),
                             wholeText(slip.Ekanyu),
                             slip.SEkingaku.text(),
                             slip.Ezip,
                             wholeText(slip.Maddres),
                             joinedParts(slip.Etele1, slip.Etele2, slip.Etele3),
                             wholeText(slip.MemoTsuushin),
                             wholeText(slip.MaddresR),
                             date};
    QStringList quotedFields;
    for (const QString& field : fields)
        quotedFields << quoted(field);
    QString line = quotedFields.join(QLatin1Char(','));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line + QStringLiteral("\r\n");
}

ExportBytes exportBytes(ExportFormat format, const TSlipRecord& slip, const QString& date)
{
    ExportBytes out;
    out.bytes =
        encodeCp932(format == ExportFormat::Text ? exportText(slip, date) : exportCsv(slip, date),
                    &out.replaced);
    return out;
}

bool writeExportFile(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = writeFailure(path, reason);
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("同じ名前のフォルダーがあります。"));
    if (!QFileInfo(info.absolutePath()).isDir())
        return fail(QStringLiteral("保存先のフォルダーがありません。"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(withSystemReason(
            QStringLiteral("ファイルを作成できません。書き込みの権限を確かめて下さい。"),
            file.errorString()));
    // commit() alone does not notice a failure of the last buffered write: flush first.
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString reason = file.errorString();
    if (!written || !file.commit()) {
        file.cancelWriting();
        return fail(withSystemReason(
            QStringLiteral("書き込みに失敗しました。ディスクの空き容量を確かめて下さい。"),
            written ? file.errorString() : reason));
    }
    return true;
}

QString replacedCharactersMessage(qsizetype replaced)
{
    return QStringLiteral("CP932（Shift-JIS）で表せない文字 %1 文字を「?」にして保存しました。")
        .arg(replaced);
}

} // namespace nobrisa
