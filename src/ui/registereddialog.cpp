#include "ui/registereddialog.h"

#include "settings/inifile.h"
#include "settings/settingsfile.h"
#include "text/lines.h"
#include "ui/entermovesfocus.h"
#include "ui/prompts.h"
#include "ui/tform1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace nobrisa {
namespace {

using Kind = RegisteredList::Kind;

// The files and the list separate lines by CR LF, the editors by LF.
QString toEditor(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The dialog's own limit on typing in a one-line field.
constexpr char kLengthLimit[] = "lengthLimit";

// A one-line field shows a stored value whole, also one longer than its limit on typing (as the
// slip window's fields do); typing cannot make it longer. The next value shown brings the limit
// back to the field's own.
void setLineText(QLineEdit* edit, const QString& text)
{
    const QVariant own = edit->property(kLengthLimit);
    const int limit = own.isValid() ? own.toInt() : edit->maxLength();
    const int wanted = std::max(limit, static_cast<int>(text.size()));
    if (edit->maxLength() != wanted)
        edit->setMaxLength(wanted);
    edit->setText(text);
}

QString textOf(const QWidget* w)
{
    if (const auto* lines = qobject_cast<const QPlainTextEdit*>(w))
        return lines->toPlainText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    return QString();
}

void setTextOf(QWidget* w, const QString& text)
{
    if (auto* lines = qobject_cast<QPlainTextEdit*>(w))
        lines->setPlainText(toEditor(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        setLineText(edit, text);
}

QPushButton* commandButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

RegisteredDialog::RegisteredDialog(Kind kind, const QString& appIniPath, Prompts& prompts,
                                   QWidget& slipWindow, QWidget* parent)
    : QDialog(parent)
    , mList(kind)
    , mIniPath(appIniPath)
    , mPrompts(prompts)
    , mSlipWindow(slipWindow)
{
    const bool payers = kind == Kind::Payers;
    setObjectName(payers ? QStringLiteral("Form3") : QStringLiteral("Form4"));
    setWindowTitle(payers ? QStringLiteral("登録ご依頼人") : QStringLiteral("登録加入者"));
    setProperty(kHelpContextProperty, payers ? 23001 : 23002);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    // A fixed-size dialog, as large as its fields need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("登録名"), this);
    mNames = new QComboBox(this);
    mNames->setObjectName(QStringLiteral("ComboBox1"));
    mNames->setEditable(false);
    mNames->setMinimumContentsLength(24);
    mNames->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    nameLabel->setBuddy(mNames);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(mNames, 1);
    layout->addLayout(nameRow);

    auto* group =
        new QGroupBox(payers ? QStringLiteral("ご依頼人") : QStringLiteral("加入者"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    mFieldGrid = new QGridLayout(group);
    mFieldGrid->setColumnStretch(1, 1);
    layout->addWidget(group);

    auto* note = new QLabel(QStringLiteral("50件まで登録できます。"), this);
    note->setObjectName(QStringLiteral("Label50"));
    QPalette blue = note->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    note->setPalette(blue);
    layout->addWidget(note);

    auto* commands = new QHBoxLayout;
    QPushButton* copy = commandButton("Button1", QStringLiteral("払込書にコピー(&L)"), this);
    QPushButton* add = commandButton("Button2", QStringLiteral("新規登録(&A)"), this);
    QPushButton* update = commandButton("Button3", QStringLiteral("更新(&K)"), this);
    QPushButton* remove = commandButton("Button4", QStringLiteral("削除(&D)"), this);
    QPushButton* take = commandButton("Button5", QStringLiteral("取得(&T)"), this);
    for (QPushButton* b : {add, update, remove, take, copy})
        commands->addWidget(b);
    layout->addLayout(commands);

    auto* closeRow = new QHBoxLayout;
    QPushButton* close = commandButton("BitBtn1", QStringLiteral("閉じる(&C)"), this);
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    closeRow->addStretch(1);
    closeRow->addWidget(close);
    layout->addLayout(closeRow);

    connect(copy, &QPushButton::clicked, this, &RegisteredDialog::Button1Click);
    connect(add, &QPushButton::clicked, this, &RegisteredDialog::Button2Click);
    connect(update, &QPushButton::clicked, this, &RegisteredDialog::Button3Click);
    connect(remove, &QPushButton::clicked, this, &RegisteredDialog::Button4Click);
    connect(take, &QPushButton::clicked, this, &RegisteredDialog::Button5Click);
    // Nothing is stored on closing: every command has written already.
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(mNames, &QComboBox::currentIndexChanged, this, &RegisteredDialog::ComboBox1Change);
}

QLineEdit* RegisteredDialog::lineField(const char* name, int maxLength, const QString& hint)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    edit->setProperty(kLengthLimit, maxLength);
    edit->setStatusTip(hint);
    edit->setToolTip(hint);
    // Half-width digits and letters: no Japanese input method.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers);
    mFieldOrder.push_back(edit);
    const QFontMetrics metrics(edit->font());
    edit->setFixedWidth(metrics.horizontalAdvance(QString(std::min(maxLength, 12), u'0')) + 16);
    return edit;
}

QPlainTextEdit* RegisteredDialog::linesField(const char* name, const QString& hint,
                                             int visibleLines)
{
    auto* edit = new QPlainTextEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setStatusTip(hint);
    edit->setToolTip(hint);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    edit->setAttribute(Qt::WA_InputMethodEnabled, true);
    mFieldOrder.push_back(edit);
    const QFontMetrics metrics(edit->font());
    edit->setFixedSize(metrics.horizontalAdvance(QString(20, u'あ')),
                       metrics.lineSpacing() * visibleLines + 8 +
                           edit->horizontalScrollBar()->sizeHint().height());
    return edit;
}

void RegisteredDialog::finishSetUp()
{
    // The tab order, which Enter follows: the list, the fields as made, the buttons as shown.
    // The buttons were made before the fields.
    QWidget* previous = mNames;
    for (QWidget* next : mFieldOrder) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (const char* name : {"Button2", "Button3", "Button4", "Button5", "Button1", "BitBtn1"}) {
        auto* next = findChild<QPushButton*>(QLatin1String(name));
        setTabOrder(previous, next);
        previous = next;
    }

    // Enter moves on in the list and the one-line fields.
    auto* enter = new EnterMovesFocus(this);
    mNames->installEventFilter(enter);
    for (const RegisteredList::Field& f : mList.fields()) {
        if (f.lineKey == nullptr)
            field(f)->installEventFilter(enter);
    }
    reloadList(true);
}

void RegisteredDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && screen() != nullptr)
        move(screen()->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

QWidget* RegisteredDialog::field(const RegisteredList::Field& f) const
{
    return findChild<QWidget*>(QLatin1String(f.name));
}

QWidget* RegisteredDialog::slipField(const RegisteredList::Field& f) const
{
    // The dialog is a child of the slip window and has fields of the same names: take the
    // window's own.
    const QList<QWidget*> found = mSlipWindow.findChildren<QWidget*>(QLatin1String(f.name));
    for (QWidget* w : found) {
        if (w->window() == &mSlipWindow)
            return w;
    }
    return nullptr;
}

QStringList RegisteredDialog::fieldValues() const
{
    QStringList values;
    for (const RegisteredList::Field& f : mList.fields())
        values << textOf(field(f));
    return values;
}

void RegisteredDialog::showValues(const QStringList& values)
{
    const std::span<const RegisteredList::Field> all = mList.fields();
    for (std::size_t n = 0; n < all.size(); ++n)
        setTextOf(field(all[n]), static_cast<qsizetype>(n) < values.size() ? values[n] : QString());
}

bool RegisteredDialog::readFile(IniFile& ini)
{
    QString error;
    if (readIniFile(mIniPath, ini, &error))
        return true;
    mPrompts.error(this, error);
    return false;
}

void RegisteredDialog::reloadList(bool loadFirst)
{
    IniFile ini;
    // A file that cannot be read shows as an empty list; the message said why.
    readFile(ini);
    const int previous = mNames->currentIndex();
    const QSignalBlocker quiet(mNames);
    mNames->clear();
    mEntryCount = mList.count(ini);
    mNames->addItems(mList.names(ini, mEntryCount));
    if (loadFirst) {
        showValues(mEntryCount > 0 ? mList.values(ini, 0) : QStringList());
        if (mEntryCount > 0)
            mNames->setCurrentIndex(0);
    } else if (mEntryCount > 0) {
        mNames->setCurrentIndex(std::clamp(previous, 0, mEntryCount - 1));
    }
}

bool RegisteredDialog::LoadEntry(int index)
{
    if (mEntryCount <= 0)
        return false;
    IniFile ini;
    if (!readFile(ini))
        return false;
    showValues(mList.values(ini, index));
    return true;
}

bool RegisteredDialog::SaveEntry(int index)
{
    QString error;
    if (mList.writeToFile(mIniPath, index, mEntryCount, mNames->itemText(index), fieldValues(),
                          &error))
        return true;
    mPrompts.error(this, error);
    // What the list shows is what the file holds; the fields keep what was typed.
    reloadList(false);
    return false;
}

void RegisteredDialog::ComboBox1Change()
{
    if (mEntryCount > 0)
        LoadEntry(std::max(mNames->currentIndex(), 0));
}

void RegisteredDialog::Button2Click()
{
    // Cancel registers nothing, whatever the box showed at first; so does an empty name.
    const std::optional<QString> name =
        mPrompts.inputText(this, QStringLiteral("登録払込人－新規登録"),
                           QStringLiteral("登録名を入力して下さい。"), proposedName());
    if (!name || name->isEmpty())
        return;
    const int k = mEntryCount++;
    {
        // The fields keep what they show: they are the new entry.
        const QSignalBlocker quiet(mNames);
        mNames->addItem(*name);
        mNames->setCurrentIndex(k);
    }
    SaveEntry(k);
}

void RegisteredDialog::Button3Click()
{
    const int k = mNames->currentIndex();
    if (mEntryCount > 0 && k >= 0)
        SaveEntry(k);
}

void RegisteredDialog::Button4Click()
{
    const int k = mNames->currentIndex();
    if (mEntryCount <= 0 || k < 0)
        return;
    QString error;
    if (!mList.removeFromFile(mIniPath, k, mEntryCount, &error)) {
        mPrompts.error(this, error);
        reloadList(false);
        return;
    }
    reloadList(true);
}

void RegisteredDialog::Button1Click()
{
    for (const RegisteredList::Field& f : mList.fields()) {
        if (QWidget* target = slipField(f))
            setTextOf(target, textOf(field(f)));
    }
}

void RegisteredDialog::Button5Click()
{
    for (const RegisteredList::Field& f : mList.fields()) {
        if (const QWidget* source = slipField(f))
            setTextOf(field(f), textOf(source));
    }
}

} // namespace nobrisa
