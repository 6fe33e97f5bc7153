// The main window's widgets: menus, toolbar, status bar, the facsimile area and the pages of
// fields. Widgets are created with their final parent in reading order, because the order of
// creation is the tab order, which the Enter key follows too.

#include "ui/tform1.h"

#include "model/tsliprecord.h"
#include "ui/clickablelabel.h"
#include "ui/facsimileview.h"
#include "ui/numberbox.h"
#include "ui/stringgrid.h"
#include "ui/stringtablemodel.h"
#include "ui/toolbars.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace nobrisa {

namespace {

constexpr int kHintPanelWidth = 400;
constexpr int kSecondPanelWidth = 50;
constexpr int kSplitterWidth = 6;
QLabel* label(const QString& text, QWidget* parent, const QString& hint = {})
{
    auto* l = new QLabel(text, parent);
    l->setStatusTip(hint);
    return l;
}

template <class W> W* makeBlue(W* widget)
{
    QPalette blue = widget->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    widget->setPalette(blue);
    return widget;
}

QLabel* blueNote(const QString& text, QWidget* parent)
{
    QLabel* l = makeBlue(new QLabel(text, parent));
    l->setWordWrap(true);
    return l;
}

QCheckBox* checkBox(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setStatusTip(hint);
    return box;
}

// A one-line field wide enough for `shown` characters.
QLineEdit* lineEdit(const char* name, int maxLength, int shown, const QString& hint,
                    QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    edit->setStatusTip(hint);
    const QFontMetrics metrics(edit->font());
    edit->setFixedWidth(metrics.horizontalAdvance(QString(shown, QLatin1Char('0'))) + 16);
    return edit;
}

NumberBox* numberBox(const char* name, int minimum, int maximum, int step, int maxLength,
                     const QString& hint, QWidget* parent)
{
    auto* box = new NumberBox(minimum, maximum, step, maxLength, parent);
    box->setObjectName(QLatin1String(name));
    box->setStatusTip(hint);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return box;
}

// A pick-only font list; filled at start-up.
QComboBox* fontList(const char* name, const QString& hint, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(false);
    list->setStatusTip(hint);
    list->setMinimumContentsLength(16);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMaxVisibleItems(20);
    // A drop-down list with a scroll bar, not the style's menu-like popup: that one ignores the
    // limit above and runs the height of the screen on a machine with many fonts. The popup,
    // made with the list, was set up for the menu-like kind.
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return list;
}

// A multi-line field: no word wrap, both scroll bars, Tab leaves it as in a dialog. It shows at
// least `visibleLines` lines and grows with the page unless told to stay at that.
enum class Growth { WithPage, Fixed };
QPlainTextEdit* linesEdit(const char* name, const QString& hint, int visibleLines, QWidget* parent,
                          Growth growth = Growth::WithPage)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setStatusTip(hint);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setTabChangesFocus(true);
    const QFontMetrics metrics(edit->font());
    const int height =
        metrics.lineSpacing() * visibleLines + 8 + edit->horizontalScrollBar()->sizeHint().height();
    if (growth == Growth::Fixed)
        edit->setFixedHeight(height);
    else
        edit->setMinimumHeight(height);
    return edit;
}

QLabel* lineCounter(const char* name, QWidget* parent)
{
    auto* counter = new QLabel(QStringLiteral("行"), parent);
    counter->setObjectName(QLatin1String(name));
    return counter;
}

QPushButton* button(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setStatusTip(hint);
    return b;
}

// A row of widgets packed to the left.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
    return layout;
}

// A page: its fields in a column from the top, leftover space at the bottom.
QWidget* page(const char* name, int helpContext)
{
    auto* p = new QWidget;
    p->setObjectName(QLatin1String(name));
    p->setProperty(kHelpContextProperty, helpContext);
    auto* layout = new QVBoxLayout(p);
    layout->setContentsMargins(8, 8, 8, 8);
    return p;
}

QGroupBox* group(const QString& title, QWidget* parent)
{
    auto* g = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(g);
    grid->setColumnStretch(1, 1);
    return g;
}

QGridLayout* gridOf(QGroupBox* g)
{
    return static_cast<QGridLayout*>(g->layout());
}

QVBoxLayout* columnOf(QWidget* p)
{
    return static_cast<QVBoxLayout*>(p->layout());
}

const QString kPoints = QStringLiteral("ポイント");
const QString kFontName = QStringLiteral("フォント名");
const QString kSize = QStringLiteral("大きさ");
const QString kDash = QStringLiteral("－");
const QString kOcrbLink = QStringLiteral("「OCRB」フォントを推奨します。");
const QString kOcrbLinkHint = QStringLiteral("クリックすると、OCRBフォントを探します。");
const QString kAutoSize = QStringLiteral("フォントの大きさを自動設定にする");
const QString kAutoSizeHint = QStringLiteral("フォントの大きさを自動設定にします。");
const QString kDigitsHint = QStringLiteral("10-12ポイントが適当です。");
const QString kHalfWidth = QStringLiteral("半角");

ClickableLabel* ocrbLink(const char* name, QWidget* parent)
{
    ClickableLabel* link = makeBlue(new ClickableLabel(kOcrbLink, parent));
    link->setObjectName(QLatin1String(name));
    link->setStatusTip(kOcrbLinkHint);
    return link;
}

} // namespace

void TForm1::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const QString& text, const char* name, const QString& hint,
                      void (TForm1::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(hint);
        if (handler != nullptr)
            connect(action, &QAction::triggered, this, handler);
        else
            action->setEnabled(false); // the command comes with a later feature
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    add(file, QStringLiteral("新規作成(&N)"), "New1", QStringLiteral("新規に作成します。"),
        &TForm1::New1Click);
    add(file, QStringLiteral("ファイルを開く(&O)..."), "Open1",
        QStringLiteral("設定ファイルを開きます。"), &TForm1::Open1Click);
    add(file, QStringLiteral("ファイルを保存(&A)..."), "SaveAs1",
        QStringLiteral("現在の設定をファイルに保存します。"), &TForm1::SaveAs1Click);
    file->addSeparator();
    add(file, QStringLiteral("加入者テキスト読み込み(&K)"), "Mtextkanyu",
        QStringLiteral("加入者データをテキストファイルから読み込みます。"),
        &TForm1::MtextkanyuClick);
    add(file, QStringLiteral("ご依頼人テキスト読み込み(&H)"), "Mtextharai",
        QStringLiteral("払込人データをテキストファイルから読み込みます。"),
        &TForm1::MtextharaiClick);
    QMenu* exportMenu = file->addMenu(QStringLiteral("情報をテキストに保存(&T)"));
    exportMenu->setObjectName(QStringLiteral("Msavetxt"));
    exportMenu->menuAction()->setObjectName(QStringLiteral("Msavetxt"));
    exportMenu->menuAction()->setStatusTip(
        QStringLiteral("現在の情報をテキストファイルに保存します。"));
    add(exportMenu, QStringLiteral("テキスト形式(&W)"), "Msavetxttxt", {},
        &TForm1::MsavetxttxtClick);
    add(exportMenu, QStringLiteral("CSV形式(&C)"), "Msavetxtcsv", {}, &TForm1::MsavetxtcsvClick);
    file->addSeparator();
    add(file, QStringLiteral("プリンタ設定(&U)..."), "Mprintersetup1",
        QStringLiteral("プリンタの設定をします。"), &TForm1::Mprintersetup1Click);
    add(file, QStringLiteral("印刷(&P)..."), "Print1", QStringLiteral("印刷します。"),
        &TForm1::Print1Click);
    add(file, QStringLiteral("印刷－右側(&R)..."), "PrintRight",
        QStringLiteral("右側だけ印刷します。"), &TForm1::PrintRightClick);
    add(file, QStringLiteral("印刷用紙プレビュー(&I)"), "Mprintpaperrev", {},
        &TForm1::MprintpaperrevClick);
    add(file, QStringLiteral("複数枚印刷(&Q)..."), "Printall", QStringLiteral("複数枚印刷します。"),
        &TForm1::PrintallClick);
    file->addSeparator();
    add(file, QStringLiteral("終了(&X)"), "Exit1", QStringLiteral("終了します。"),
        &TForm1::Exit1Click);

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    add(edit, QStringLiteral("元に戻す(&U)"), "Undo1", {}, &TForm1::Undo1Click);
    edit->addSeparator();
    add(edit, QStringLiteral("切り取り(&T)"), "Cut1", {}, &TForm1::Cut1Click);
    add(edit, QStringLiteral("コピー(&C)"), "Copy1", {}, &TForm1::Copy1Click);
    add(edit, QStringLiteral("貼り付け(&P)"), "Paste1", {}, &TForm1::Paste1Click);

    QMenu* view = bar->addMenu(QStringLiteral("表示(&D)"));
    view->setObjectName(QStringLiteral("View1"));
    add(view, QStringLiteral("印刷プレビュー(&V)"), "Mpreview", {}, &TForm1::MpreviewClick);

    QMenu* settings = bar->addMenu(QStringLiteral("設定(&O)"));
    settings->setObjectName(QStringLiteral("Setting1"));
    add(settings, QStringLiteral("登録加入者(&K)"), "Mkanyusha", {}, &TForm1::MkanyushaClick);
    add(settings, QStringLiteral("登録ご依頼人(&T)"), "Mharaikominin", {},
        &TForm1::MharaikomininClick);
    settings->addSeparator();
    add(settings, QStringLiteral("詳細印刷設定(&P)"), "Mprintshousai", {},
        &TForm1::MprintshousaiClick);
    QMenu* naming = settings->addMenu(QStringLiteral("保存ファイル名(&S)"));
    naming->setObjectName(QStringLiteral("Msaveopt"));
    // Radio items, but a click on either swaps the choice (also on the one already checked), so
    // the group only draws them as radio items and Msaveopt1Click sets both.
    auto* namingGroup = new QActionGroup(naming);
    namingGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    mNameBySubscriber = add(naming, QStringLiteral("加入者名(&K)"), "Msaveopt1",
                            QStringLiteral("加入者名で保存します。"), &TForm1::Msaveopt1Click);
    mNameByAccount = add(naming, QStringLiteral("口座番号(&B)"), "Msaveopt2",
                         QStringLiteral("口座番号で保存します。"), &TForm1::Msaveopt1Click);
    for (QAction* item : {mNameBySubscriber, mNameByAccount}) {
        item->setCheckable(true);
        namingGroup->addAction(item);
    }

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, QStringLiteral("使い方(&H)"), "HowtoUseHelp1",
        QStringLiteral("テキストファイルが開きます。"), &TForm1::HowtoUseHelp1Click);
    add(help, QStringLiteral("バージョン情報(&A)..."), "About1", {}, &TForm1::About1Click);
    help->addSeparator();
    add(help, QStringLiteral("Sorabe ホームページへ"), "Msorabe",
        QStringLiteral("ブラウザが起動します。"), &TForm1::MsorabeClick);

    // The current printer's name stands on the menu bar itself; a click sets the printer up.
    mPrinterName = bar->addAction(QString());
    mPrinterName->setObjectName(QStringLiteral("Mprintername"));
    connect(mPrinterName, &QAction::triggered, this, &TForm1::Mprintersetup1Click);
}

void TForm1::buildToolBar()
{
    QToolBar* tools = addToolBar(QStringLiteral("ToolBar1"));
    tools->setObjectName(QStringLiteral("ToolBar1"));
    setUpToolBar(tools);

    auto add = [this, tools](const char* name, const char* themeIcon, const char* resource,
                             const QString& hint, void (TForm1::*handler)()) {
        QAction* action = toolButton(tools, name, themeIcon, resource, hint);
        if (handler != nullptr)
            connect(action, &QAction::triggered, this, handler);
        else
            action->setEnabled(false);
        return action;
    };
    add("ToolPrint", "document-print", "print", QStringLiteral("印刷|印刷します。"),
        &TForm1::Print1Click);
    add("ToolButton2", "document-print-preview", "preview",
        QStringLiteral("プレビュー|印刷プレビューを再表示します。"), &TForm1::MpreviewClick);
    tools->addSeparator();
    add("ToolNew", "document-new", "new", QStringLiteral("新規作成|新規に設定を作成します。"),
        &TForm1::New1Click);
    add("ToolOpen", "document-open", "open",
        QStringLiteral("読み込み|設定ファイルを読み込みます。"), &TForm1::Open1Click);
    add("ToolSave", "document-save", "save", QStringLiteral("保存|設定ファイルを保存します。"),
        &TForm1::SaveAs1Click);
    tools->addSeparator();
    add("ToolExit", "application-exit", "exit", QStringLiteral("終了|終了します。"),
        &TForm1::Exit1Click);
}

void TForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    mHintPanel = new QLabel(bar);
    mHintPanel->setObjectName(QStringLiteral("HintPanel"));
    mHintPanel->setFixedWidth(kHintPanelWidth);
    auto* second = new QLabel(bar);
    second->setObjectName(QStringLiteral("SecondPanel"));
    second->setFixedWidth(kSecondPanelWidth);
    for (QLabel* panel : {mHintPanel, second})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(mHintPanel);
    bar->addWidget(second);
}

void TForm1::buildCentre()
{
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setHandleWidth(kSplitterWidth);
    splitter->setChildrenCollapsible(false);
    mFacsimileArea = new FacsimilePanel(splitter);
    mFacsimile = mFacsimileArea->view();
    connect(mFacsimile, &FacsimileView::doubleClicked, this, &TForm1::MpreviewClick);

    mPages = new QTabWidget(splitter);
    mPages->setObjectName(QStringLiteral("PageControl1"));
    mPages->setUsesScrollButtons(false);
    mPages->tabBar()->setExpanding(false);
    // The eight captions in one row are wider than the window may be made: narrower, they are
    // shortened, and every page keeps its tab in view.
    mPages->setElideMode(Qt::ElideRight);
    // Pages are built in tab order: the order of creation is the order of the focus chain.
    mPages->addTab(buildAccountPage(), QStringLiteral("口座記号番号・加入者名"));
    mPages->addTab(buildAmountPage(), QStringLiteral("金　額"));
    mPages->addTab(buildMessagePage(), QStringLiteral("通信欄"));
    mPages->addTab(buildLeftPayerPage(), QStringLiteral("ご依頼人-左"));
    mPages->addTab(buildTextPage(), QStringLiteral("テキスト読込"));
    mPages->addTab(buildContinuousPage(), QStringLiteral("ご依頼人連続印刷"));
    mPages->addTab(buildPrintSettingsPage(), QStringLiteral("印刷設定"));
    mPages->addTab(buildRightPayerPage(), QStringLiteral("ご依頼人-右"));

    // Extra width goes to the facsimile; the pages keep the width of their content.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    // Letting go of the bar redraws the facsimile for the area's new width.
    onSplitterMoveEnd(splitter, [this] { MpreviewClick(); });
    setCentralWidget(splitter);
}

QWidget* TForm1::buildAccountPage()
{
    QWidget* p = page("TabSheet1", 14001);
    QVBoxLayout* column = columnOf(p);
    column->addWidget(checkBox("CheckBox1", QStringLiteral("口座番号・加入者名を印刷する"),
                               QStringLiteral("口座番号・加入者を印刷します。"), p));

    const QString digitsHint = QStringLiteral("半角数字で入力して下さい。");
    const QString digitsLabelHint = QStringLiteral("半角数字");
    QGroupBox* account = group(QStringLiteral("口座番号"), p);
    QGridLayout* grid = gridOf(account);
    grid->addWidget(label(QStringLiteral("口座番号"), account, digitsLabelHint), 0, 0);
    QLineEdit* ekouza1 = lineEdit("Ekouza1", kMaxEkouza1, kMaxEkouza1, digitsHint, account);
    QLabel* dash1 = label(kDash, account, digitsLabelHint);
    QLineEdit* ekouza2 = lineEdit("Ekouza2", kMaxEkouza2, kMaxEkouza2, digitsHint, account);
    QLabel* dash2 = label(kDash, account, digitsLabelHint);
    QLineEdit* ekouza3 = lineEdit("Ekouza3", kMaxEkouza3, kMaxEkouza3, digitsHint, account);
    grid->addLayout(row({ekouza1, dash1, ekouza2, dash2, ekouza3}), 0, 1);
    grid->addWidget(label(kFontName, account), 1, 0);
    grid->addWidget(fontList("CBfont1", QStringLiteral("OCRBフォントを推奨します。"), account), 1,
                    1);
    ClickableLabel* link = ocrbLink("Label18", account);
    connect(link, &ClickableLabel::clicked, this, &TForm1::Label18Click);
    grid->addWidget(link, 2, 1);
    grid->addWidget(label(kSize, account), 3, 0);
    grid->addLayout(row({numberBox("SpinEditFont1", 1, 999, 1, 0, kDigitsHint, account),
                         label(kPoints, account)}),
                    3, 1);
    column->addWidget(account);

    QGroupBox* subscriber = group(QStringLiteral("加入者名"), p);
    grid = gridOf(subscriber);
    grid->addWidget(label(QStringLiteral("加入者名"), subscriber), 0, 0, Qt::AlignTop);
    grid->addWidget(linesEdit("Ekanyu", QStringLiteral("加入者名を入力して下さい。"), 4, subscriber,
                              Growth::Fixed),
                    0, 1);
    grid->addWidget(label(kFontName, subscriber), 1, 0);
    grid->addWidget(fontList("CBfont5", QString(), subscriber), 1, 1);
    grid->addWidget(checkBox("CheckBoxfont5", kAutoSize, kAutoSizeHint, subscriber), 2, 0, 1, 2);
    grid->addWidget(label(kSize, subscriber), 3, 0);
    QLabel* left = makeBlue(label(QStringLiteral("左欄"), subscriber));
    NumberBox* leftSize = numberBox("SEfont5", 1, 999, 1, 0,
                                    QStringLiteral("１行だと18ポイントが適当です。"), subscriber);
    QLabel* leftPoints = label(kPoints, subscriber);
    QLabel* right = makeBlue(label(QStringLiteral("右欄"), subscriber));
    NumberBox* rightSize = numberBox("SEfont51", 1, 999, 1, 0, QString(), subscriber);
    grid->addLayout(row({left, leftSize, leftPoints, right, rightSize, label(kPoints, subscriber)}),
                    3, 1);
    column->addWidget(subscriber);

    QPushButton* registered = button("BtnTourokuK", QStringLiteral("登録加入者(&K)"), QString(), p);
    connect(registered, &QPushButton::clicked, this, &TForm1::MkanyushaClick);
    column->addLayout(row({registered}));
    column->addStretch(1);
    return p;
}

QWidget* TForm1::buildAmountPage()
{
    QWidget* p = page("TabSheet4", 15001);
    QVBoxLayout* column = columnOf(p);
    column->addWidget(checkBox("CheckBox2", QStringLiteral("金額を印刷する"),
                               QStringLiteral("金額を印刷します。"), p));
    QGroupBox* amount = group(QStringLiteral("金額"), p);
    QGridLayout* grid = gridOf(amount);
    grid->addWidget(label(QStringLiteral("金額"), amount), 0, 0);
    grid->addLayout(row({numberBox("SEkingaku", 0, 99999999, 1000, 8,
                                   QStringLiteral("金額を半角数字で入力して下さい。"), amount)}),
                    0, 1);
    grid->addWidget(label(kFontName, amount), 1, 0);
    grid->addWidget(fontList("CBfont2", QStringLiteral("OCRBフォントを推奨します。"), amount), 1,
                    1);
    ClickableLabel* link = ocrbLink("Label28", amount);
    connect(link, &ClickableLabel::clicked, this, &TForm1::Label28Click);
    grid->addWidget(link, 2, 1);
    grid->addWidget(label(kSize, amount), 3, 0);
    grid->addLayout(
        row({numberBox("SpinEditFont2", 4, 12, 1, 0, kDigitsHint, amount), label(kPoints, amount)}),
        3, 1);
    column->addWidget(amount);
    column->addStretch(1);
    return p;
}

QWidget* TForm1::buildMessagePage()
{
    QWidget* p = page("TabSheet2", 16001);
    QVBoxLayout* column = columnOf(p);
    column->addWidget(checkBox("CheckBox3", QStringLiteral("通信欄を印刷する"),
                               QStringLiteral("通信欄を印刷します。"), p));
    QGroupBox* message = group(QStringLiteral("通信欄"), p);
    QGridLayout* grid = gridOf(message);
    grid->addWidget(label(QStringLiteral("通信欄"), message), 0, 0, 1, 2);
    QPlainTextEdit* editor =
        linesEdit("MemoTsuushin", QStringLiteral("通信欄を記入します。"), 8, message);
    grid->addWidget(editor, 1, 0, 1, 2);
    grid->addWidget(lineCounter("MemoTsuushinLines", message), 2, 0, 1, 2);
    grid->addWidget(label(kFontName, message), 3, 0);
    grid->addWidget(fontList("CBfont3", QString(), message), 3, 1);
    grid->addWidget(label(kSize, message), 4, 0);
    grid->addLayout(
        row({numberBox("SEfont3", 4, 36, 1, 0, QStringLiteral("8-12が適当です。"), message)}), 4,
        1);
    grid->setRowStretch(1, 1);
    column->addWidget(message, 1);
    return p;
}

QWidget* TForm1::buildLeftPayerPage()
{
    QWidget* p = page("TabSheet3", 17001);
    QVBoxLayout* column = columnOf(p);
    column->addWidget(checkBox("CheckBox4", QStringLiteral("ご依頼人－左　を印刷する"),
                               QStringLiteral("ご依頼人－左　を印刷します。"), p));
    QGroupBox* payer = group(QStringLiteral("ご依頼人－左"), p);
    QGridLayout* grid = gridOf(payer);
    grid->addWidget(label(QStringLiteral("郵便番号"), payer), 0, 0);
    QLineEdit* zip = lineEdit("Ezip", kMaxEzip, kMaxEzip, kHalfWidth, payer);
    grid->addLayout(row({zip, makeBlue(label(QStringLiteral("例) 123-4567"), payer))}), 0, 1);
    grid->addWidget(label(QStringLiteral("住所・氏名"), payer), 1, 0, Qt::AlignTop);
    grid->addWidget(linesEdit("Maddres", QStringLiteral("住所と氏名を入力します。"), 5, payer), 1,
                    1);
    grid->addWidget(lineCounter("MaddresLines", payer), 2, 1);
    grid->addWidget(label(QStringLiteral("電話番号"), payer), 3, 0);
    QLabel* areaCode = label(QStringLiteral("市外局番"), payer);
    grid->addLayout(row({areaCode, lineEdit("Etele1", kMaxEtele1, 8, kHalfWidth, payer)}), 3, 1);
    QLineEdit* tele2 = lineEdit("Etele2", kMaxEtele2, kMaxEtele2, kHalfWidth, payer);
    QLabel* dash = label(kDash, payer);
    QLineEdit* tele3 = lineEdit("Etele3", kMaxEtele3, kMaxEtele3, kHalfWidth, payer);
    grid->addLayout(row({tele2, dash, tele3}), 4, 1);
    grid->addWidget(label(kFontName, payer), 5, 0);
    grid->addWidget(fontList("CBfont4", QString(), payer), 5, 1);
    grid->addWidget(checkBox("CheckBoxfont4", kAutoSize, kAutoSizeHint, payer), 6, 0, 1, 2);
    grid->addWidget(label(kSize, payer), 7, 0);
    NumberBox* size =
        numberBox("SEfont4", 4, 12, 1, 2, QStringLiteral("4-12ポイントです。"), payer);
    grid->addLayout(
        row({size, makeBlue(label(QStringLiteral("住所・氏名のみの指定です。"), payer))}), 7, 1);
    grid->setRowStretch(1, 1);
    column->addWidget(payer, 1);

    QPushButton* registered =
        button("BtnTouroku", QStringLiteral("登録ご依頼人(&T)"), QString(), p);
    connect(registered, &QPushButton::clicked, this, &TForm1::MharaikomininClick);
    column->addLayout(row({registered}));
    return p;
}

QWidget* TForm1::buildContinuousPage()
{
    QWidget* p = page("TabSheet6", 22001);
    mContinuousPage = p;
    QVBoxLayout* column = columnOf(p);

    auto* tools = new QToolBar(QStringLiteral("ToolBar2"), p);
    tools->setObjectName(QStringLiteral("ToolBar2"));
    setUpToolBar(tools);
    struct Tool {
        const char* name;
        const char* themeIcon;
        const char* resource;
        const char* hint;
        void (TForm1::*handler)();
    };
    const Tool buttons[] = {
        {"ToolButton16", "document-print", "print", "連続印刷|払込人連続印刷をします。",
         &TForm1::ToolButton16Click},
        {"ToolButton28", "document-print-preview", "preview",
         "プレビュー|印刷プレビューを再表示します。", &TForm1::ToolButton28Click},
        {"ToolButton29", "document-page-setup", "paper-preview",
         "印刷ﾌﾟﾚﾋﾞｭｰ|印刷ﾌﾟﾚﾋﾞｭｰをします。", &TForm1::ToolButton29Click},
        {},
        {"ToolButton22", "document-new", "new", "新規作成|新規に作成します。",
         &TForm1::ToolButton22Click},
        {"ToolButton17", "document-open", "csv-open", "開く|CSVファィルを開きます。",
         &TForm1::ToolButton17Click},
        {},
        {"ToolButton18", "edit-copy", "copy", "コピー|コピーします。", &TForm1::ToolButton18Click},
        {"ToolButton19", "edit-cut", "cut", "切り取り|切り取ります。", &TForm1::ToolButton19Click},
        {"ToolButton20", "edit-paste", "paste", "貼り付け|貼り付けます。",
         &TForm1::ToolButton20Click},
        {"ToolButton21", "edit-delete", "delete", "削除|削除します。", &TForm1::ToolButton21Click},
        {},
        {"ToolButton25", "edit-table-insert-row-below", "add-row", "行の追加|行を追加します。",
         &TForm1::ToolButton25Click},
        {"ToolButton26", "edit-table-insert-column-right", "add-column", "列追加|列を追加します。",
         &TForm1::ToolButton26Click},
    };
    for (const Tool& b : buttons) {
        if (b.name == nullptr) {
            tools->addSeparator();
            continue;
        }
        QAction* action =
            toolButton(tools, b.name, b.themeIcon, b.resource, QString::fromUtf8(b.hint));
        if (b.handler != nullptr)
            connect(action, &QAction::triggered, this, b.handler);
        else
            action->setEnabled(false);
    }
    column->addWidget(tools);

    // The column mapping: which column of the table feeds which field of the slip, in two
    // columns of five lists.
    QGroupBox* mapping = group(QStringLiteral("項目指定"), p);
    mapping->setObjectName(QStringLiteral("GroupBox2"));
    QGridLayout* grid = gridOf(mapping);
    grid->setColumnStretch(1, 0);
    const char* const captions[kMapFieldCount] = {"〒",       "住所１",  "住所２",   "氏名",
                                                  "電話",     "金額",    "通信欄１", "通信欄２",
                                                  "通信欄３", "通信欄４"};
    for (int i = 0; i < kMapFieldCount; ++i) {
        const auto field = static_cast<MapField>(i);
        auto* list = new QComboBox(mapping);
        list->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        list->setEditable(false);
        list->setStatusTip(ColumnMapping::hint(field));
        list->setMinimumContentsLength(7);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMaxVisibleItems(20);
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, field](int index) { mContinuous.mapping.select(field, index); });
        mColumnLists[static_cast<std::size_t>(i)] = list;
        const int gridRow = i % 5;
        const int gridColumn = i < 5 ? 0 : 2;
        grid->addWidget(label(QString::fromUtf8(captions[i]), mapping, ColumnMapping::hint(field)),
                        gridRow, gridColumn);
        grid->addWidget(list, gridRow, gridColumn + 1);
    }
    grid->setColumnMinimumWidth(2, 12);

    // The print range: first and last data row, 0 in either for one trial slip.
    QGroupBox* range = group(QStringLiteral("印刷設定"), p);
    range->setObjectName(QStringLiteral("GroupBox3"));
    grid = gridOf(range);
    grid->setColumnStretch(1, 0);
    auto* first = new ClickableLabel(QStringLiteral("始め"), range);
    first->setObjectName(QStringLiteral("Label53"));
    first->setStatusTip(QStringLiteral("クリックすると 1 行目からにします。"));
    connect(first, &ClickableLabel::clicked, this, &TForm1::Label53Click);
    auto* last = new ClickableLabel(QStringLiteral("終わり"), range);
    last->setObjectName(QStringLiteral("Label59"));
    last->setStatusTip(QStringLiteral("クリックすると最後の行までにします。"));
    connect(last, &ClickableLabel::clicked, this, &TForm1::Label59Click);
    mBegin = numberBox("SEbegin", 0, 0, 1, 7, QString(), range);
    mEnd = numberBox("SEend", 0, 0, 1, 7, QString(), range);
    grid->addWidget(first, 0, 0);
    grid->addWidget(mBegin, 0, 1);
    grid->addWidget(last, 1, 0);
    grid->addWidget(mEnd, 1, 1);
    QPushButton* all = button("SpeedButton13", QStringLiteral("全件印刷"),
                              QStringLiteral("すべての行を印刷する範囲にします。"), range);
    connect(all, &QPushButton::clicked, this, &TForm1::SpeedButton13Click);
    grid->addWidget(all, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(mapping);
    groups->addWidget(range);
    groups->addStretch(1);
    column->addLayout(groups);

    mGrid = new StringGrid(p);
    mGridModel = new StringTableModel(mContinuous.table, mGrid);
    mGrid->setModel(mGridModel);
    column->addWidget(mGrid, 1);
    showReplacedTable();
    return p;
}

QWidget* TForm1::buildPrintSettingsPage()
{
    QWidget* p = page("TabSheet99", 19001);
    QVBoxLayout* column = columnOf(p);
    QGroupBox* shift =
        group(QStringLiteral("全体印刷位置微調整　×0.1mm（1mm=10）逆は－で指定）"), p);
    QGridLayout* grid = gridOf(shift);
    const QString resetTip = QStringLiteral("クリックすると初期値になります。");
    ClickableLabel* right = new ClickableLabel(QStringLiteral("右へ"), shift);
    right->setObjectName(QStringLiteral("Label12"));
    ClickableLabel* down = new ClickableLabel(QStringLiteral("下へ"), shift);
    down->setObjectName(QStringLiteral("Label13"));
    for (ClickableLabel* l : {right, down}) {
        l->setToolTip(resetTip);
        l->setStatusTip(resetTip);
    }
    connect(right, &ClickableLabel::clicked, this, &TForm1::Label12Click);
    connect(down, &ClickableLabel::clicked, this, &TForm1::Label13Click);

    grid->addWidget(right, 0, 0);
    NumberBox* leftRight = numberBox("SEleftright", -10000, 10000, 10, 5,
                                     QStringLiteral("印刷位置を右へずらします。"), shift);
    QPushButton* centreX = button("ButtonCentreLR", QStringLiteral("左右中央"),
                                  QStringLiteral("用紙の左右中央にします。"), shift);
    connect(centreX, &QPushButton::clicked, this, &TForm1::CentreLeftRightClick);
    grid->addLayout(row({leftRight, centreX}), 0, 1);
    grid->addWidget(down, 1, 0);
    NumberBox* topBottom = numberBox("SEtopbottom", -10000, 10000, 10, 5,
                                     QStringLiteral("印刷位置を下へずらします。"), shift);
    QPushButton* centreY = button("ButtonCentreTB", QStringLiteral("上下中央"),
                                  QStringLiteral("用紙の上下中央にします。"), shift);
    connect(centreY, &QPushButton::clicked, this, &TForm1::CentreTopBottomClick);
    grid->addLayout(row({topBottom, centreY}), 1, 1);
    grid->addWidget(
        blueNote(QStringLiteral("レーザープリンタは左右中央で印刷テストしてからご使用下さい。"),
                 shift),
        2, 0, 1, 2);
    column->addWidget(shift);

    column->addSpacing(12);
    column->addWidget(
        blueNote(QStringLiteral("私製払込書で印刷位置がずれている場合は印刷項目の位置を"
                                "変更する場合は下をクリックして設定して下さい。"),
                 p));
    QPushButton* details = button("Button1", QStringLiteral("詳細印刷設定(&S)..."), QString(), p);
    connect(details, &QPushButton::clicked, this, &TForm1::MprintshousaiClick);
    column->addLayout(row({details}));
    column->addStretch(1);
    return p;
}

QWidget* TForm1::buildRightPayerPage()
{
    QWidget* p = page("TabSheet7", 1001);
    QVBoxLayout* column = columnOf(p);
    QCheckBox* print = checkBox("CheckBox4R", QStringLiteral("ご依頼人－右　を印刷する"),
                                QStringLiteral("ご依頼人－右　を印刷します。"), p);
    QPushButton* same = button("Button4", QStringLiteral("左と同じ"),
                               QStringLiteral("左と同じ住所・氏名をコピーします。"), p);
    connect(same, &QPushButton::clicked, this, &TForm1::Button4Click);
    QPushButton* clear =
        button("Button5", QStringLiteral("クリア"), QStringLiteral("住所・氏名を削除します。"), p);
    connect(clear, &QPushButton::clicked, this, &TForm1::Button5Click);
    column->addLayout(row({print, same, clear}));

    QGroupBox* payer = group(QStringLiteral("ご依頼人－右"), p);
    QGridLayout* grid = gridOf(payer);
    grid->addWidget(label(QStringLiteral("氏名"), payer), 0, 0, Qt::AlignTop);
    grid->addWidget(
        linesEdit("MaddresR", QStringLiteral("氏名のみ、または住所・氏名です。"), 5, payer), 0, 1);
    grid->addWidget(lineCounter("MaddresRLines", payer), 1, 1);
    grid->addWidget(label(kSize, payer), 2, 0);
    grid->addLayout(
        row({numberBox("SEfont41", 4, 12, 1, 2, QStringLiteral("4-12ポイントです。"), payer)}), 2,
        1);
    grid->addWidget(
        blueNote(QStringLiteral("氏名が１行で枠の範囲内だと上下の中央に印刷します。"), payer), 3, 0,
        1, 2);
    grid->setRowStretch(0, 1);
    column->addWidget(payer, 1);
    return p;
}

void TForm1::installEditingAids()
{
    // Enter moves on as Tab would in these fields; the multi-line fields keep it as a new line.
    for (const char* name :
         {"Ekouza1",   "Ekouza2",    "Ekouza3",     "CBfont1",     "SpinEditFont1", "CBfont5",
          "SEfont5",   "SEfont51",   "SEkingaku",   "CBfont2",     "SpinEditFont2", "CBfont3",
          "SEfont3",   "Ezip",       "Etele1",      "Etele2",      "Etele3",        "CBfont4",
          "SEfont4",   "SEfont41",   "SEleftright", "SEtopbottom", "ComboBox1",     "ComboBox2",
          "ComboBox3", "ComboBox4",  "ComboBox5",   "ComboBox6",   "ComboBox7",     "ComboBox8",
          "ComboBox9", "ComboBox10", "SEbegin",     "SEend"}) {
        auto* field = findChild<QWidget*>(QLatin1String(name));
        field->installEventFilter(this);
        // A number box passes its keys to its inner edit, which may hold the focus itself.
        if (qobject_cast<NumberBox*>(field) != nullptr) {
            for (QLineEdit* inner : field->findChildren<QLineEdit*>())
                inner->installEventFilter(this);
        }
    }

    // Account, postal code and telephone are half-width digits: no Japanese input method there.
    for (const char* name :
         {"Ekouza1", "Ekouza2", "Ekouza3", "Ezip", "Etele1", "Etele2", "Etele3"}) {
        auto* field = findChild<QLineEdit*>(QLatin1String(name));
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        field->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers);
    }
    for (const char* name : {"Ekanyu", "MemoTsuushin", "Maddres", "MaddresR"})
        findChild<QWidget*>(QLatin1String(name))->setAttribute(Qt::WA_InputMethodEnabled, true);

    // The payer and message editors show a fixed-pitch gothic, so that lines line up as printed.
    const QFont gothic(QStringLiteral("ＭＳ ゴシック"), font().pointSize());
    for (const char* name : {"Maddres", "MaddresR", "MemoTsuushin"})
        findChild<QWidget*>(QLatin1String(name))->setFont(gothic);

    // The editing context menu of the text fields: the edit menu's cut, copy and paste.
    for (const char* name : {"Ekouza1", "Ekouza2", "Ekouza3", "Ekanyu", "MemoTsuushin", "Ezip",
                             "Maddres", "Etele1", "Etele2", "Etele3", "MaddresR"}) {
        auto* field = findChild<QWidget*>(QLatin1String(name));
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QWidget::customContextMenuRequested, this,
                [this, field] { showFieldContextMenu(field); });
    }

    struct Counter {
        const char* editor;
        const char* counter;
    };
    for (const Counter& c :
         {Counter{"Maddres", "MaddresLines"}, Counter{"MaddresR", "MaddresRLines"},
          Counter{"MemoTsuushin", "MemoTsuushinLines"}}) {
        auto* editor = findChild<QPlainTextEdit*>(QLatin1String(c.editor));
        auto* counter = findChild<QLabel*>(QLatin1String(c.counter));
        connect(editor, &QPlainTextEdit::textChanged, this,
                [this, editor, counter] { showLineCount(editor, counter); });
    }

    connect(findChild<QComboBox*>(QStringLiteral("CBfont3")), &QComboBox::currentIndexChanged, this,
            &TForm1::CBfont3Change);
    connect(findChild<NumberBox*>(QStringLiteral("SEfont3")), &NumberBox::textChanged, this,
            &TForm1::CBfont3Change);
}

} // namespace nobrisa
