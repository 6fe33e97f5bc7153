// The number box: what typing, the arrow keys and leaving the box do to its text.

#include "ui/numberbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace nobrisa::test {
namespace {

// A window that records the keys its children let through.
class KeyWindow final : public QWidget {
public:
    QList<int> keysSeen;

protected:
    void keyPressEvent(QKeyEvent* event) override { keysSeen << event->key(); }
};

// Two position boxes (0 to 10000, step 10, five characters) in an active window, so that the
// focus can leave the first one.
class NumberBoxTest : public ::testing::Test {
protected:
    NumberBoxTest()
    {
        auto* layout = new QVBoxLayout(&window);
        box = new NumberBox(0, 10000, 10, 5, &window);
        other = new NumberBox(0, 10000, 10, 5, &window);
        layout->addWidget(box);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
    }

    void leave() { other->setFocus(); }

    KeyWindow window;
    NumberBox* box = nullptr;
    NumberBox* other = nullptr;
};

TEST_F(NumberBoxTest, TypingRefusesLettersAndBlanksButTakesSignsAndTheDecimalPoint)
{
    box->setText(QStringLiteral("12"));
    QTest::keyClicks(box, QStringLiteral("a Z"));
    EXPECT_EQ(box->value(), QStringLiteral("12"));
    QTest::keyClicks(box, QStringLiteral("3"));
    EXPECT_EQ(box->value(), QStringLiteral("123"));

    box->setText(QString());
    QTest::keyClicks(box, QStringLiteral("-+."));
    EXPECT_EQ(box->value(), QStringLiteral("-+."))
        << "signs and the separator stay as typed, even where they make no number";
}

TEST_F(NumberBoxTest, TypingStopsAtTheLengthLimitButLongerTextsAreShownWhole)
{
    box->setText(QString());
    QTest::keyClicks(box, QStringLiteral("1234567"));
    EXPECT_EQ(box->value(), QStringLiteral("12345"));

    // A settings file may hold more than the user may type; it is shown, not cut.
    box->setText(QStringLiteral("1234567"));
    EXPECT_EQ(box->value(), QStringLiteral("1234567"));

    NumberBox adjustment(-10000, 10000, 10, 5);
    adjustment.setNumber(-20000);
    EXPECT_EQ(adjustment.value(), QStringLiteral("-10000"));
}

TEST_F(NumberBoxTest, LeavingClampsWholeNumbersOutsideTheRangeAndKeepsOtherTexts)
{
    struct Case {
        const char* typed;
        const char* left;
    };
    const Case cases[] = {{"12000", "10000"}, {"-5", "0"},    {"-", "-"},
                          {"1.5", "1.5"},     {"250", "250"}, {"+0", "+0"}};
    for (const Case& c : cases) {
        box->setFocus();
        box->setText(QString());
        QTest::keyClicks(box, QLatin1String(c.typed));
        ASSERT_EQ(box->value(), QLatin1String(c.typed));
        leave();
        EXPECT_EQ(box->value(), QLatin1String(c.left)) << c.typed;
    }
}

TEST_F(NumberBoxTest, ArrowKeysStepFromTheTextsNumberWithinTheRange)
{
    box->setText(QStringLiteral("abc"));
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->value(), QStringLiteral("10")) << "a text that is no number counts as 0";

    box->setText(QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->value(), QStringLiteral("0"));
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->value(), QStringLiteral("0"));

    box->setText(QStringLiteral("9995"));
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->value(), QStringLiteral("10000"));
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->value(), QStringLiteral("10000"));

    // A number typed beyond the range steps back into it.
    box->setText(QStringLiteral("12000"));
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->value(), QStringLiteral("10000"));
}

TEST_F(NumberBoxTest, EveryChangeOfTheTextIsSignalled)
{
    QSignalSpy spy(box, &NumberBox::textChanged);
    box->setText(QStringLiteral("9"));             // set
    QTest::keyClicks(box, QStringLiteral("9999")); // typed: 99, 999, 9999, 99999
    QTest::keyClick(box, Qt::Key_Down);            // stepped: 10000 (clamped)
    box->setText(QStringLiteral("20000"));         // set
    leave();                                       // clamped on leaving: 10000
    ASSERT_EQ(spy.count(), 8);
    EXPECT_EQ(spy.at(4).at(0).toString(), QStringLiteral("99999"));
    EXPECT_EQ(spy.at(5).at(0).toString(), QStringLiteral("10000"));
    EXPECT_EQ(spy.last().at(0).toString(), QStringLiteral("10000"));

    spy.clear();
    box->setText(QStringLiteral("10000"));
    EXPECT_EQ(spy.count(), 0) << "setting the same text is no change";
}

TEST_F(NumberBoxTest, EnterIsLeftToTheWindow)
{
    QSignalSpy finished(box, &NumberBox::editingFinished);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(window.keysSeen, (QList<int>{Qt::Key_Return, Qt::Key_Enter}));
    EXPECT_EQ(finished.count(), 2);
}

TEST(NumberBoxValueTest, NumbersAreClampedAndTextsConvertWithTheirFallback)
{
    NumberBox size(1, 999, 1, 0);
    EXPECT_EQ(size.value(), QStringLiteral("1")) << "a new box shows the number nearest 0";
    size.setNumber(0);
    EXPECT_EQ(size.value(), QStringLiteral("1"));
    size.setText(QStringLiteral(" 42 "));
    EXPECT_EQ(size.toInt(7), 42);
    size.setText(QStringLiteral("4.5"));
    EXPECT_EQ(size.toInt(7), 7);
}

} // namespace
} // namespace nobrisa::test
