// The version dialog: its texts, its placement and the ways it closes.

#include "ui/resources.h"
#include "ui/taboutbox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace nobrisa::test {
namespace {

class TAboutBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initResources(); }

    void showActive()
    {
        about.setVersion(QStringLiteral("Ver. 4.3"));
        about.show();
        QApplication::setActiveWindow(&about);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&about));
    }

    QPushButton* closeButton() const
    {
        for (QPushButton* b : about.findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("閉じる(&C)"))
                return b;
        }
        ADD_FAILURE() << "no 閉じる(&C) button";
        return nullptr;
    }

    TAboutBox about;
};

TEST_F(TAboutBoxTest, ShowsNameAndVersionInBoldTwelvePointInASunkenPanel)
{
    showActive();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Nobrisa"));
    const auto* version = about.findChild<QLabel*>(QStringLiteral("Version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Ver. 4.3"));
    EXPECT_TRUE(version->font().bold());
    EXPECT_EQ(version->font().pointSize(), 12);

    const auto* panel = about.findChild<QFrame*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    const QLabel* product = nullptr;
    for (const QLabel* l : panel->findChildren<QLabel*>()) {
        if (l->text() == QStringLiteral("Nobrisa"))
            product = l;
    }
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->font(), version->font());
    const auto* icon = about.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull()) << "the program icon is drawn";
}

TEST_F(TAboutBoxTest, IsFixedInSizeAndCentredOnTheScreen)
{
    showActive();
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    const QPoint screenCentre = about.screen()->availableGeometry().center();
    const QPoint centre = about.frameGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2)
        << centre.x() << "," << centre.y() << " vs " << screenCentre.x() << "," << screenCentre.y();
}

TEST_F(TAboutBoxTest, ClosesWithEnterAndWithTheCloseButton)
{
    showActive();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    showActive();
    QPushButton* close = closeButton();
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->isDefault());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
} // namespace nobrisa::test
