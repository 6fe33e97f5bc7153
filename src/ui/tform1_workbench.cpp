// The text workbench page of the main window: a plain-text editor for a letter, a list or a
// mail, the buttons that move the editor's selection into the slip's fields, and the clean-ups
// of the whole text. The editor's text belongs to the page alone and is stored nowhere.

#include "ui/tform1.h"

#include "aids/workbench.h"
#include "model/tsliprecord.h"
#include "ui/prompts.h"
#include "ui/slipbinding.h"
#include "ui/toolbars.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace nobrisa {

namespace {

// A transfer button: the field it fills and the print switch it turns on.
struct Transfer {
    const char* name;
    const char* caption;
    const char* hint;
    bool TSlipRecord::*printSwitch;
    QString TSlipRecord::*field; // null for the amount, a number box
};

constexpr Transfer kTransfers[] = {
    {"SpeedButton1", "口座番号１", "口座番号１", &TSlipRecord::CheckBox1, &TSlipRecord::Ekouza1},
    {"SpeedButton2", "２", "口座番号２", &TSlipRecord::CheckBox1, &TSlipRecord::Ekouza2},
    {"SpeedButton3", "３", "口座番号３", &TSlipRecord::CheckBox1, &TSlipRecord::Ekouza3},
    {"SpeedButton4", "加入者名", "加入者名", &TSlipRecord::CheckBox1, &TSlipRecord::Ekanyu},
    {"SpeedButton5", "金額", "金額", &TSlipRecord::CheckBox2, nullptr},
    {"SpeedButton6", "通信欄", "通信欄", &TSlipRecord::CheckBox3, &TSlipRecord::MemoTsuushin},
    {"SpeedButton7", "払込人郵便番号", "郵便番号", &TSlipRecord::CheckBox4, &TSlipRecord::Ezip},
    {"SpeedButton8", "払込人住所・氏名", "住所・氏名", &TSlipRecord::CheckBox4,
     &TSlipRecord::Maddres},
    {"SpeedButton9", "電話番号１", "電話番号１", &TSlipRecord::CheckBox4, &TSlipRecord::Etele1},
    {"SpeedButton10", "２", "電話番号２", &TSlipRecord::CheckBox4, &TSlipRecord::Etele2},
    {"SpeedButton11", "３", "電話番号３", &TSlipRecord::CheckBox4, &TSlipRecord::Etele3},
};

// The transfer buttons' rows, by index into kTransfers: the three account parts side by side,
// one row each for subscriber, amount, message, postal code and address, the three telephone
// parts side by side.
struct TransferRow {
    std::size_t first;
    std::size_t count;
};
constexpr TransferRow kTransferRows[] = {{0, 3}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 3}};

// The busy cursor while a long edit or a file read runs.
class BusyCursor final {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// A flat button of the column: it takes no focus, so the editor keeps its selection in view.
QToolButton* speedButton(const char* name, const QString& caption, const QString& hint,
                         QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setStatusTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

// The editor's selection as the slip's fields hold text: its line breaks, which the editor
// gives as paragraph (or line) separators, become CR LF.
QString selectionAsFieldText(QString selected)
{
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return selected.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
}

} // namespace

QWidget* TForm1::buildTextPage()
{
    auto* p = new QWidget;
    p->setObjectName(QStringLiteral("TabSheet5"));
    p->setProperty(kHelpContextProperty, 1001);
    auto* layout = new QVBoxLayout(p);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* tools = new QToolBar(QStringLiteral("ToolBar3"), p);
    tools->setObjectName(QStringLiteral("ToolBar3"));
    setUpToolBar(tools);
    struct Tool {
        const char* name;
        const char* themeIcon;
        const char* resource;
        const char* hint;
        void (TForm1::*handler)();
    };
    const Tool buttons[] = {
        {"ToolButton4", "document-new", "new", "新規|テキストを全て削除します。",
         &TForm1::ToolButton4Click},
        {"ToolButton5", "document-open", "open", "開く|ファイルを開きます。",
         &TForm1::ToolButton5Click},
        {},
        {"ToolButton6", "edit-cut", "cut", "切り取り|選択した範囲を切り取ります。",
         &TForm1::ToolButton6Click},
        {"ToolButton7", "edit-copy", "copy", "コピー|選択した範囲をコピーします。",
         &TForm1::ToolButton7Click},
        {"ToolButton8", "edit-paste", "paste", "貼り付け|クリップボードから貼り付けます。",
         &TForm1::ToolButton8Click},
        {"ToolButton9", "edit-delete", "delete", "削除|選択した範囲を削除します。",
         &TForm1::ToolButton9Click},
    };
    for (const Tool& b : buttons) {
        if (b.name == nullptr) {
            tools->addSeparator();
            continue;
        }
        QAction* action =
            toolButton(tools, b.name, b.themeIcon, b.resource, QString::fromUtf8(b.hint));
        connect(action, &QAction::triggered, this, b.handler);
    }
    layout->addWidget(tools);

    auto* splitter = new QSplitter(Qt::Horizontal, p);
    splitter->setObjectName(QStringLiteral("Splitter2"));
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);

    auto* column = new QWidget(splitter);
    column->setObjectName(QStringLiteral("Panel5"));
    auto* buttonColumn = new QVBoxLayout(column);
    buttonColumn->setContentsMargins(0, 0, 4, 0);
    auto* instruction =
        new QLabel(QStringLiteral("範囲を選択してボタンを押してください。"), column);
    instruction->setObjectName(QStringLiteral("TextInstruction"));
    instruction->setWordWrap(true);
    QPalette blueText = instruction->palette();
    blueText.setColor(QPalette::WindowText, Qt::blue);
    instruction->setPalette(blueText);
    buttonColumn->addWidget(instruction);

    for (const TransferRow& r : kTransferRows) {
        auto* row = new QHBoxLayout;
        for (std::size_t i = r.first; i < r.first + r.count; ++i) {
            const Transfer& t = kTransfers[i];
            QToolButton* b = speedButton(t.name, QString::fromUtf8(t.caption),
                                         QString::fromUtf8(t.hint), column);
            connect(b, &QToolButton::clicked, this, [this, i] { transferSelection(i); });
            // In a row of three the first caption is the long one.
            row->addWidget(b, r.count > 1 && i == r.first ? 3 : 1);
        }
        buttonColumn->addLayout(row);
    }

    buttonColumn->addSpacing(12);
    struct CleanUp {
        const char* name;
        const char* caption;
        const char* hint;
        void (TForm1::*handler)();
    };
    const CleanUp cleanUps[] = {
        {"SpeedButton12", "全角->半角", "全角数字を半角に変換します。",
         &TForm1::SpeedButton12Click},
        {"SpeedButton14", "TAB、行頭空白を削除", "TAB、行頭空白を削除",
         &TForm1::SpeedButton14Click},
        {"SpeedButton15", "空行を削除", "空行を削除", &TForm1::SpeedButton15Click},
        {"SpeedButton16", "カンマを削除", "カンマを削除します。", &TForm1::SpeedButton16Click},
    };
    for (const CleanUp& c : cleanUps) {
        QToolButton* b =
            speedButton(c.name, QString::fromUtf8(c.caption), QString::fromUtf8(c.hint), column);
        QPalette blueLetters = b->palette();
        blueLetters.setColor(QPalette::ButtonText, Qt::blue);
        b->setPalette(blueLetters);
        connect(b, &QToolButton::clicked, this, c.handler);
        buttonColumn->addWidget(b);
    }
    buttonColumn->addStretch(1);

    mTextEditor = new QPlainTextEdit(splitter);
    mTextEditor->setObjectName(QStringLiteral("RichEdit1"));
    mTextEditor->setStatusTip(QStringLiteral("テキストを選択して、ボタンをクリックします。"));
    // Long lines wrap at the editor's width; Japanese text, without spaces, anywhere.
    mTextEditor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mTextEditor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mTextEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mTextEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mTextEditor->setTabChangesFocus(true);
    // The fixed-pitch gothic of the payer and message editors.
    mTextEditor->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), font().pointSize()));
    mTextEditor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mTextEditor, &QWidget::customContextMenuRequested, this,
            [this] { showFieldContextMenu(mTextEditor); });

    // Extra width goes to the editor; the column keeps the width of its buttons.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    return p;
}

void TForm1::ToolButton4Click()
{
    if (!mTextEditor->document()->isEmpty())
        replaceEditorText(QString());
}

void TForm1::ToolButton5Click()
{
    // The window's open dialog, set up for a text: its folder and file name stay those of the
    // setting files, and what it remembers for them is not changed by opening a text.
    const QString fileName = mPrompts.openFile(
        this,
        {QStringLiteral("テキストを読み込み"), mState.openDialogDir, mState.openDialogFileName,
         QStringLiteral("テキスト (*.txt);;すべて (*)"), QStringLiteral("txt")});
    if (fileName.isEmpty())
        return;
    QString text;
    QString error;
    bool read = false;
    {
        const BusyCursor busy;
        read = readWorkbenchFile(fileName, &text, &error);
        if (read)
            replaceEditorText(text);
    }
    if (!read) {
        mPrompts.error(this, error);
        return;
    }
    showResult(QStringLiteral("「%1」を読み込みました。").arg(QFileInfo(fileName).fileName()));
}

void TForm1::ToolButton6Click()
{
    mTextEditor->cut();
}

void TForm1::ToolButton7Click()
{
    mTextEditor->copy();
}

void TForm1::ToolButton8Click()
{
    mTextEditor->paste();
}

void TForm1::ToolButton9Click()
{
    QTextCursor cursor = mTextEditor->textCursor();
    cursor.removeSelectedText();
}

void TForm1::transferSelection(std::size_t button)
{
    if (button >= std::size(kTransfers))
        return;
    const Transfer& t = kTransfers[button];
    TSlipRecord& slip = mState.slip;
    // The field is to be printed also when nothing was selected.
    slip.*t.printSwitch = true;
    // The whole selection, unchanged: a field's length limit stops typing only.
    const QString selected = selectionAsFieldText(mTextEditor->textCursor().selectedText());
    if (!selected.isEmpty()) {
        if (t.field != nullptr)
            slip.*t.field = selected;
        else
            slip.SEkingaku.setText(selected);
    }
    mBinding->showRecord();
}

void TForm1::SpeedButton12Click()
{
    const QString text = editorText();
    const QString converted = fullWidthDigitsToAscii(text);
    if (converted != text)
        replaceEditorText(converted);
}

void TForm1::SpeedButton14Click()
{
    const BusyCursor busy;
    const QString text = editorText();
    const QString cleaned = removeTabsAndLeadingBlanks(text);
    if (cleaned != text)
        replaceEditorText(cleaned);
}

void TForm1::SpeedButton15Click()
{
    const BusyCursor busy;
    const QString text = editorText();
    const QString cleaned = removeEmptyLines(text);
    if (cleaned != text)
        replaceEditorText(cleaned);
}

void TForm1::SpeedButton16Click()
{
    const QString text = editorText();
    const QString cleaned = removeCommas(text);
    if (cleaned != text)
        replaceEditorText(cleaned);
}

void TForm1::replaceEditorText(const QString& text)
{
    // Through a cursor in one edit block, not setPlainText: that would clear the undo history,
    // and the user could not take a clean-up back.
    QTextCursor cursor(mTextEditor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertText(text);
    cursor.endEditBlock();
}

QString TForm1::editorText() const
{
    // The editor's own lines, not the lines it shows after wrapping.
    const QTextDocument* document = mTextEditor->document();
    QString text;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            text += u'\n';
        text += block.text();
    }
    return text;
}

} // namespace nobrisa
