// Start-up, exit and the document commands of the main window: new, open, save, the naming
// option and the window caption.

#include "tform1fixture.h"

#include "settings/settings.h"
#include "ui/numberbox.h"
#include "ui/tform2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace nobrisa::test {
namespace {

using TForm1DocumentsTest = TForm1Test;

QString face(const TForm1& form, const char* list)
{
    const auto* box = form.findChild<QComboBox*>(QLatin1String(list));
    return box->currentIndex() < 0 ? QString() : box->currentText();
}

QString numberText(const TForm1& form, const char* box)
{
    return form.findChild<NumberBox*>(QLatin1String(box))->value();
}

TEST_F(TForm1DocumentsTest, FirstStartShowsTheFileDefaultsNotThePreselection)
{
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa"));
    EXPECT_EQ(face(*form, "CBfont1"), QStringLiteral("ＭＳ ゴシック"))
        << "the load's default replaces the OCRB preselection";
    EXPECT_EQ(face(*form, "CBfont3"), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(numberText(*form, "SEfont5"), QStringLiteral("10"));
    EXPECT_EQ(numberText(*form, "SEfont4"), QStringLiteral("11"));
    EXPECT_EQ(numberText(*form, "SEkingaku"), QStringLiteral("1000"));
    EXPECT_TRUE(form->findChild<QCheckBox*>(QStringLiteral("CheckBoxfont4"))->isChecked());
    EXPECT_FALSE(form->findChild<QCheckBox*>(QStringLiteral("CheckBox4R"))->isChecked());
    EXPECT_TRUE(action(*form, "Msaveopt1")->isChecked());
    EXPECT_EQ(form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex(), 0);
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(TForm1DocumentsTest, FacesThisMachineLacksAreLeftWithoutSelection)
{
    context.faces = QStringList{"DejaVu Sans", "ＭＳ ゴシック"};
    writeFile(QStringLiteral("nobrisa.ini"), "[System]\nVersion=4.3\n"
                                             "[TabSheet1]\nCBfont1=OCRB\nCBfont5=dejavu sans\n"
                                             "[TabSheet3]\nCBfont3=ＭＳ 明朝\n");
    auto form = makeForm();
    EXPECT_EQ(face(*form, "CBfont1"), QString());
    EXPECT_EQ(form->slip().CBfont1, QString()) << "the next save writes an empty name";
    EXPECT_EQ(face(*form, "CBfont3"), QString());
    EXPECT_EQ(form->slip().CBfont5, QStringLiteral("DejaVu Sans")) << "names match in any case";
}

TEST_F(TForm1DocumentsTest, NewEmptiesTheSlipAndKeepsFacesSizesAdjustmentAndPositions)
{
    writeFile(QStringLiteral("nobrisa.ini"),
              QStringLiteral("[System]\nVersion=4.3\n"
                             "[TabSheet1]\nCheckBox1=1\nEkouza1=00120\n"
                             "Ekanyucount=1\nLine00=#会#\nCBfont1=OCRB\n"
                             "SEfont5=18\n[TabSheet2]\nCheckBox2=1\n"
                             "SEkingaku=35000\n[TabSheet4]\nMaddres=1\n"
                             "Line00=#東京#\nEtele1=03\n"
                             "[TabSheet7]\nCheckBox4R=1\n"
                             "[TabSheet99]\nSEleftright=30\nSEziptop=705\n")
                  .toUtf8());
    auto form = makeForm();
    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(4);
    const TSlipRecord before = form->slip();

    action(*form, "New1")->trigger();
    const TSlipRecord& s = form->slip();
    EXPECT_FALSE(s.CheckBox1 || s.CheckBox2 || s.CheckBox3 || s.CheckBox4 || s.CheckBox4R);
    EXPECT_TRUE(s.Ekouza1.isEmpty() && s.Ekanyu.isEmpty() && s.Maddres.isEmpty() &&
                s.Etele1.isEmpty());
    EXPECT_EQ(s.SEkingaku.text(), QStringLiteral("1000"));
    EXPECT_EQ(numberText(*form, "SEkingaku"), QStringLiteral("1000"));
    EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("Ekouza1"))->text().isEmpty());
    EXPECT_TRUE(
        form->findChild<QPlainTextEdit*>(QStringLiteral("Maddres"))->toPlainText().isEmpty());

    EXPECT_EQ(s.CBfont1, before.CBfont1);
    EXPECT_EQ(s.SEfont5, before.SEfont5);
    EXPECT_EQ(s.CheckBoxfont4, before.CheckBoxfont4);
    EXPECT_EQ(s.SEleftright.text(), QStringLiteral("30"));
    EXPECT_EQ(form->printPositionDialog().positions().SEziptop.text(), QStringLiteral("705"));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa"));
}

TEST_F(TForm1DocumentsTest, EitherNamingItemSwapsTheChoice)
{
    auto form = makeForm();
    QAction* bySubscriber = action(*form, "Msaveopt1");
    QAction* byAccount = action(*form, "Msaveopt2");
    bySubscriber->trigger(); // the item already checked
    EXPECT_FALSE(bySubscriber->isChecked());
    EXPECT_TRUE(byAccount->isChecked());
    byAccount->trigger();
    EXPECT_TRUE(bySubscriber->isChecked());
    EXPECT_FALSE(byAccount->isChecked());
    byAccount->trigger(); // the item not checked
    EXPECT_TRUE(byAccount->isChecked());
    EXPECT_FALSE(bySubscriber->isChecked());
}

TEST_F(TForm1DocumentsTest, SaveProposesTheNameOfTheChosenSource)
{
    struct Case {
        bool bySubscriber;
        QString subscriber;
        QString kouza1, kouza2, kouza3;
        QString proposal;
    };
    const Case cases[] = {
        {true, "日本語教育振興会\n東京支部", "00120", "6", "12345", "日本語教育振興会.dat"},
        {true, "\n二行目だけ", "", "", "", ""},
        {true, "../\x1b[1m会\a/", "", "", "", "[1m会.dat"},
        {true, "", "00120", "6", "12345", ""},
        {false, "会", "00120", "6", "1234567", "00120-6-1234567.dat"},
        {false, "会", "12345", "", "", "12345--.dat"},
        {false, "会", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proposal.toStdString());
        auto form = makeForm();
        if (!c.bySubscriber)
            action(*form, "Msaveopt1")->trigger();
        widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(c.subscriber);
        widget<QLineEdit>(*form, "Ekouza1")->setText(c.kouza1);
        widget<QLineEdit>(*form, "Ekouza2")->setText(c.kouza2);
        widget<QLineEdit>(*form, "Ekouza3")->setText(c.kouza3);
        action(*form, "SaveAs1")->trigger(); // cancelled: nothing written
        ASSERT_FALSE(prompts.saveAsked.empty());
        const Prompts::FileDialog& asked = prompts.saveAsked.back();
        EXPECT_EQ(asked.fileName, c.proposal);
        EXPECT_EQ(asked.title, QStringLiteral("設定ファイルの保存"));
        EXPECT_EQ(asked.filter, QStringLiteral("設定ファイル (*.dat);;すべて (*)"));
        EXPECT_EQ(asked.defaultSuffix, QStringLiteral("dat"));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa"));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("日本語教育振興会.dat")));
}

TEST_F(TForm1DocumentsTest, AfterASaveTheCaptionNamesTheFileAndBothDialogsProposeIt)
{
    auto form = makeForm();
    const QString saved = dir.filePath(QStringLiteral("Kaigi.dat"));
    prompts.saveAnswers.push_back(saved);
    action(*form, "SaveAs1")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa　－　Kaigi"));

    // With nothing to name it after, the save dialog keeps the last saved file.
    action(*form, "SaveAs1")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().fileName, saved);
    action(*form, "Open1")->trigger();
    ASSERT_EQ(prompts.openAsked.size(), 1u);
    EXPECT_EQ(prompts.openAsked[0].fileName, saved);
    EXPECT_EQ(prompts.openAsked[0].title, QStringLiteral("設定ファイルの読み込み"));

    action(*form, "New1")->trigger();
    action(*form, "SaveAs1")->trigger();
    EXPECT_EQ(prompts.saveAsked.back().fileName, QString()) << "a new slip forgets the file";
}

TEST_F(TForm1DocumentsTest, OpenTakesSlipAdjustmentWindowAndOrientationButNotPositions)
{
    // A setting file made elsewhere, with print positions of its own.
    SettingsState other;
    other.slip.Ekouza1 = QStringLiteral("00120");
    other.slip.Ekanyu = QStringLiteral("会費\r\n二行目");
    other.slip.SEleftright.setText(QStringLiteral("50"));
    other.slip.SEtopbottom.setText(QStringLiteral("-20"));
    other.slip.CBfont2 = QStringLiteral("OCRB");
    other.namingBySubscriber = false;
    other.geometry = {30, 40, 900, 650};
    other.orientation = Orientation::Landscape;
    TPrintPositions otherPositions;
    otherPositions.SEziptop.setText(QStringLiteral("999"));
    SettingsEnvironment env;
    env.appIniPath = context.appIniPath;
    const QString file = dir.filePath(QStringLiteral("sub/Kaigi.dat"));
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    QString error;
    ASSERT_TRUE(SaveSettings(file, other, otherPositions, env, &error)) << error.toStdString();

    auto form = makeForm();
    const TPrintPositions positionsBefore = form->printPositionDialog().positions();
    prompts.openAnswers.push_back(file);
    action(*form, "Open1")->trigger();

    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa　－　Kaigi"));
    EXPECT_EQ(widget<QLineEdit>(*form, "Ekouza1")->text(), QStringLiteral("00120"));
    EXPECT_EQ(widget<QPlainTextEdit>(*form, "Ekanyu")->toPlainText(),
              QStringLiteral("会費\n二行目"));
    EXPECT_EQ(numberText(*form, "SEleftright"), QStringLiteral("50"));
    EXPECT_EQ(form->slip().oy(), -20);
    EXPECT_EQ(face(*form, "CBfont2"), QStringLiteral("OCRB"));
    EXPECT_TRUE(action(*form, "Msaveopt2")->isChecked());
    EXPECT_EQ(form->pos(), QPoint(30, 40));
    EXPECT_EQ(form->size(), QSize(900, 650));
    EXPECT_EQ(printer.orientationNow, Orientation::Landscape);
    EXPECT_EQ(form->printPositionDialog().positions().SEziptop.text(),
              positionsBefore.SEziptop.text());

    // The load leaves both dialogs without a file name.
    action(*form, "Open1")->trigger();
    EXPECT_EQ(prompts.openAsked.back().fileName, QString());
}

TEST_F(TForm1DocumentsTest, CancelledOrFailedOpenChangesNothing)
{
    auto form = makeForm();
    widget<QLineEdit>(*form, "Ekouza1")->setText("11111");
    action(*form, "Open1")->trigger(); // cancelled
    EXPECT_EQ(form->slip().Ekouza1, QStringLiteral("11111"));

    // A folder where a file was expected cannot be read.
    prompts.openAnswers.push_back(dir.path());
    action(*form, "Open1")->trigger();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(dir.path())) ||
                prompts.errors[0].contains(dir.path()));
    EXPECT_EQ(form->slip().Ekouza1, QStringLiteral("11111"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nobrisa"));
}

TEST_F(TForm1DocumentsTest, ExitWritesTheIniAndTheNextStartShowsTheSame)
{
    TPrintPositions moved;
    {
        auto form = makeForm();
        form->show();
        widget<QCheckBox>(*form, "CheckBox3")->setChecked(true);
        widget<QLineEdit>(*form, "Ekouza3")->setText("12345");
        widget<QPlainTextEdit>(*form, "MemoTsuushin")->setPlainText("  前後に空白  \n二行目");
        auto* amountFont = widget<QComboBox>(*form, "CBfont2");
        amountFont->setCurrentIndex(amountFont->findText("OCRB"));
        widget<NumberBox>(*form, "SEtopbottom")->setText("-30");
        action(*form, "Msaveopt1")->trigger();
        form->move(50, 60);
        form->resize(820, 610);
        printer.orientationNow = Orientation::Landscape;
        moved = form->printPositionDialog().positions();
        moved.SEharaiLtop.setText(QStringLiteral("745"));
        form->printPositionDialog().setPositions(moved);
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(prompts.saveFailedMessages.isEmpty());
    }
    ASSERT_TRUE(QFile::exists(context.appIniPath));

    printer.orientationNow = Orientation::Portrait;
    auto again = makeForm();
    EXPECT_TRUE(widget<QCheckBox>(*again, "CheckBox3")->isChecked());
    EXPECT_EQ(widget<QLineEdit>(*again, "Ekouza3")->text(), QStringLiteral("12345"));
    EXPECT_EQ(widget<QPlainTextEdit>(*again, "MemoTsuushin")->toPlainText(),
              QStringLiteral("  前後に空白  \n二行目"));
    EXPECT_EQ(face(*again, "CBfont2"), QStringLiteral("OCRB"));
    EXPECT_EQ(numberText(*again, "SEtopbottom"), QStringLiteral("-30"));
    EXPECT_TRUE(action(*again, "Msaveopt2")->isChecked());
    EXPECT_EQ(again->pos(), QPoint(50, 60));
    EXPECT_EQ(again->size(), QSize(820, 610));
    EXPECT_EQ(printer.orientationNow, Orientation::Landscape);
    EXPECT_EQ(again->printPositionDialog().positions().SEharaiLtop.text(), QStringLiteral("745"));
    EXPECT_EQ(again->windowTitle(), QStringLiteral("Nobrisa"));
}

// Catches: a window maximised at exit coming back unmaximised, or with its normal place moved by
// the frame (the client area's corner stored where the frame's belongs) or its normal size lost.
TEST_F(TForm1DocumentsTest, TheWindowComesBackMaximisedOrNotWithItsNormalPlaceAndSize)
{
    const QPoint place(50, 60);
    const QSize size(820, 610);
    // The platform reports the new geometry of a window that changed state in events.
    const auto setMaximised = [](TForm1& form, bool maximised) {
        form.setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
        QCoreApplication::processEvents();
    };
    // Pairs of starts, each pair beginning as the last one ended: maximised from a normal
    // window; maximised again without ever being normal in that run; back to normal; maximised.
    for (const bool maximisedAtExit : {true, true, false, true}) {
        SCOPED_TRACE(maximisedAtExit ? "maximised at exit" : "normal at exit");
        auto form = makeForm();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        if (!form->isMaximized()) {
            form->move(place);
            form->resize(size);
        }
        setMaximised(*form, maximisedAtExit);
        EXPECT_TRUE(form->close());

        auto again = makeForm();
        again->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(again.get()));
        EXPECT_EQ(again->isMaximized(), maximisedAtExit);
        setMaximised(*again, false);
        EXPECT_EQ(again->pos(), place);
        EXPECT_EQ(again->size(), size);
        setMaximised(*again, maximisedAtExit);
        EXPECT_TRUE(again->close());
    }
}

TEST_F(TForm1DocumentsTest, FailedWriteAtExitAsksAndFollowsTheAnswer)
{
    // The INI's folder is a regular file: nothing can be written there.
    writeFile(QStringLiteral("file"), "not a folder");
    context.appIniPath = dir.filePath(QStringLiteral("file/x.ini"));
    auto form = makeForm();
    form->show();

    prompts.saveFailedAnswers = {Prompts::SaveFailedChoice::Retry,
                                 Prompts::SaveFailedChoice::StayOpen};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(prompts.saveFailedMessages.size(), 2) << "asked again after the retry";
    EXPECT_TRUE(prompts.saveFailedMessages[0].contains(QStringLiteral("x.ini")));

    prompts.saveFailedAnswers = {Prompts::SaveFailedChoice::CloseWithoutSaving};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompts.saveFailedMessages.size(), 3);
}

} // namespace
} // namespace nobrisa::test
