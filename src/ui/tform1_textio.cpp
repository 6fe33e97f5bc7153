// The main window's text import (a subscriber or a payer read from a small text file) and
// information export (the slip's values written as a text or a CSV file).

#include "ui/tform1.h"

#include "aids/textimport.h"
#include "text/lines.h"
#include "text/outwardtext.h"
#include "ui/prompts.h"
#include "ui/slipbinding.h"

#include <QDate>
#include <QFileInfo>

namespace nobrisa {

namespace {

const QString kTextFilter = QStringLiteral("テキスト (*.txt);;すべて (*)");

} // namespace

void TForm1::showImported(const QString& fileName, const QString& what)
{
    // The fields may be on a page not in front: say what changed.
    showResult(
        QStringLiteral("「%1」から%2を読み込みました。").arg(QFileInfo(fileName).fileName(), what));
}

std::optional<QStringList> TForm1::chooseImportFile(QString& fileName)
{
    // The open dialog is set up for text files for this one question; the folder and the file
    // name it proposes to setting files stay as they were.
    fileName =
        mPrompts.openFile(this, {QStringLiteral("加入者テキスト読み込み"), mState.openDialogDir,
                                 QString(), kTextFilter, QStringLiteral("txt")});
    if (fileName.isEmpty())
        return std::nullopt;
    QString error;
    std::optional<QStringList> lines = readImportFile(fileName, &error);
    if (!lines)
        mPrompts.error(this, error);
    return lines;
}

void TForm1::MtextkanyuClick()
{
    QString fileName;
    const std::optional<QStringList> lines = chooseImportFile(fileName);
    if (!lines)
        return;
    const SubscriberText read = readSubscriberText(*lines);
    TSlipRecord& s = mState.slip;
    s.Ekouza1 = read.Ekouza1;
    s.Ekouza2 = read.Ekouza2;
    s.Ekouza3 = read.Ekouza3;
    s.Ekanyu = read.Ekanyu;
    mBinding->showRecord();
    showImported(fileName, QStringLiteral("口座番号と加入者名"));
}

void TForm1::MtextharaiClick()
{
    QString fileName;
    const std::optional<QStringList> lines = chooseImportFile(fileName);
    if (!lines)
        return;
    const PayerText read = readPayerText(*lines);
    TSlipRecord& s = mState.slip;
    s.Ezip = read.Ezip;
    s.Maddres = read.Maddres;
    s.Etele1 = read.Etele1;
    s.Etele2 = read.Etele2;
    s.Etele3 = read.Etele3;
    mBinding->showRecord();
    showImported(fileName, QStringLiteral("ご依頼人"));
}

void TForm1::MsavetxttxtClick()
{
    exportInformation(ExportFormat::Text);
}

void TForm1::MsavetxtcsvClick()
{
    exportInformation(ExportFormat::Csv);
}

void TForm1::exportInformation(ExportFormat format)
{
    const bool text = format == ExportFormat::Text;
    const QString suffix = text ? QStringLiteral("txt") : QStringLiteral("csv");
    // The save dialog proposes the subscriber's name for this one question; the folder and the
    // name it proposes to setting files stay as they were.
    const QString fileName = mPrompts.saveFile(
        this,
        {text ? QStringLiteral("情報をテキスト形式で保存") : QStringLiteral("情報をCSV形式で保存"),
         mState.saveDialogDir, nobrisa::proposedFileName(lineAt(mState.slip.Ekanyu, 0), suffix),
         text ? kTextFilter : QStringLiteral("カンマ区切り(CSV) (*.csv);;すべて (*)"), suffix});
    if (fileName.isEmpty())
        return;
    const ExportBytes exported =
        exportBytes(format, mState.slip, exportDateText(QDate::currentDate()));
    QString error;
    if (!writeExportFile(fileName, exported.bytes, &error)) {
        mPrompts.error(this, error);
        return;
    }
    if (exported.replaced > 0)
        mPrompts.warning(this, replacedCharactersMessage(exported.replaced));
    showResult(QStringLiteral("「%1」に保存しました。").arg(QFileInfo(fileName).fileName()));
}

} // namespace nobrisa
