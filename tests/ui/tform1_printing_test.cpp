// The print commands of the main window against a fake 600-dpi printer.

#include "tform1fixture.h"

#include "model/coords.h"
#include "ui/numberbox.h"
#include "ui/tform2.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace nobrisa::test {
namespace {

class TForm1PrintingTest : public TForm1Test {
protected:
    std::unique_ptr<TForm1> makeFilledForm()
    {
        auto form = makeForm();
        for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox4R"})
            widget<QCheckBox>(*form, name)->setChecked(true);
        widget<QLineEdit>(*form, "Ekouza1")->setText("00120");
        widget<QLineEdit>(*form, "Ekouza2")->setText("6");
        widget<QLineEdit>(*form, "Ekouza3")->setText("12345");
        widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText("日本語教育振興会\n東京支部");
        widget<QLineEdit>(*form, "Ezip")->setText("100-0005");
        widget<QPlainTextEdit>(*form, "Maddres")->setPlainText("東京都千代田区\n山田　太郎");
        widget<QPlainTextEdit>(*form, "MaddresR")->setPlainText("山田　太郎");
        widget<QPlainTextEdit>(*form, "MemoTsuushin")->setPlainText("年会費として");
        return form;
    }

    static bool drew(const std::vector<RecordingCanvas::Call>& page, const QString& text)
    {
        return std::any_of(page.begin(), page.end(),
                           [&](const RecordingCanvas::Call& c) { return c.text.contains(text); });
    }
};

TEST_F(TForm1PrintingTest, PrintIsOnePageTitledWithTheSubscribersFirstLine)
{
    auto form = makeFilledForm();
    action(*form, "Print1")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    const FakePrinter::Job& job = printer.jobs[0];
    EXPECT_EQ(job.title, QStringLiteral("Nobrisa_日本語教育振興会"));
    ASSERT_EQ(job.pages.size(), 1u);
    EXPECT_TRUE(job.ended);
    EXPECT_TRUE(drew(job.pages[0], QStringLiteral("年会費として")));
    EXPECT_TRUE(drew(job.pages[0], QStringLiteral("100-0005")));
    EXPECT_FALSE(widget<QLabel>(*form, "HintPanel")->text().isEmpty()) << "the outcome is shown";

    // The tool button prints the same way.
    action(*form, "ToolPrint")->trigger();
    EXPECT_EQ(printer.jobs.size(), 2u);
}

TEST_F(TForm1PrintingTest, PrintUsesTheAdjustmentAndTheDialogsPositions)
{
    auto form = makeFilledForm();
    TPrintPositions positions = form->printPositionDialog().positions();
    positions.SEzipleft.setText(QStringLiteral("300"));
    form->printPositionDialog().setPositions(positions);
    widget<NumberBox>(*form, "SEleftright")->setText("20");
    action(*form, "Print1")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    const auto& page = printer.jobs[0].pages[0];
    const auto zip = std::find_if(page.begin(), page.end(), [](const RecordingCanvas::Call& c) {
        return c.text.contains(QStringLiteral("100-0005"));
    });
    ASSERT_NE(zip, page.end());
    const int x = zip->kind == RecordingCanvas::Call::Kind::TextOut ? zip->x : zip->rect.left;
    EXPECT_EQ(x, mmx(300, 20, printer));
}

TEST_F(TForm1PrintingTest, CopiesAreOneJobOfThatManyPages)
{
    auto form = makeFilledForm();
    prompts.inputAnswers.push_back(QStringLiteral("3"));
    action(*form, "Printall")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].pages.size(), 3u);
    EXPECT_EQ(prompts.inputsAsked, QStringList{QStringLiteral("複数枚印刷|枚数")});
    for (const auto& page : printer.jobs[0].pages)
        EXPECT_TRUE(drew(page, QStringLiteral("年会費として")));
}

TEST_F(TForm1PrintingTest, NoCopyCountMeansNoJob)
{
    auto form = makeFilledForm();
    prompts.inputAnswers = {QString("0"), QString("abc"), QString() /* Cancel */};
    for (int i = 0; i < 3; ++i)
        action(*form, "Printall")->trigger();
    EXPECT_EQ(prompts.inputsAsked.size(), 3);
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(TForm1PrintingTest, RightHalfDrawsNothingOfTheLeftHalf)
{
    auto form = makeFilledForm();
    action(*form, "PrintRight")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].title, QStringLiteral("Nobrisa_日本語教育振興会"));
    const auto& page = printer.jobs[0].pages.at(0);
    ASSERT_FALSE(page.empty());
    EXPECT_FALSE(drew(page, QStringLiteral("年会費として"))) << "the message is on the left";
    EXPECT_FALSE(drew(page, QStringLiteral("100-0005"))) << "the postal code is on the left";
    const int halfway = mmx(1300, 0, printer);
    for (const auto& call : page) {
        const int x = call.kind == RecordingCanvas::Call::Kind::TextOut ? call.x : call.rect.left;
        EXPECT_GE(x, halfway) << call.text.toStdString();
    }
}

TEST_F(TForm1PrintingTest, FittedSizesAreShownAfterPrinting)
{
    auto form = makeFilledForm();
    widget<QCheckBox>(*form, "CheckBoxfont5")->setChecked(true);
    widget<QCheckBox>(*form, "CheckBoxfont4")->setChecked(true);
    widget<NumberBox>(*form, "SEfont5")->setText("999");
    action(*form, "Print1")->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_NE(form->slip().SEfont5.text(), QStringLiteral("999")) << "the renderer fitted it";
    const std::pair<const char*, NumberText TSlipRecord::*> fitted[] = {
        {"SEfont5", &TSlipRecord::SEfont5},
        {"SEfont51", &TSlipRecord::SEfont51},
        {"SEfont4", &TSlipRecord::SEfont4}};
    for (const auto& [name, field] : fitted)
        EXPECT_EQ(widget<NumberBox>(*form, name)->value(), (form->slip().*field).text()) << name;
}

// Catches: a first start, every switch off, feeding a pre-printed form through blank without a
// question (No, the default, prints nothing).
TEST_F(TForm1PrintingTest, FirstStartAsksBeforePrintingABlankSlip)
{
    auto form = makeForm();
    action(*form, "Print1")->trigger();
    ASSERT_EQ(prompts.confirmsAsked.size(), 1);
    EXPECT_TRUE(
        prompts.confirmsAsked[0].startsWith(QStringLiteral("印刷する項目が選ばれていません")));
    EXPECT_TRUE(printer.jobs.empty());

    prompts.confirmAnswers.push_back(true);
    action(*form, "Print1")->trigger();
    EXPECT_EQ(printer.jobs.size(), 1u);
}

TEST_F(TForm1PrintingTest, PrinterSetupAlwaysRefreshesThePrintersName)
{
    auto form = makeForm();
    EXPECT_EQ(action(*form, "Mprintername")->text(), QStringLiteral("Office"));
    printer.names << QStringLiteral("R&D");
    printer.current = QStringLiteral("R&D");
    action(*form, "Mprintersetup1")->trigger();
    EXPECT_EQ(action(*form, "Mprintername")->text(), QStringLiteral("R&&D"))
        << "shown with its ampersand, not as an access key";
    EXPECT_EQ(prompts.printerSetups, 0) << "only a real printer has a setup dialog";
}

} // namespace
} // namespace nobrisa::test
