// The facsimile left of the pages: its triggers, the panel's height and when the picture stays.

#include "tform1fixture.h"

#include "model/coords.h"
#include "ui/facsimileview.h"
#include "ui/numberbox.h"
#include "ui/stringgrid.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>

namespace nobrisa::test {
namespace {

class TForm1FacsimileTest : public TForm1Test {
protected:
    std::unique_ptr<TForm1> formWithSubscriber(const QString& name)
    {
        auto form = makeActiveForm();
        widget<QCheckBox>(*form, "CheckBox1")->setChecked(true);
        widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(name);
        return form;
    }
    static const Facsimile* picture(const TForm1& form)
    {
        return widget<FacsimileView>(form, "Image1")->facsimile();
    }
    static bool shows(const TForm1& form, const QString& text)
    {
        const Facsimile* f = picture(form);
        return f != nullptr && std::any_of(f->page.calls.begin(), f->page.calls.end(),
                                           [&](const DrawCall& c) { return c.text == text; });
    }
};

// Each trigger redraws; the picture is mmx(1800) × mmy(1140) through the adjustment, the panel
// takes its proportions, and the form's lines show in blue on the screen.
TEST_F(TForm1FacsimileTest, EveryTriggerRedrawsThePictureAndThePanelFollowsIt)
{
    const struct {
        const char* name;
        int ox, oy;
        std::function<void(TForm1&)> trigger;
    } triggers[] = {
        {"Mpreview", 0, 0, [](TForm1& f) { action(f, "Mpreview")->trigger(); }},
        {"ToolButton2", 1000, 0, [](TForm1& f) { action(f, "ToolButton2")->trigger(); }},
        {"Image1", -500, 300,
         [](TForm1& f) { QTest::mouseDClick(widget(f, "Image1"), Qt::LeftButton); }},
        {"Splitter1", 0, -200,
         [](TForm1& f) {
             QWidget* handle = widget<QSplitter>(f, "Splitter1")->handle(1);
             const QPoint from = handle->rect().center();
             QTest::mousePress(handle, Qt::LeftButton, {}, from);
             QTest::mouseMove(handle, from - QPoint(80, 0));
             QTest::mouseRelease(handle, Qt::LeftButton, {}, from - QPoint(80, 0));
         }},
        {"New1", 300, 0, [](TForm1& f) { action(f, "New1")->trigger(); }},
    };
    for (const auto& t : triggers) {
        SCOPED_TRACE(t.name);
        auto form = formWithSubscriber(QStringLiteral("旧加入者"));
        const QWidget* panel = widget(*form, "PanelImage");
        EXPECT_EQ(picture(*form), nullptr) << "empty until the first preview";
        EXPECT_EQ(panel->height(), widget(*form, "Panel1")->width() * 19 / 30);
        widget<NumberBox>(*form, "SEleftright")->setNumber(t.ox);
        widget<NumberBox>(*form, "SEtopbottom")->setNumber(t.oy);
        action(*form, "Mpreview")->trigger();
        ASSERT_TRUE(shows(*form, QStringLiteral("旧加入者")));
        widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText(QStringLiteral("新加入者"));
        t.trigger(*form);
        EXPECT_FALSE(shows(*form, QStringLiteral("旧加入者")));
        EXPECT_EQ(shows(*form, QStringLiteral("新加入者")), std::string(t.name) != "New1")
            << "New empties the slip before it draws";

        const Coords coords(printer, t.ox, t.oy);
        ASSERT_EQ(std::pair(picture(*form)->width, picture(*form)->height),
                  std::pair(coords.mmx(kSlipWidth), coords.mmy(kSlipHeight)));
        EXPECT_EQ(panel->height(), panel->width() * picture(*form)->height / picture(*form)->width);
        const QImage shown =
            widget(*form, "Image1")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(shown.constBits());
        EXPECT_GT(std::count(pixels, pixels + shown.width() * shown.height(), qRgb(0, 0, 255)),
                  shown.width());
    }
}

TEST_F(TForm1FacsimileTest, RowPreviewShowsTheCurrentRowAndSaysWhichItIs)
{
    auto form = formWithSubscriber(QStringLiteral("加入者"));
    prompts.openAnswers.push_back(writeFile(QStringLiteral("rows.csv"),
                                            "100-0001,東京都,,会員一\n100-0002,大阪府,,会員二\n"));
    action(*form, "ToolButton17")->trigger();
    auto* grid = widget<StringGrid>(*form, "StringGrid1");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    action(*form, "ToolButton28")->trigger();
    EXPECT_TRUE(shows(*form, QStringLiteral("会員二")));
    EXPECT_FALSE(shows(*form, QStringLiteral("会員一")));
    EXPECT_EQ(widget<QLabel>(*form, "HintPanel")->text(),
              QStringLiteral("2 行目（会員二）のプレビューです。"));
}

TEST_F(TForm1FacsimileTest, OpenClearsThePictureAndAFailedBuildKeepsIt)
{
    context.facsimilePath = dir.filePath(QStringLiteral("nobrisa.wmf"));
    auto form = formWithSubscriber(QStringLiteral("加入者"));
    action(*form, "Mpreview")->trigger();
    const std::vector<DrawCall> before = picture(*form)->page.calls;
    QFile wmf(context.facsimilePath);
    ASSERT_TRUE(wmf.open(QIODevice::ReadOnly));
    EXPECT_EQ(wmf.read(4), QByteArray("\xD7\xCD\xC6\x9A", 4)) << "a placeable metafile";
    wmf.close();

    // A printer gone away, the slip adjusted off the page, a folder in the metafile's place.
    printer.caps.logPixelsX = printer.caps.logPixelsY = printer.caps.horzRes = 0;
    action(*form, "Mpreview")->trigger();
    printer.caps = FakePrinter::a4At600Dpi();
    widget<NumberBox>(*form, "SEleftright")->setNumber(-10000);
    action(*form, "ToolButton2")->trigger();
    widget<NumberBox>(*form, "SEleftright")->setNumber(0);
    ASSERT_TRUE(QFile::remove(context.facsimilePath) && QDir().mkdir(context.facsimilePath));
    action(*form, "ToolButton2")->trigger();
    ASSERT_EQ(prompts.errors.size(), 3);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("プリンタ「Office」")));
    EXPECT_TRUE(prompts.errors[1].contains(QStringLiteral("全体印刷位置微調整")));
    EXPECT_TRUE(prompts.errors[2].contains(QDir::toNativeSeparators(context.facsimilePath)));
    ASSERT_NE(picture(*form), nullptr);
    EXPECT_EQ(picture(*form)->page.calls, before);

    prompts.saveAnswers.push_back(dir.filePath(QStringLiteral("slip.dat")));
    action(*form, "SaveAs1")->trigger();
    prompts.openAnswers.push_back(dir.filePath(QStringLiteral("slip.dat")));
    action(*form, "Open1")->trigger();
    EXPECT_EQ(picture(*form), nullptr);
}

} // namespace
} // namespace nobrisa::test
