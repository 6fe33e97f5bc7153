// The main window's commands other than the document ones: printing, the printer setup, the
// adjustment labels and buttons, the editing aids, help and the version dialog.

#include "ui/tform1.h"

#include "model/adjustment.h"
#include "platform/qtprinterdevice.h"
#include "render/drawslip.h"
#include "text/lines.h"
#include "ui/entermovesfocus.h"
#include "ui/prompts.h"
#include "ui/slipbinding.h"
#include "ui/taboutbox.h"
#include "ui/tform2.h"
#include "ui/tform5.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QUrl>

#include <memory>

namespace nobrisa {

bool TForm1::event(QEvent* event)
{
    // The hint of what is under the mouse goes to the first panel only; the main window's own
    // handling would show it across the whole status bar.
    if (event->type() == QEvent::StatusTip) {
        // A command's result stays until the mouse moves: when a dialog or a print's progress
        // closes, the control under the resting mouse is entered again and would replace it.
        if (mResultShown && QCursor::pos() == mResultCursor)
            return true;
        mResultShown = false;
        showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TForm1::showHint(const QString& hint)
{
    // A hint "short|long" shows its long part.
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    mHintPanel->setText(bar < 0 ? hint : hint.mid(bar + 1));
}

void TForm1::showResult(const QString& text)
{
    showHint(text);
    mResultShown = true;
    mResultCursor = QCursor::pos();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // Installed on the one-line fields, font lists and number boxes only: there Enter moves on
    // as Tab does.
    return moveFocusOnEnter(watched, event) || QMainWindow::eventFilter(watched, event);
}

void TForm1::print(SlipPrinting::Outcome (SlipPrinting::*command)(QWidget*, const SlipSource&))
{
    const SlipSource source{mState.slip, mForm2->positions(), mPrinter, mCells};
    const SlipPrinting::Outcome outcome = (mPrinting.*command)(this, source);
    showResult(outcome.status);
    // Automatic sizing wrote the fitted sizes back into the record.
    mBinding->showRecord();
}

// On the continuous-print page, 印刷 and 複数枚印刷 print the table's rows, and 印刷－右側 does
// nothing.
void TForm1::Print1Click()
{
    if (continuousPageActive())
        ToolButton16Click();
    else
        print(&SlipPrinting::printSlip);
}

void TForm1::PrintallClick()
{
    if (continuousPageActive())
        ToolButton16Click();
    else
        print(&SlipPrinting::printCopies);
}

void TForm1::PrintRightClick()
{
    if (!continuousPageActive())
        print(&SlipPrinting::printRight);
}

// The slip on the whole sheet of the current paper, drawn as the print draws it.
void TForm1::MprintpaperrevClick()
{
    const SlipSource source{mState.slip, mForm2->positions(), mPrinter, mCells};
    const auto printerSetup = [this] { Mprintersetup1Click(); };
    TForm5 preview(source, mPrinter, mPrompts, printerSetup, this);
    preview.run();
    // Like a print, automatic sizing wrote the fitted sizes back into the record.
    mBinding->showRecord();
}

void TForm1::Mprintersetup1Click()
{
    if (auto* qt = dynamic_cast<QtPrinterDevice*>(&mPrinter)) {
        mPrompts.printerSetup(this, qt->qprinter());
        qt->takePrinterSetup();
    }
    // Also after a cancel: the dialog may have been left on another printer.
    showPrinterName();
}

void TForm1::showPrinterName()
{
    QString name = mPrinter.printerName();
    // An "&" in a queue's name is a character, not an access key.
    mPrinterName->setText(name.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void TForm1::MprintshousaiClick()
{
    mForm2->exec();
}

void TForm1::Button4Click()
{
    mState.slip.MaddresR = mState.slip.Maddres;
    mBinding->showRecord();
}

void TForm1::Button5Click()
{
    mState.slip.MaddresR.clear();
    mBinding->showRecord();
}

void TForm1::Label12Click()
{
    resetLeftRight(mState.slip);
    mBinding->showRecord();
}

void TForm1::Label13Click()
{
    resetTopBottom(mState.slip);
    mBinding->showRecord();
}

void TForm1::CentreLeftRightClick()
{
    centreLeftRight(mState.slip, mPrinter);
    mBinding->showRecord();
}

void TForm1::CentreTopBottomClick()
{
    centreTopBottom(mState.slip, mPrinter);
    mBinding->showRecord();
}

void TForm1::Label18Click()
{
    searchOcrb(findChild<QComboBox*>(QStringLiteral("CBfont1")));
}

void TForm1::Label28Click()
{
    searchOcrb(findChild<QComboBox*>(QStringLiteral("CBfont2")));
}

void TForm1::searchOcrb(QComboBox* list)
{
    int index =
        list->findText(QStringLiteral("OCRB"), Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        index = list->findText(QStringLiteral("ＭＳ ゴシック"),
                               Qt::MatchFixedString | Qt::MatchCaseSensitive);
    list->setCurrentIndex(index);
}

void TForm1::CBfont3Change()
{
    // Only the face follows the list; the editor keeps its own size whatever SEfont3 says. With
    // no face chosen the editor shows the face the message is printed in then.
    const auto* list = findChild<QComboBox*>(QStringLiteral("CBfont3"));
    auto* editor = findChild<QPlainTextEdit*>(QStringLiteral("MemoTsuushin"));
    QFont face = editor->font();
    face.setFamily(list->currentIndex() < 0 ? QString::fromUtf16(kFallbackMinchoFace)
                                            : list->currentText());
    editor->setFont(face);
}

void TForm1::showLineCount(const QPlainTextEdit* editor, QLabel* counter)
{
    counter->setText(QString::number(lineCount(editor->toPlainText())) + QStringLiteral(" 行"));
}

// The edit commands act on whatever control has the focus by giving it the keyboard shortcut:
// what happens is what that control does with Ctrl+Z, X, C or V.
void TForm1::sendShortcut(QWidget* target, Qt::Key letter)
{
    if (target == nullptr)
        return;
    QKeyEvent ctrlDown(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QKeyEvent letterDown(QEvent::KeyPress, letter, Qt::ControlModifier);
    QKeyEvent letterUp(QEvent::KeyRelease, letter, Qt::ControlModifier);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    for (QKeyEvent* key : {&ctrlDown, &letterDown, &letterUp, &ctrlUp})
        QCoreApplication::sendEvent(target, key);
}

void TForm1::Undo1Click()
{
    sendShortcut(QApplication::focusWidget(), Qt::Key_Z);
}

void TForm1::Cut1Click()
{
    sendShortcut(QApplication::focusWidget(), Qt::Key_X);
}

void TForm1::Copy1Click()
{
    sendShortcut(QApplication::focusWidget(), Qt::Key_C);
}

void TForm1::Paste1Click()
{
    sendShortcut(QApplication::focusWidget(), Qt::Key_V);
}

void TForm1::showFieldContextMenu(QWidget* field)
{
    field->setFocus(Qt::PopupFocusReason);
    QMenu menu(this);
    menu.addAction(QStringLiteral("切り取り(&T)"), this,
                   [field] { sendShortcut(field, Qt::Key_X); });
    menu.addAction(QStringLiteral("コピー(&C)"), this, [field] { sendShortcut(field, Qt::Key_C); });
    menu.addAction(QStringLiteral("貼り付け(&P)"), this,
                   [field] { sendShortcut(field, Qt::Key_V); });
    menu.exec(QCursor::pos());
}

void TForm1::HowtoUseHelp1Click()
{
    // The usage text is looked for in the working folder; without it nothing happens.
    const QString usage = QDir(mContext.workingFolder).filePath(QStringLiteral("ZENTORA.TXT"));
    if (QFileInfo(usage).isFile())
        openHelpDocument(QUrl::fromLocalFile(usage));
}

void TForm1::MsorabeClick()
{
    openHelpDocument(QUrl::fromLocalFile(mContext.helpPath));
}

void TForm1::openHelpDocument(const QUrl& url)
{
    // Help asked for and not shown must say why, or the menu seems broken.
    const QString name =
        url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile()) {
        mPrompts.error(this, QStringLiteral("ヘルプのファイル「%1」が見つかりません。").arg(name));
        return;
    }
    if (!mPrompts.openUrl(url)) {
        mPrompts.error(this,
                       QStringLiteral("「%1」を開けません。\n"
                                      "開くためのプログラム（ブラウザなど）が見つかりません。")
                           .arg(name));
    }
}

void TForm1::About1Click()
{
    const auto about = std::make_unique<TAboutBox>(this);
    about->setVersion(QStringLiteral("Ver. 4.3"));
    about->exec();
}

void TForm1::showHelp()
{
    // The help of the page the focused control sits on, else the window's own.
    int context = property(kHelpContextProperty).toInt();
    for (const QWidget* w = QApplication::focusWidget(); w != nullptr && w != this;
         w = w->parentWidget()) {
        const QVariant pageContext = w->property(kHelpContextProperty);
        if (pageContext.isValid()) {
            context = pageContext.toInt();
            break;
        }
    }
    QUrl page = QUrl::fromLocalFile(mContext.helpPath);
    page.setFragment(QString::number(context));
    openHelpDocument(page);
}

} // namespace nobrisa
