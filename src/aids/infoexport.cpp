#include "aids/infoexport.h"

#include "model/tsliprecord.h"
#include "text/encoding.h"
#include "text/lines.h"
#include "text/wholefile.h"

#include <QDir>
#include <QLocale>

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
    QString reason;
    if (writeWholeFile(path, bytes, &reason))
        return true;
    if (error)
        *error = writeFailure(path, reason);
    return false;
}

QString replacedCharactersMessage(qsizetype replaced)
{
    return QStringLiteral("CP932（Shift-JIS）で表せない文字 %1 文字を「?」にして保存しました。")
        .arg(replaced);
}

} // namespace nobrisa
