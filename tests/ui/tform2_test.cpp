// The print-position dialog: loading, the standard values, the reset labels, closing and Enter.

#include "model/tprintpositions.h"
#include "ui/numberbox.h"
#include "ui/tform2.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace nobrisa::test {
namespace {

// The amount boxes: shown, but neither loaded, stored nor reset.
const char* const kAmountBoxes[] = {"SEkingakLeft",   "SEkingakRight",   "SEkingakTop",
                                    "SEkingakBottom", "SEkingakuLeftR",  "SEkingakuRightR",
                                    "SEkingakuTopR",  "SEkingakuBottomR"};

class TForm2Test : public ::testing::Test {
protected:
    TForm2Test()
        : iniPath(dir.filePath(QStringLiteral("nobrisa.ini")))
    {
    }

    std::unique_ptr<TForm2> makeDialog() { return std::make_unique<TForm2>(iniPath); }

    // Writes the application INI file as a user's editor would (UTF-8, no byte-order mark).
    void writeIni(const QByteArray& text)
    {
        QFile file(iniPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static NumberBox* box(const TForm2& dialog, const char* name)
    {
        auto* b = dialog.findChild<NumberBox*>(QLatin1String(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    static void showActive(TForm2& dialog)
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    QTemporaryDir dir;
    QString iniPath;
};

TEST_F(TForm2Test, FirstStartShowsTheStandardValuesAndZeroAmounts)
{
    const auto dialog = makeDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("印刷位置設定"));
    for (const TPrintPositions::Entry& e : TPrintPositions::entries()) {
        EXPECT_EQ(box(*dialog, e.name)->value(), QString::number(e.standard)) << e.name;
        EXPECT_EQ((dialog->positions().*e.field).text(), QString::number(e.standard)) << e.name;
    }
    // The design values of the postal code and telephone boxes never show.
    EXPECT_EQ(box(*dialog, "SEzipleft")->value(), QStringLiteral("190"));
    EXPECT_EQ(box(*dialog, "SEteleleft")->value(), QStringLiteral("400"));
    for (const char* name : kAmountBoxes)
        EXPECT_EQ(box(*dialog, name)->value(), QStringLiteral("0")) << name;
}

TEST_F(TForm2Test, LoadsThePositionsOfTheApplicationIniFileKeepingTextsAsTheyAre)
{
    writeIni("[TabSheet99]\nSEkanyuLLeft=123\nSEzipleft=250\nSEteletop=abc\n"
             "SEkingakLeft=77\n[Other]\nSEkouza1=5\n");
    const auto dialog = makeDialog();
    EXPECT_EQ(box(*dialog, "SEkanyuLleft")->value(), QStringLiteral("123"))
        << "stored under the key with the capital side word";
    EXPECT_EQ(box(*dialog, "SEzipleft")->value(), QStringLiteral("250"));
    EXPECT_EQ(box(*dialog, "SEteletop")->value(), QStringLiteral("abc"));
    EXPECT_EQ(box(*dialog, "SEkouza1")->value(), QStringLiteral("170")) << "missing key";
    EXPECT_EQ(box(*dialog, "SEkingakLeft")->value(), QStringLiteral("0")) << "never loaded";
    EXPECT_EQ(dialog->positions().SEkanyuLleft.text(), QStringLiteral("123"));
    EXPECT_EQ(dialog->positions().SEteletop.text(), QStringLiteral("abc"));
}

TEST_F(TForm2Test, BoxesAndPositionsStayInStep)
{
    const auto dialog = makeDialog();
    box(*dialog, "SEharaiRtop")->setText(QStringLiteral("575"));
    EXPECT_EQ(dialog->positions().SEharaiRtop.text(), QStringLiteral("575"));

    TPrintPositions moved = dialog->positions();
    moved.SEtsushinBottom.setText(QStringLiteral("690"));
    moved.SEkingakuTopR.setText(QStringLiteral("15"));
    dialog->setPositions(moved);
    EXPECT_EQ(box(*dialog, "SEtsushinBottom")->value(), QStringLiteral("690"));
    EXPECT_EQ(box(*dialog, "SEkingakuTopR")->value(), QStringLiteral("15"));
    EXPECT_EQ(box(*dialog, "SEharaiRtop")->value(), QStringLiteral("575"));
}

TEST_F(TForm2Test, StandardButtonRestoresTheTwentySixAndLeavesTheAmounts)
{
    const auto dialog = makeDialog();
    for (const TPrintPositions::Entry& e : TPrintPositions::entries())
        box(*dialog, e.name)->setText(QStringLiteral("5"));
    for (const char* name : kAmountBoxes)
        box(*dialog, name)->setText(QStringLiteral("33"));

    dialog->findChild<QAction*>(QStringLiteral("BitBtn3"))->trigger();
    for (const TPrintPositions::Entry& e : TPrintPositions::entries()) {
        EXPECT_EQ(box(*dialog, e.name)->value(), QString::number(e.standard)) << e.name;
        EXPECT_EQ((dialog->positions().*e.field).text(), QString::number(e.standard)) << e.name;
    }
    for (const char* name : kAmountBoxes)
        EXPECT_EQ(box(*dialog, name)->value(), QStringLiteral("33")) << name;
}

TEST_F(TForm2Test, ClickingALabelResetsItsBoxOnly)
{
    const auto dialog = makeDialog();
    showActive(*dialog);
    box(*dialog, "SEzipleft")->setText(QStringLiteral("555"));
    box(*dialog, "SEziptop")->setText(QStringLiteral("666"));
    box(*dialog, "SEkingakuTopR")->setText(QStringLiteral("44"));
    dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);

    auto* label = dialog->findChild<QLabel*>(QStringLiteral("LabelSEzipleft"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("左から"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("クリックすると初期値になります。"));
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(box(*dialog, "SEzipleft")->value(), QStringLiteral("190"));
    EXPECT_EQ(dialog->positions().SEzipleft.text(), QStringLiteral("190"));
    EXPECT_EQ(box(*dialog, "SEziptop")->value(), QStringLiteral("666"));

    dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    QTest::mouseClick(dialog->findChild<QLabel*>(QStringLiteral("LabelSEkingakuTopR")),
                      Qt::LeftButton);
    EXPECT_EQ(box(*dialog, "SEkingakuTopR")->value(), QStringLiteral("0"));
}

// Catches: キャンセル, Esc or the window's close button keeping what was typed (or reset) since
// the dialog opened; OK losing it.
TEST_F(TForm2Test, OkKeepsWhatWasTypedAndEveryOtherExitTakesItBack)
{
    const auto trigger = [](TForm2& d, const char* name) {
        d.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    const std::function<void(TForm2&)> exits[] = {
        [&](TForm2& d) { trigger(d, "BitBtn1"); },
        [&](TForm2& d) { trigger(d, "BitBtn2"); },
        [](TForm2&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [](TForm2& d) { d.close(); },
    };
    writeIni("[TabSheet99]\nSEkouza2=300\nSEzipleft=250\n");
    for (const bool reset : {false, true}) {
        for (int exit = 0; exit < 4; ++exit) {
            SCOPED_TRACE(testing::Message() << "exit " << exit << (reset ? " after reset" : ""));
            const auto dialog = makeDialog();
            showActive(*dialog);
            auto* kouza = box(*dialog, "SEkouza2");
            kouza->setFocus();
            kouza->setText(QString());
            QTest::keyClicks(kouza, QStringLiteral("410"));
            box(*dialog, "SEkingakuTopR")->setText(QStringLiteral("25"));
            if (reset)
                trigger(*dialog, "BitBtn3");
            exits[exit](*dialog);
            EXPECT_FALSE(dialog->isVisible());
            const bool kept = exit == 0;
            const char* kouza2 = kept ? (reset ? "280" : "410") : "300";
            EXPECT_EQ(kouza->value(), QLatin1String(kouza2));
            EXPECT_EQ(dialog->positions().SEkouza2.text(), QLatin1String(kouza2));
            EXPECT_EQ(dialog->positions().SEzipleft.text(),
                      QLatin1String(kept && reset ? "190" : "250"));
            EXPECT_EQ(box(*dialog, "SEkingakuTopR")->value(), QLatin1String(kept ? "25" : "0"));
        }
    }
}

TEST_F(TForm2Test, EveryOpeningShowsTheSubscriberPage)
{
    const auto dialog = makeDialog();
    auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("　加入者　"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("　金額・通信欄　"));
    EXPECT_EQ(pages->tabText(2), QStringLiteral("ご依頼人"));
    for (int shownLast : {2, 1}) {
        dialog->show();
        pages->setCurrentIndex(shownLast);
        dialog->close();
        dialog->show();
        EXPECT_EQ(pages->currentIndex(), 0) << "after closing on page " << shownLast;
        dialog->close();
    }
}

TEST_F(TForm2Test, EnterMovesToTheNextBoxAndLeavingClampsIntoTheTable)
{
    const auto dialog = makeDialog();
    showActive(*dialog);
    auto* first = box(*dialog, "SEkouza1");
    EXPECT_EQ(QApplication::focusWidget(), first) << "the opening focuses the first box";

    first->setText(QString());
    QTest::keyClicks(first, QStringLiteral("12000"));
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(*dialog, "SEkouza2"));
    EXPECT_EQ(first->value(), QStringLiteral("10000"));
    EXPECT_EQ(dialog->positions().SEkouza1.text(), QStringLiteral("10000"));

    // Through a four-box group: left, right, then top and bottom.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), box(*dialog, "SEkanyuLleft"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(*dialog, "SEkanyuLright"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box(*dialog, "SEkanyuLtop"));
    EXPECT_TRUE(dialog->isVisible()) << "Enter must not close the dialog";
}

TEST_F(TForm2Test, StatusBarCarriesTheNoteAndTheLabelHints)
{
    const auto dialog = makeDialog();
    auto* status = dialog->findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(status, nullptr);
    QStringList texts;
    for (const QLabel* l : status->findChildren<QLabel*>())
        texts << l->text();
    EXPECT_TRUE(
        texts.contains(QStringLiteral("私製払込書の印刷の設定です。通常は使用しないでください。")))
        << texts.join(u'|').toStdString();

    auto* label = dialog->findChild<QLabel*>(QStringLiteral("LabelSEkanyuRbottom"));
    QStatusTipEvent enter(label->statusTip());
    QApplication::sendEvent(label, &enter);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("クリックすると初期値になります。"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(label, &leave);
    EXPECT_TRUE(status->currentMessage().isEmpty());
}

} // namespace
} // namespace nobrisa::test
