#include "ui/tform2.h"

#include "settings/settings.h"
#include "ui/clickablelabel.h"
#include "ui/numberbox.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <iterator>

namespace nobrisa {
namespace {

using P = TPrintPositions;

// A box of the dialog: the label beside it, its name (also the field's) and the field.
struct BoxDef {
    const char* label;
    const char* name;
    NumberText P::*field;
};

// A group of two boxes (one row) or four (left and right edges, then top and bottom); unused
// places stay empty.
struct GroupDef {
    const char* title;
    BoxDef boxes[4];
};

struct PageDef {
    const char* caption;
    const char* name;
    GroupDef groups[4];
};

// The dialog's pages; the Japanese texts are UTF-8.
const PageDef kPages[] = {
    {"　加入者　",
     "TabSheet1",
     {
         {"口座記号番号印刷位置　×0.1mm　（1mm=10）",
          {{"１段目上から", "SEkouza1", &P::SEkouza1}, {"２段目上から", "SEkouza2", &P::SEkouza2}}},
         {"加入者欄印刷位置［左］　×0.1mm　（1mm=10）",
          {{"左端", "SEkanyuLleft", &P::SEkanyuLleft},
           {"右端", "SEkanyuLright", &P::SEkanyuLright},
           {"上端", "SEkanyuLtop", &P::SEkanyuLtop},
           {"下端", "SEkanyuLbottom", &P::SEkanyuLbottom}}},
         {"加入者欄印刷位置［右］　×0.1mm　（1mm=10）",
          {{"左端", "SEkanyuRleft", &P::SEkanyuRleft},
           {"右端", "SEkanyuRright", &P::SEkanyuRright},
           {"上端", "SEkanyuRtop", &P::SEkanyuRtop},
           {"下端", "SEkanyuRbottom", &P::SEkanyuRbottom}}},
     }},
    {"　金額・通信欄　",
     "TabSheet2",
     {
         {"金額印刷位置［左］　×0.1mm　（1mm=10）",
          {{"左端", "SEkingakLeft", &P::SEkingakLeft},
           {"右端", "SEkingakRight", &P::SEkingakRight},
           {"上端", "SEkingakTop", &P::SEkingakTop},
           {"下端", "SEkingakBottom", &P::SEkingakBottom}}},
         {"金額印刷位置［右］　×0.1mm　（1mm=10）",
          {{"左端", "SEkingakuLeftR", &P::SEkingakuLeftR},
           {"右端", "SEkingakuRightR", &P::SEkingakuRightR},
           {"上端", "SEkingakuTopR", &P::SEkingakuTopR},
           {"下端", "SEkingakuBottomR", &P::SEkingakuBottomR}}},
         {"通信欄印刷位置　×0.1mm　（1mm=10）",
          {{"左端", "SEtsushinLeft", &P::SEtsushinLeft},
           {"右端", "SEtsushinRight", &P::SEtsushinRight},
           {"上端", "SEtsushinTop", &P::SEtsushinTop},
           {"下端", "SEtsushinBottom", &P::SEtsushinBottom}}},
     }},
    {"ご依頼人",
     "TabSheet3",
     {
         {"ご依頼人住所・氏名［左］印刷位置　×0.1mm　（1mm=10）",
          {{"左端", "SEharaiLleft", &P::SEharaiLleft},
           {"右端", "SEharaiLright", &P::SEharaiLright},
           {"上端", "SEharaiLtop", &P::SEharaiLtop},
           {"下端", "SEharaiLbottom", &P::SEharaiLbottom}}},
         {"ご依頼人住所・氏名［右］印刷位置　×0.1mm　（1mm=10）",
          {{"左端", "SEharaiRleft", &P::SEharaiRleft},
           {"右端", "SEharaiRright", &P::SEharaiRright},
           {"上端", "SEharaiRtop", &P::SEharaiRtop},
           {"下端", "SEharaiRbottom", &P::SEharaiRbottom}}},
         {"郵便番号印刷位置　×0.1mm　（1mm=10）",
          {{"左から", "SEzipleft", &P::SEzipleft}, {"上から", "SEziptop", &P::SEziptop}}},
         {"電話番号印刷位置　×0.1mm　（1mm=10）",
          {{"左から", "SEteleleft", &P::SEteleleft}, {"上から", "SEteletop", &P::SEteletop}}},
     }},
};

// The standard value of a stored entry; the amount boxes, which are not stored, start from 0.
int standardValue(NumberText P::*field)
{
    for (const P::Entry& e : P::entries()) {
        if (e.field == field)
            return e.standard;
    }
    return 0;
}

constexpr int kHelpContext = 19001;

} // namespace

TForm2::TForm2(const QString& appIniPath, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("印刷位置設定"));
    setProperty("helpContext", kHelpContext);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The dialog is as large as its pages need and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto addButton = [this, tools](const char* name, const QString& caption,
                                   QStyle::StandardPixmap icon) {
        auto* action = new QAction(style()->standardIcon(icon), caption, this);
        action->setObjectName(QLatin1String(name));
        tools->addAction(action);
        return action;
    };
    // What is typed is in effect at once (the renderers read the boxes); OK keeps it, a cancel
    // takes back all of it.
    connect(addButton("BitBtn1", QStringLiteral("OK"), QStyle::SP_DialogOkButton),
            &QAction::triggered, this, &QDialog::accept);
    connect(addButton("BitBtn2", QStringLiteral("キャンセル"), QStyle::SP_DialogCancelButton),
            &QAction::triggered, this, &QDialog::reject);
    tools->addSeparator();
    connect(addButton("BitBtn3", QStringLiteral("標準に戻す"), QStyle::SP_DialogResetButton),
            &QAction::triggered, this, &TForm2::BitBtn3Click);
    layout->addWidget(tools);

    mPages = new QTabWidget(this);
    mPages->setObjectName(QStringLiteral("PageControl1"));
    for (int page = 0; page < static_cast<int>(std::size(kPages)); ++page)
        mPages->addTab(buildPage(page), QString::fromUtf8(kPages[page].caption));
    auto* pagesFrame = new QVBoxLayout;
    pagesFrame->setContentsMargins(6, 6, 6, 6);
    pagesFrame->addWidget(mPages);
    layout->addLayout(pagesFrame);

    mStatusBar = new QStatusBar(this);
    mStatusBar->setObjectName(QStringLiteral("StatusBar1"));
    mStatusBar->setSizeGripEnabled(false);
    auto* note = new QLabel(
        QStringLiteral("私製払込書の印刷の設定です。通常は使用しないでください。"), mStatusBar);
    note->setContentsMargins(4, 2, 4, 2);
    mStatusBar->addWidget(note, 1);
    layout->addWidget(mStatusBar);

    // A file that cannot be read leaves the standard values; the main window has already said
    // what was wrong with it when it loaded the same file.
    QString error;
    LoadPrintPositions(appIniPath, mPositions, &error);
    showPositions();
    mOnOpening = mPositions;
}

QWidget* TForm2::buildPage(int page)
{
    const PageDef& pageDef = kPages[page];
    auto* p = new QWidget;
    p->setObjectName(QLatin1String(pageDef.name));
    auto* column = new QVBoxLayout(p);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);

    const QString hint = QStringLiteral("クリックすると初期値になります。");
    for (const GroupDef& groupDef : pageDef.groups) {
        if (groupDef.title == nullptr)
            break;
        auto* group = new QGroupBox(QString::fromUtf8(groupDef.title), p);
        auto* grid = new QGridLayout(group);
        grid->setHorizontalSpacing(6);
        grid->setColumnMinimumWidth(2, 24);
        grid->setColumnStretch(5, 1);
        int i = 0;
        for (const BoxDef& boxDef : groupDef.boxes) {
            if (boxDef.name == nullptr)
                break;
            const QString name = QLatin1String(boxDef.name);
            auto* label = new ClickableLabel(QString::fromUtf8(boxDef.label), group);
            label->setObjectName(QStringLiteral("Label") + name);
            label->setToolTip(hint);
            label->setStatusTip(hint);
            auto* box = new NumberBox(0, 10000, 10, 5, group);
            box->setObjectName(name);
            label->setBuddy(box);
            box->installEventFilter(this);

            // Two boxes to a row: left and right edge, then top and bottom edge.
            const int row = i / 2;
            const int column = (i % 2) * 3;
            grid->addWidget(label, row, column);
            grid->addWidget(box, row, column + 1);
            ++i;

            NumberText P::*const field = boxDef.field;
            const int standard = standardValue(boxDef.field);
            mBoxes.push_back({box, boxDef.field, standard});
            connect(box, &NumberBox::textChanged, this,
                    [this, field](const QString& text) { (mPositions.*field).setText(text); });
            connect(label, &ClickableLabel::clicked, box,
                    [box, standard] { box->setNumber(standard); });
        }
        column->addWidget(group);
    }
    column->addStretch(1);
    return p;
}

void TForm2::setPositions(const TPrintPositions& positions)
{
    mPositions = positions;
    showPositions();
}

void TForm2::showPositions()
{
    // Copied first: each box writes its text back into mPositions as it changes.
    const TPrintPositions shown = mPositions;
    for (const Box& b : mBoxes)
        b.box->setText((shown.*b.field).text());
}

void TForm2::BitBtn3Click()
{
    TPrintPositions standard = mPositions;
    standard.restoreStandard();
    setPositions(standard);
}

void TForm2::reject()
{
    setPositions(mOnOpening);
    QDialog::reject();
}

void TForm2::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        mOnOpening = mPositions;
    // Every opening starts on the first page, whichever was in front when it was closed.
    mPages->setCurrentIndex(0);
    if (!mBoxes.empty())
        mBoxes.front().box->setFocus();
    QDialog::showEvent(event);
}

bool TForm2::event(QEvent* event)
{
    // The labels' hints stand in the status bar while the mouse is over them, in place of the
    // dialog's own note, which comes back when the hint is cleared.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (tip.isEmpty())
            mStatusBar->clearMessage();
        else
            mStatusBar->showMessage(tip);
        return true;
    }
    return QDialog::event(event);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in a box moves on to the next control, as Tab would; it must not reach the dialog,
    // where it would close it.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace nobrisa
