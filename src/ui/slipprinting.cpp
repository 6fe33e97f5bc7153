#include "ui/slipprinting.h"

#include "aids/continuoustable.h"
#include "model/numbertext.h"
#include "model/tsliprecord.h"
#include "render/printerdevice.h"
#include "render/printjob.h"
#include "text/outwardtext.h"
#include "ui/prompts.h"

#include <QDir>
#include <QFileInfo>

#include <exception>
#include <memory>

namespace nobrisa {

namespace {

// Jobs of more pages than this show their progress and can be cancelled.
constexpr int kPagesWithoutProgress = 3;

} // namespace

bool SlipPrinting::confirmSlip(QWidget* parent, const TSlipRecord& slip, SlipPart part)
{
    // A first start has every switch off: printing then would feed a pre-printed form through
    // blank.
    if (!drawsAnyGroup(slip, part) &&
        !mPrompts.confirm(parent, Prompts::Tone::Question,
                          QStringLiteral("印刷する項目が選ばれていません。白紙を印刷しますか？"),
                          QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")))
        return false;
    return confirmDrawable(parent, findUndrawable(slip, part, mCoverage));
}

bool SlipPrinting::confirmDrawable(QWidget* parent, const UndrawableTexts& found)
{
    if (found.empty())
        return true;
    return mPrompts.confirm(
        parent, Prompts::Tone::Warning,
        QStringLiteral("次の文字はこのコンピュータのどのフォントにもないため、印刷すると四角に"
                       "なります。\n\n%1\n\nこのまま印刷しますか？")
            .arg(describeUndrawable(found, 5)),
        QStringLiteral("印刷"), QStringLiteral("キャンセル"));
}

SlipPrinting::Outcome SlipPrinting::printSlip(QWidget* parent, const SlipSource& source)
{
    if (!confirmSlip(parent, source.slip, SlipPart::Whole))
        return {};
    mPrinter.setTitle(jobTitle(source.slip.Ekanyu));
    return run(parent, 1, [&](Canvas& canvas, int) { DrawSlip(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::printRight(QWidget* parent, const SlipSource& source)
{
    if (!confirmSlip(parent, source.slip, SlipPart::RightHalf))
        return {};
    mPrinter.setTitle(jobTitle(source.slip.Ekanyu));
    return run(parent, 1, [&](Canvas& canvas, int) { DrawSlipRight(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::printCopies(QWidget* parent, const SlipSource& source)
{
    if (!confirmSlip(parent, source.slip, SlipPart::Whole))
        return {};
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
    return run(parent, copies, [&](Canvas& canvas, int) { DrawSlip(canvas, source); });
}

SlipPrinting::Outcome SlipPrinting::printRows(QWidget* parent, const SlipSource& source,
                                              const ContinuousTable& rows, const RowRange& range)
{
    if (!confirmDrawable(parent, findUndrawableInRows(source.slip, rows.table, rows.mapping,
                                                      range.first, range.last, mCoverage)))
        return {};
    const Outcome outcome = run(parent, range.count(), [&](Canvas& canvas, int page) {
        DrawSlipRow(canvas, source, {rows.table, rows.mapping, range.first + page});
    });
    if (outcome.printed && range.count() == 0)
        return {true, QStringLiteral("「終わり」が「始め」より前なので、何も印刷しませんでした。")};
    return outcome;
}

SlipPrinting::Outcome SlipPrinting::run(QWidget* parent, int pages,
                                        const std::function<void(Canvas&, int)>& drawPage)
{
    QString pdfPath;
    if (mPrinter.isPdfOutput()) {
        const QString title =
            mPrinter.title().isEmpty() ? QStringLiteral("Nobrisa") : mPrinter.title();
        pdfPath = mPrompts.saveFile(
            parent, {QStringLiteral("PDF ファイルに印刷"), mPdfFolder,
                     proposedFileName(title, QStringLiteral("pdf")),
                     QStringLiteral("PDF ファイル (*.pdf);;すべて (*)"), QStringLiteral("pdf")});
        if (pdfPath.isEmpty())
            return {};
        mPdfFolder = QFileInfo(pdfPath).absolutePath();
        mPrinter.setOutputFile(pdfPath);
    }
    // A queue removed since it was chosen, or a spooler that has stopped, fails the job's
    // beginning with a message naming the printer: the printer is asked then, over a connection
    // with a bounded wait (the list of installed printers has none, and would freeze the window
    // for minutes on a spooler that has stopped answering).

    std::unique_ptr<Prompts::Progress> progress;
    if (pages > kPagesWithoutProgress)
        progress =
            mPrompts.progress(parent, QStringLiteral("%1 枚を印刷しています。").arg(pages), pages);
    int drawn = 0;
    bool cancelled = false;
    // Asked before each page after the first.
    const auto cancelRequested = [&] {
        cancelled = progress && !progress->advance(drawn);
        return cancelled;
    };

    PrintOutcome outcome;
    try {
        outcome = runPrintJob(
            mPrinter, pages,
            [&](Canvas& canvas, int page) {
                drawPage(canvas, page);
                ++drawn;
            },
            cancelRequested);
    } catch (const std::exception& e) {
        outcome.ok = false;
        outcome.error = QStringLiteral("印刷中にエラーが発生しました。%1").arg(QString::fromLocal8Bit(e.what()));
    }
    progress.reset();
    if (!outcome.ok) {
        mPrompts.error(parent, outcome.error);
        return {false, outcome.error};
    }
    const QString count = QString::number(outcome.pagesDrawn);
    if (!pdfPath.isEmpty()) {
        const QString file = QDir::toNativeSeparators(pdfPath);
        if (cancelled)
            return {true,
                    QStringLiteral("PDF「%1」を保存しました（%2 ページのうち %3 ページで中止）。")
                        .arg(file, QString::number(pages), count)};
        return {true, QStringLiteral("PDF「%1」を保存しました（%2 ページ）。").arg(file, count)};
    }
    if (cancelled)
        return {true, QStringLiteral("「%1」に %2 枚印刷しました（%3 枚のうち、残りは中止）。")
                          .arg(mPrinter.printerName(), count, QString::number(pages))};
    return {true,
            QStringLiteral("「%1」に %2 枚印刷しました。").arg(mPrinter.printerName(), count)};
}

} // namespace nobrisa
