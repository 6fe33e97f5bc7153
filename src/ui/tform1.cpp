// The main window's start-up and exit, and the document commands: new, open, save and the
// naming option of the save proposal.

#include "ui/tform1.h"

#include "model/fontchoice.h"
#include "platform/fonts.h"
#include "render/printerdevice.h"
#include "text/lines.h"
#include "text/outwardtext.h"
#include "ui/facsimileview.h"
#include "ui/prompts.h"
#include "ui/slipbinding.h"
#include "ui/stringgrid.h"
#include "ui/tform2.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>

#include <algorithm>

namespace nobrisa {

namespace {

const QString kSettingFilter = QStringLiteral("設定ファイル (*.dat);;すべて (*)");
const QString kSettingSuffix = QStringLiteral("dat");
const QString kGothic = QStringLiteral("ＭＳ ゴシック");

// States in which the window has a place and size other than its own.
constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

// Selects the entry of that exact name, or nothing when the list lacks it.
void selectEntry(QComboBox* list, const QString& face)
{
    list->setCurrentIndex(list->findText(face, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

} // namespace

TForm1::TForm1(const AppContext& context, PrinterDevice& printer, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent)
    , mContext(context)
    , mPrinter(printer)
    , mPrompts(prompts)
    , mPrinting(printer, prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mState.caption);
    setProperty(kHelpContextProperty, 1001);

    // The record starts with no whole-print adjustment (ox = oy = 0) and its initial values.
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildCentre();
    mBinding = new SlipBinding(mState.slip, *this);
    installEditingAids();
    mBinding->showRecord();
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TForm1::showHelp);

    mNameBySubscriber->setChecked(true);
    mNameByAccount->setChecked(false);
    fillFontLists();
    preselectFonts();
    // A first start keeps this size, centred on the screen.
    const QSize initial = sizeHint().expandedTo({760, 540});
    mState.geometry = {std::max(0, (mContext.screenSize.width() - initial.width()) / 2),
                       std::max(0, (mContext.screenSize.height() - initial.height()) / 2),
                       initial.width(), initial.height()};
    move(mState.geometry.left, mState.geometry.top);
    resize(initial);
    mNormalPlace = QRect(pos(), size());
    loadAppIni();
    mPages->setCurrentIndex(0);
    // The first thing typed is the account number.
    findChild<QWidget*>(QStringLiteral("Ekouza1"))->setFocus();
    showPrinterName();

    // The print-position dialog comes after the window's own start-up, and loads its positions
    // from the application INI file itself.
    mForm2 = new TForm2(mContext.appIniPath, this);
}

TForm1::~TForm1()
{
    // The grid reads the continuous-print table through its model, and the table, a member, is
    // gone before the window's child widgets are: the grid goes first.
    delete mGrid;
}

void TForm1::fillFontLists()
{
    mFaces = mContext.faces ? *mContext.faces : availableFaces();
    // The lists keep themselves sorted, as the printer's font list is.
    std::sort(mFaces.begin(), mFaces.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (const char* name : {"CBfont1", "CBfont2", "CBfont3", "CBfont4", "CBfont5"}) {
        auto* list = findChild<QComboBox*>(QLatin1String(name));
        list->clear();
        list->addItems(mFaces);
    }
}

void TForm1::preselectFonts()
{
    const QString ocrb = QStringLiteral("OCRB");
    selectEntry(findChild<QComboBox*>(QStringLiteral("CBfont1")),
                mFaces.contains(ocrb) ? ocrb : kGothic);
    selectEntry(findChild<QComboBox*>(QStringLiteral("CBfont2")), kGothic);
    selectEntry(findChild<QComboBox*>(QStringLiteral("CBfont3")), QStringLiteral("ＭＳ 明朝"));
    selectEntry(findChild<QComboBox*>(QStringLiteral("CBfont4")), kGothic);
    selectEntry(findChild<QComboBox*>(QStringLiteral("CBfont5")), kGothic);
}

void TForm1::loadAppIni()
{
    SettingsState loaded = mState;
    QString error;
    if (!LoadSettings(mContext.appIniPath, loaded, environment(), &error)) {
        mPrompts.error(this, error);
        return;
    }
    // A stored face this machine lacks leaves its list without a selection.
    selectFaces(loaded.slip, mFaces);
    mState = loaded;
    showState(true);
}

SettingsEnvironment TForm1::environment() const
{
    SettingsEnvironment env;
    env.appIniPath = mContext.appIniPath;
    env.screenSize = mContext.screenSize;
    env.now = QDateTime::currentDateTime();
    return env;
}

void TForm1::takeWindowState()
{
    // A maximised window stores the place and size it returns to, and that it was maximised.
    // The place is the frame's corner, as for a normal window (QWidget::normalGeometry() would
    // give the client area's).
    rememberNormalPlace();
    const QRect& normal = mNormalPlace;
    mState.geometry = {normal.left(), normal.top(), normal.width(), normal.height(),
                       isMaximized() || mMaximiseWhenShown};
    mState.pixelsPerInch = logicalDpiY();
    mState.orientation = mPrinter.orientation();
}

void TForm1::rememberNormalPlace()
{
    if (!(windowState() & kNotNormal))
        mNormalPlace = QRect(pos(), size());
}

void TForm1::moveEvent(QMoveEvent* event)
{
    rememberNormalPlace();
    QMainWindow::moveEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    rememberNormalPlace();
    QMainWindow::resizeEvent(event);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // A window to come back maximised is first shown at its normal place and maximised over
    // it: shown maximised at once, the platform would not know where leaving that state goes.
    if (mMaximiseWhenShown && !event->spontaneous()) {
        mMaximiseWhenShown = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void TForm1::showState(bool applyWindow)
{
    mBinding->showRecord();
    // Loading a size for the message reapplies the message's face.
    CBfont3Change();
    mNameBySubscriber->setChecked(mState.namingBySubscriber);
    mNameByAccount->setChecked(!mState.namingBySubscriber);
    if (applyWindow) {
        // The normal place and size first, then the state over them: leaving the maximised
        // state comes back to the stored place.
        const WindowGeometry& g = mState.geometry;
        setWindowState(windowState() & ~kNotNormal);
        move(g.left, g.top);
        resize(g.width, g.height);
        mNormalPlace = QRect(g.left, g.top, g.width, g.height);
        mMaximiseWhenShown = g.maximized && !isVisible();
        if (g.maximized && isVisible())
            setWindowState(windowState() | Qt::WindowMaximized);
        mPrinter.setOrientation(mState.orientation);
    }
    setWindowTitle(mState.caption);
}

bool TForm1::saveTo(const QString& fileName, QString* error)
{
    takeWindowState();
    if (!SaveSettings(fileName, mState, mForm2->positions(), environment(), error))
        return false;
    setWindowTitle(mState.caption);
    return true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Every route out writes the whole state back without asking. When that fails the user
    // decides: try again, leave without saving, or stay to save the slip elsewhere.
    for (;;) {
        QString error;
        if (saveTo(mContext.appIniPath, &error)) {
            event->accept();
            return;
        }
        const QString message =
            error + QStringLiteral("\n\nこのまま終了すると、今の内容は次回の起動時に戻りません。");
        switch (mPrompts.saveFailedAtExit(this, message)) {
        case Prompts::SaveFailedChoice::Retry:
            continue;
        case Prompts::SaveFailedChoice::CloseWithoutSaving:
            event->accept();
            return;
        case Prompts::SaveFailedChoice::StayOpen:
            event->ignore();
            return;
        }
    }
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::New1Click()
{
    mState.saveDialogFileName.clear();
    mState.openDialogFileName.clear();
    // Only the slip's contents start afresh: faces, sizes, auto sizing, the adjustment, the
    // positions, the naming option and the printer stay as they are.
    TSlipRecord& s = mState.slip;
    s.CheckBox1 = s.CheckBox2 = s.CheckBox3 = s.CheckBox4 = s.CheckBox4R = false;
    for (QString* text : {&s.Ekouza1, &s.Ekouza2, &s.Ekouza3, &s.Ekanyu, &s.MemoTsuushin, &s.Ezip,
                          &s.Maddres, &s.MaddresR, &s.Etele1, &s.Etele2, &s.Etele3})
        text->clear();
    s.SEkingaku.setText(QStringLiteral("1000"));
    ToolButton22Click();
    mState.caption = QStringLiteral("Nobrisa");
    showState(false);
    mPages->setCurrentIndex(0);
    MpreviewClick();
}

void TForm1::Open1Click()
{
    const QString fileName =
        mPrompts.openFile(this, {QStringLiteral("設定ファイルの読み込み"), mState.openDialogDir,
                                 mState.openDialogFileName, kSettingFilter, kSettingSuffix});
    if (fileName.isEmpty())
        return;
    // Keys the file lacks keep the window as it is now.
    takeWindowState();
    SettingsState loaded = mState;
    QString error;
    if (!LoadSettings(fileName, loaded, environment(), &error)) {
        mPrompts.error(this, error);
        return;
    }
    selectFaces(loaded.slip, mFaces);
    mState = loaded;
    showState(true);
    // The picture showed the slip that was there before.
    mFacsimile->clear();
}

QString TForm1::proposedFileName() const
{
    const TSlipRecord& s = mState.slip;
    QString name;
    if (mState.namingBySubscriber)
        name = nobrisa::proposedFileName(lineAt(s.Ekanyu, 0), QStringLiteral("dat"));
    else if (!(s.Ekouza1 + s.Ekouza2 + s.Ekouza3).isEmpty())
        name = nobrisa::proposedFileName(s.Ekouza1 + u'-' + s.Ekouza2 + u'-' + s.Ekouza3,
                                         QStringLiteral("dat"));
    // A first line with nothing a file name can hold names nothing, as an empty one does.
    return name.isEmpty() ? mState.saveDialogFileName : name;
}

void TForm1::SaveAs1Click()
{
    const QString fileName =
        mPrompts.saveFile(this, {QStringLiteral("設定ファイルの保存"), mState.saveDialogDir,
                                 proposedFileName(), kSettingFilter, kSettingSuffix});
    if (fileName.isEmpty())
        return;
    // The dialog's file name is the chosen file from now on; the file records it too.
    mState.saveDialogFileName = fileName;
    mState.saveDialogDir = QFileInfo(fileName).absolutePath();
    QString error;
    if (!saveTo(fileName, &error)) {
        mPrompts.error(this, error);
        return;
    }
    // The next open proposes the file just saved.
    mState.openDialogFileName = fileName;
}

void TForm1::Msaveopt1Click()
{
    // Either item swaps the choice, also a click on the one already checked.
    mState.namingBySubscriber = !mState.namingBySubscriber;
    mNameBySubscriber->setChecked(mState.namingBySubscriber);
    mNameByAccount->setChecked(!mState.namingBySubscriber);
}

} // namespace nobrisa
