// The main window's editing aids: Enter navigation, line counters, hints, the OCRB search, the
// message face, the payer copy, the edit commands, the adjustment labels and help.

#include "tform1fixture.h"

#include "model/coords.h"
#include "ui/numberbox.h"
#include "ui/taboutbox.h"
#include "ui/tform2.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <functional>

namespace nobrisa::test {
namespace {

using TForm1EditingTest = TForm1Test;

// Closes the next modal dialog once it is up, after `inspect` has looked at it.
void closeNextDialog(const std::function<void(QWidget*)>& inspect)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            inspect(dialog);
            dialog->close();
            timer->deleteLater();
        }
    });
    timer->start();
}

TEST_F(TForm1EditingTest, EnterMovesOnInOneLineFieldsAndNumberBoxesButBreaksLinesInMultiLine)
{
    auto form = makeActiveForm();
    auto* ekouza1 = widget<QLineEdit>(*form, "Ekouza1");
    ekouza1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), widget(*form, "Ekouza2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), widget(*form, "Ekouza3"));

    // A number box moves on too, whichever of it and its inner edit holds the focus.
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    auto* amount = widget<NumberBox>(*form, "SEkingaku");
    amount->setFocus();
    QWidget* inAmount = QApplication::focusWidget();
    ASSERT_TRUE(inAmount == amount || amount->isAncestorOf(inAmount));
    QTest::keyClick(inAmount, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), widget(*form, "CBfont2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), widget(*form, "SpinEditFont2"))
        << "a font list moves on as well";

    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
    auto* address = widget<QPlainTextEdit>(*form, "Maddres");
    address->setFocus();
    type(address, QStringLiteral("東京都"));
    QTest::keyClick(address, Qt::Key_Return);
    type(address, QStringLiteral("山田"));
    EXPECT_EQ(QApplication::focusWidget(), address);
    EXPECT_EQ(form->slip().Maddres, QStringLiteral("東京都\r\n山田"));
}

TEST_F(TForm1EditingTest, LineCountersCountLinesButNotAFinalLineBreak)
{
    auto form = makeForm();
    for (const char* name : {"Maddres", "MaddresR", "MemoTsuushin"}) {
        SCOPED_TRACE(name);
        auto* editor = widget<QPlainTextEdit>(*form, name);
        auto* counter = widget<QLabel>(*form, (std::string(name) + "Lines").c_str());
        EXPECT_EQ(counter->text(), QStringLiteral("行")) << "before the first change";
        type(editor, QStringLiteral("一"));
        EXPECT_EQ(counter->text(), QStringLiteral("1 行"));
        editor->setPlainText(QStringLiteral("一\n二\n三"));
        EXPECT_EQ(counter->text(), QStringLiteral("3 行"));
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(counter->text(), QStringLiteral("3 行")) << "an empty last line is no line";
        type(editor, QStringLiteral("四"));
        EXPECT_EQ(counter->text(), QStringLiteral("4 行"));
        editor->clear();
        EXPECT_EQ(counter->text(), QStringLiteral("0 行"));
    }
}

TEST_F(TForm1EditingTest, FieldsCarryTheirLimits)
{
    auto form = makeForm();
    const std::pair<const char*, int> lengths[] = {{"Ekouza1", 5}, {"Ekouza2", 1}, {"Ekouza3", 7},
                                                   {"Ezip", 8},    {"Etele1", 30}, {"Etele2", 5},
                                                   {"Etele3", 5}};
    for (const auto& [name, length] : lengths)
        EXPECT_EQ(widget<QLineEdit>(*form, name)->maxLength(), length) << name;

    struct Range {
        const char* name;
        int min, max;
    };
    for (const Range& r :
         {Range{"SpinEditFont1", 1, 999}, Range{"SEfont5", 1, 999}, Range{"SEfont51", 1, 999},
          Range{"SEkingaku", 0, 99999999}, Range{"SpinEditFont2", 4, 12}, Range{"SEfont3", 4, 36},
          Range{"SEfont4", 4, 12}, Range{"SEfont41", 4, 12}, Range{"SEleftright", -10000, 10000},
          Range{"SEtopbottom", -10000, 10000}}) {
        auto* box = widget<NumberBox>(*form, r.name);
        EXPECT_EQ(box->minimum(), r.min) << r.name;
        EXPECT_EQ(box->maximum(), r.max) << r.name;
    }

    // Digits are typed without the Japanese input method; names and addresses with it.
    for (const char* name : {"Ekouza1", "Ekouza2", "Ekouza3", "Ezip", "Etele1", "Etele2", "Etele3"})
        EXPECT_FALSE(widget(*form, name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;
    for (const char* name : {"Ekanyu", "MemoTsuushin", "Maddres", "MaddresR"}) {
        auto* editor = widget<QPlainTextEdit>(*form, name);
        EXPECT_TRUE(editor->testAttribute(Qt::WA_InputMethodEnabled)) << name;
        EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::NoWrap) << name;
    }
}

TEST_F(TForm1EditingTest, LongerTextFromAFileIsShownWholeAndTypingStopsAtTheLimit)
{
    // With a byte-order mark: a settings file without one is CP932.
    writeFile(QStringLiteral("nobrisa.ini"),
              "\xEF\xBB\xBF[System]\nVersion=4.3\n[TabSheet4]\nEzip=〒123-45678\n");
    auto form = makeForm();
    auto* zip = widget<QLineEdit>(*form, "Ezip");
    EXPECT_EQ(zip->text(), QStringLiteral("〒123-45678"));
    EXPECT_EQ(form->slip().Ezip, QStringLiteral("〒123-45678"));

    zip->end(false);
    QTest::keyClick(zip, Qt::Key_Backspace);
    QTest::keyClick(zip, Qt::Key_Backspace);
    QTest::keyClicks(zip, QStringLiteral("99"));
    EXPECT_EQ(zip->text(), QStringLiteral("〒123-456")) << "typing cannot pass 8 characters";
    EXPECT_EQ(form->slip().Ezip, zip->text());
}

TEST_F(TForm1EditingTest, HintsGoToTheFirstStatusPanelOnly)
{
    auto form = makeForm();
    auto* hintPanel = widget<QLabel>(*form, "HintPanel");
    auto* account = widget(*form, "Ekouza1");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(account, &enter);
    EXPECT_EQ(hintPanel->text(), QStringLiteral("半角数字で入力して下さい。"));
    EXPECT_TRUE(form->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(account->toolTip().isEmpty()) << "fields hint in the status bar only";

    QAction* print = action(*form, "ToolPrint");
    EXPECT_EQ(print->toolTip(), QStringLiteral("印刷"));
    EXPECT_EQ(print->statusTip(), QStringLiteral("印刷します。"));
    // Every toolbar button shows a picture, from the theme or the program's own.
    for (QToolBar* bar : form->findChildren<QToolBar*>()) {
        for (QAction* item : bar->actions()) {
            if (!item->isSeparator()) {
                EXPECT_FALSE(item->icon().pixmap(16, 16).isNull())
                    << item->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(widget(*form, "Label12")->toolTip(),
              QStringLiteral("クリックすると初期値になります。"));
}

TEST_F(TForm1EditingTest, MenusHaveNoShortcutsAndLaterFeaturesAreDisabled)
{
    auto form = makeForm();
    const QList<QAction*> items = form->menuBar()->findChildren<QAction*>();
    ASSERT_GT(items.size(), 25);
    for (const QAction* a : items)
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    for (const char* name : {"Mtextkanyu", "Mtextharai", "Msavetxt", "Mharaikominin", "Mkanyusha"})
        EXPECT_TRUE(action(*form, name)->isEnabled()) << name;
    EXPECT_EQ(action(*form, "Mprintername")->text(), QStringLiteral("Office"));
}

TEST_F(TForm1EditingTest, OcrbLinkPrefersOcrbThenTheGothicThenNothing)
{
    const QStringList withOcrb{"Arial", "ＭＳ ゴシック", "OCRB", "Zapf"};
    const QStringList gothicOnly{"Arial", "ＭＳ ゴシック", "Zapf"};
    const QStringList neither{"Arial", "Zapf"};
    const std::pair<QStringList, QString> cases[] = {
        {withOcrb, "OCRB"}, {gothicOnly, "ＭＳ ゴシック"}, {neither, ""}};
    for (const auto& [faces, expected] : cases) {
        context.faces = faces;
        auto form = makeForm();
        for (const char* pair : {"Label18:CBfont1", "Label28:CBfont2"}) {
            const QStringList names = QString::fromLatin1(pair).split(':');
            auto* list = widget<QComboBox>(*form, names[1].toLatin1().constData());
            list->setCurrentIndex(list->findText("Arial"));
            QTest::mouseClick(widget(*form, names[0].toLatin1().constData()), Qt::LeftButton);
            EXPECT_EQ(list->currentIndex() < 0 ? QString() : list->currentText(), expected)
                << names[1].toStdString();
        }
        EXPECT_EQ(form->slip().CBfont1, expected) << "the record follows the list";
    }
}

// Catches: a font list popup running the height of the screen (the style's menu-like popup
// ignores the limit of visible items) on a machine with many fonts.
TEST_F(TForm1EditingTest, FontListPopupsShowAtMostTwentyFaces)
{
    context.faces = QStringList();
    for (int i = 0; i < 150; ++i)
        context.faces->append(QStringLiteral("Face %1").arg(i));
    auto form = makeActiveForm();
    auto* list = widget<QComboBox>(*form, "CBfont1");
    list->showPopup();
    const QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_LE(view->viewport()->height(), 20 * view->sizeHintForRow(0));
    EXPECT_TRUE(view->verticalScrollBar()->isVisible());
    EXPECT_EQ(list->maxVisibleItems(), 20);
    list->hidePopup();
}

TEST_F(TForm1EditingTest, MessageEditorFollowsTheFaceButNotTheSize)
{
    auto form = makeForm();
    auto* editor = widget<QPlainTextEdit>(*form, "MemoTsuushin");
    auto* list = widget<QComboBox>(*form, "CBfont3");
    const qreal size = editor->font().pointSizeF();
    list->setCurrentIndex(list->findText("DejaVu Sans"));
    EXPECT_EQ(editor->font().family(), QStringLiteral("DejaVu Sans"));

    editor->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), static_cast<int>(size)));
    widget<NumberBox>(*form, "SEfont3")->setText("24");
    EXPECT_EQ(editor->font().family(), QStringLiteral("DejaVu Sans"))
        << "the size reapplies the face";
    EXPECT_EQ(editor->font().pointSizeF(), size);
    EXPECT_EQ(widget(*form, "Maddres")->font().family(), QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(TForm1EditingTest, SameAsLeftCopiesTheWholeAddressAndClearEmptiesIt)
{
    auto form = makeForm();
    auto* left = widget<QPlainTextEdit>(*form, "Maddres");
    auto* right = widget<QPlainTextEdit>(*form, "MaddresR");
    auto* rightSwitch = widget<QCheckBox>(*form, "CheckBox4R");
    const bool switchBefore = rightSwitch->isChecked();

    right->setPlainText("古い\n三行\nの名前");
    left->setPlainText("東京都千代田区\n山田　太郎");
    widget<QPushButton>(*form, "Button4")->click();
    EXPECT_EQ(right->toPlainText(), QStringLiteral("東京都千代田区\n山田　太郎"));
    EXPECT_EQ(form->slip().MaddresR, QStringLiteral("東京都千代田区\r\n山田　太郎"));
    EXPECT_EQ(widget<QLabel>(*form, "MaddresRLines")->text(), QStringLiteral("2 行"));
    EXPECT_EQ(rightSwitch->isChecked(), switchBefore);

    left->clear();
    right->setPlainText("残り");
    widget<QPushButton>(*form, "Button4")->click();
    EXPECT_TRUE(right->toPlainText().isEmpty()) << "an empty left empties the right";

    right->setPlainText("残り");
    widget<QPushButton>(*form, "Button5")->click();
    EXPECT_TRUE(form->slip().MaddresR.isEmpty());
}

TEST_F(TForm1EditingTest, EditCommandsActOnTheFocusedField)
{
    auto form = makeActiveForm();
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
    auto* zip = widget<QLineEdit>(*form, "Ezip");
    auto* tele = widget<QLineEdit>(*form, "Etele1");
    zip->setFocus();
    QTest::keyClicks(zip, "123-4567");
    zip->setSelection(0, 3);

    action(*form, "Copy1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("123"));
    EXPECT_EQ(zip->text(), QStringLiteral("123-4567"));

    action(*form, "Cut1")->trigger();
    EXPECT_EQ(zip->text(), QStringLiteral("-4567"));
    EXPECT_EQ(form->slip().Ezip, QStringLiteral("-4567"));
    action(*form, "Undo1")->trigger();
    EXPECT_EQ(zip->text(), QStringLiteral("123-4567"));

    tele->setFocus();
    action(*form, "Paste1")->trigger();
    EXPECT_EQ(tele->text(), QStringLiteral("123"));
    EXPECT_EQ(form->slip().Etele1, QStringLiteral("123"));

    // The context menu of a field offers the same commands, acting on that field.
    zip->setSelection(4, 4);
    QStringList items;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &items] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* a : menu->actions())
                items << a->text();
            menu->actions().at(1)->trigger();
            menu->close();
            timer->deleteLater();
        }
    });
    timer->start();
    emit zip->customContextMenuRequested({5, 5});
    EXPECT_EQ(items, QStringList({"切り取り(&T)", "コピー(&C)", "貼り付け(&P)"}));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("4567"));
}

TEST_F(TForm1EditingTest, AdjustmentLabelsResetAndCentreButtonsUseThePrinter)
{
    auto form = makeForm();
    auto* leftRight = widget<NumberBox>(*form, "SEleftright");
    auto* topBottom = widget<NumberBox>(*form, "SEtopbottom");
    leftRight->setText("120");
    topBottom->setText("-40");
    QTest::mouseClick(widget(*form, "Label12"), Qt::LeftButton);
    EXPECT_EQ(leftRight->value(), QStringLiteral("0"));
    EXPECT_EQ(topBottom->value(), QStringLiteral("-40"));
    QTest::mouseClick(widget(*form, "Label13"), Qt::LeftButton);
    EXPECT_EQ(topBottom->value(), QStringLiteral("0"));
    EXPECT_EQ(form->slip().oy(), 0);

    widget<QPushButton>(*form, "ButtonCentreLR")->click();
    const int expected = centredLeftRight(0, printer);
    EXPECT_EQ(leftRight->value(), QString::number(expected));
    EXPECT_EQ(form->slip().ox(), expected);
    widget<QPushButton>(*form, "ButtonCentreTB")->click();
    EXPECT_EQ(form->slip().oy(), centredTopBottom(0, printer));
}

TEST_F(TForm1EditingTest, F1OpensTheHelpPageAtTheFocusedPage)
{
    writeFile(QStringLiteral("nobrisa.html"), "<html></html>");
    auto form = makeActiveForm();
    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    const std::pair<int, const char*> cases[] = {
        {0, "Ekouza1"},   {1, "SEkingaku"},   {2, "MemoTsuushin"}, {3, "Ezip"},    {4, "RichEdit1"},
        {5, "ComboBox3"}, {5, "StringGrid1"}, {6, "SEleftright"},  {7, "MaddresR"}};
    const QStringList expected{"14001", "15001", "16001", "17001", "1001",
                               "22001", "22001", "19001", "1001"};
    for (const auto& [index, name] : cases) {
        pages->setCurrentIndex(index);
        widget(*form, name)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    ASSERT_EQ(prompts.opened.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(prompts.opened[i].toLocalFile(), context.helpPath);
        EXPECT_EQ(prompts.opened[i].fragment(), expected[i]);
    }
}

TEST_F(TForm1EditingTest, VersionDialogShowsTheVersionAndIsFreedWhenClosed)
{
    auto form = makeForm();
    QStringList labels;
    closeNextDialog([&](QWidget* dialog) {
        EXPECT_NE(qobject_cast<TAboutBox*>(dialog), nullptr);
        for (const QLabel* l : dialog->findChildren<QLabel*>())
            labels << l->text();
    });
    action(*form, "About1")->trigger();
    EXPECT_TRUE(labels.contains(QStringLiteral("Ver. 4.3"))) << labels.join('|').toStdString();
    EXPECT_TRUE(form->findChildren<TAboutBox*>().isEmpty());
}

TEST_F(TForm1EditingTest, ButtonAndMenuOpenTheOnePrintPositionDialog)
{
    auto form = makeForm();
    int opened = 0;
    for (const char* route : {"button", "menu"}) {
        closeNextDialog([&](QWidget* dialog) {
            EXPECT_EQ(dialog, &form->printPositionDialog()) << route;
            ++opened;
        });
        if (route == std::string("button"))
            widget<QPushButton>(*form, "Button1")->click();
        else
            action(*form, "Mprintshousai")->trigger();
    }
    EXPECT_EQ(opened, 2);
}

TEST_F(TForm1EditingTest, UsageTextOpensOnlyWhenItIsInTheWorkingFolder)
{
    auto form = makeForm();
    action(*form, "HowtoUseHelp1")->trigger();
    EXPECT_TRUE(prompts.opened.empty()) << "a missing file shows nothing";

    writeFile(QStringLiteral("ZENTORA.TXT"), "使い方");
    action(*form, "HowtoUseHelp1")->trigger();
    ASSERT_EQ(prompts.opened.size(), 1u);
    EXPECT_EQ(prompts.opened[0].toLocalFile(), dir.filePath(QStringLiteral("ZENTORA.TXT")));

    writeFile(QStringLiteral("nobrisa.html"), "<html></html>");
    action(*form, "Msorabe")->trigger();
    ASSERT_EQ(prompts.opened.size(), 2u);
    EXPECT_EQ(prompts.opened[1].toLocalFile(), context.helpPath);
    EXPECT_TRUE(prompts.errors.isEmpty());
}

// Catches: help that cannot be shown (no help file, or nothing on the desktop to open it with)
// failing silently, so that the menu seems broken.
TEST_F(TForm1EditingTest, HelpThatCannotBeOpenedSaysWhichFile)
{
    struct Case {
        const char* route; // an action's name, or "F1"
        const char* file;
        bool present;
        bool opens; // the desktop has a program for it
        bool told;  // the user is told, naming the file
    };
    const Case cases[] = {
        {"F1", "nobrisa.html", true, false, true},
        {"Msorabe", "nobrisa.html", true, false, true},
        {"HowtoUseHelp1", "ZENTORA.TXT", true, false, true},
        {"F1", "nobrisa.html", false, true, true},
        {"Msorabe", "nobrisa.html", false, true, true},
        {"HowtoUseHelp1", "ZENTORA.TXT", false, true, false}, // an optional extra
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.route) + (c.present ? " present" : " missing"));
        QFile::remove(dir.filePath(QLatin1String(c.file)));
        if (c.present)
            writeFile(QLatin1String(c.file), "help");
        prompts.errors.clear();
        prompts.openUrlSucceeds = c.opens;
        auto form = makeActiveForm();
        if (std::string(c.route) == "F1")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        else
            action(*form, c.route)->trigger();
        ASSERT_EQ(prompts.errors.size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_TRUE(prompts.errors[0].contains(
                QDir::toNativeSeparators(dir.filePath(QLatin1String(c.file)))));
        }
    }
}

} // namespace
} // namespace nobrisa::test
