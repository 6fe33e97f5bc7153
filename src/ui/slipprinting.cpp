#include "ui/slipprinting.h"

#include "model/numbertext.h"
#include "model/tsliprecord.h"
#include "render/printerdevice.h"
#include "render/printjob.h"
#include "text/lines.h"
#include "ui/prompts.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace nobrisa {

QString jobTitle(const QString& subscriberName)
{
    return QStringLiteral("Nobrisa_") + lineAt(subscriberName, 0);
}

SlipPrinting::Outcome SlipPrinting::printSlip(QWidget* parent, const SlipSource& source)
{
    mPrinter.setTitle(jobTitle(source.slip.Ekanyu));
    return run(parent, 1, [&](Canvas& canvas) { DrawSlip(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::printRight(QWidget* parent, const SlipSource& source)
{
    mPrinter.setTitle(jobTitle(source.slip.Ekanyu));
    return run(parent, 1, [&](Canvas& canvas) { DrawSlipRight(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::printCopies(QWidget* parent, const SlipSource& source)
{
    const auto answer = mPrompts.inputText(parent, QStringLiteral("複数枚印刷"),
                                           QStringLiteral("枚数"), QString());
    if (!answer)
        return {};
    int copies = 0;
    if (!parseWholeNumber(*answer, &copies))
        copies = 0;
    // No copies, or a negative count: nothing to print, so no (empty) job is sent either.
    if (copies <= 0)
        return {false, QStringLiteral("印刷する枚数がありません。")};
    return run(parent, copies, [&](Canvas& canvas) { DrawSlip(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::run(QWidget* parent, int pages,
                                        const std::function<void(Canvas&)>& draw)
{
    QString pdfPath;
    if (mPrinter.isPdfOutput()) {
        QString name = mPrinter.title().isEmpty() ? QStringLiteral("Nobrisa") : mPrinter.title();
        // A subscriber's line may hold characters a file name cannot.
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        pdfPath = mPrompts.saveFile(
            parent, {QStringLiteral("PDF ファイルに印刷"), mPdfFolder, name + QStringLiteral(".pdf"),
                     QStringLiteral("PDF ファイル (*.pdf);;すべて (*)"), QStringLiteral("pdf")});
        if (pdfPath.isEmpty())
            return {};
        mPdfFolder = QFileInfo(pdfPath).absolutePath();
        mPrinter.setOutputFile(pdfPath);
    } else if (!mPrinter.printerNames().contains(mPrinter.printerName())) {
        const QString message =
            QStringLiteral("プリンタ「%1」が見つかりません。プリンタ設定で別のプリンタを選んでください。")
                .arg(mPrinter.printerName());
        mPrompts.error(parent, message);
        return {false, message};
    }

    PrintOutcome outcome;
    try {
        outcome = runPrintJob(mPrinter, pages, [&](Canvas& canvas, int) { draw(canvas); });
    } catch (const std::exception& e) {
        outcome.ok = false;
        outcome.error = QStringLiteral("印刷中にエラーが発生しました。%1").arg(QString::fromLocal8Bit(e.what()));
    }
    if (!outcome.ok) {
        mPrompts.error(parent, outcome.error);
        return {false, outcome.error};
    }
    if (!pdfPath.isEmpty())
        return {true, QStringLiteral("PDF「%1」を保存しました（%2 ページ）。")
                          .arg(QDir::toNativeSeparators(pdfPath))
                          .arg(outcome.pagesDrawn)};
    return {true, QStringLiteral("「%1」に %2 枚印刷しました。")
                      .arg(mPrinter.printerName())
                      .arg(outcome.pagesDrawn)};
}

} // namespace nobrisa
