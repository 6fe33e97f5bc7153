#include "fakeprinter.h"
#include "fakeprompts.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "render/printerdevice.h"
#include "support/recordingcanvas.h"
#include "ui/slipprinting.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

class SlipPrintingTest : public ::testing::Test {
protected:
    SlipPrintingTest()
    {
        printer.names = QStringList{"Office", "Label"};
        slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = true;
        slip.CheckBox4R = true;
        slip.Ekouza1 = "00120";
        slip.Ekouza2 = "6";
        slip.Ekouza3 = "12345";
        slip.Ekanyu = "加入者\r\n二行目";
        slip.Ezip = "100-0005";
        slip.Maddres = "東京都";
        slip.MaddresR = "山田";
        slip.MemoTsuushin = "会費";
    }

    SlipSource source() { return {slip, positions, printer, cells}; }

    test::FakePrinter printer;
    test::FakePrompts prompts;
    SlipPrinting printing{printer, prompts};
    TSlipRecord slip;
    TPrintPositions positions;
    DigitCells cells;
};

TEST_F(SlipPrintingTest, OneSlipIsOneJobTitledWithTheSubscribersFirstLine)
{
    const auto outcome = printing.printSlip(nullptr, source());
    EXPECT_TRUE(outcome.printed);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].title, "Nobrisa_加入者");
    ASSERT_EQ(printer.jobs[0].pages.size(), 1u);
    EXPECT_FALSE(printer.jobs[0].pages[0].empty());
    EXPECT_TRUE(outcome.status.contains("Office"));
}

TEST_F(SlipPrintingTest, CopiesAreOneJobKeepingThePrintersTitle)
{
    printing.printSlip(nullptr, source());
    slip.Ekanyu = "別の名前";
    prompts.inputAnswers.push_back(QString("3"));
    printing.printCopies(nullptr, source());
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1].pages.size(), 3u);
    EXPECT_EQ(printer.jobs[1].title, "Nobrisa_加入者") << "copies reuse the last title";
    EXPECT_EQ(printer.jobs[1].pages[0].size(), printer.jobs[1].pages[2].size());
    EXPECT_EQ(prompts.inputsAsked, QStringList{"複数枚印刷|枚数"});
}

TEST_F(SlipPrintingTest, NoCopiesMeansNoJob)
{
    for (const QString& answer : {QString("0"), QString("abc"), QString(""), QString("-2"),
                                  QString() /* Cancel */}) {
        prompts.inputAnswers.push_back(answer);
        const auto outcome = printing.printCopies(nullptr, source());
        EXPECT_FALSE(outcome.printed);
    }
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(SlipPrintingTest, RightHalfDrawsNothingOnTheLeftHalf)
{
    printing.printRight(nullptr, source());
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].title, "Nobrisa_加入者");
    const int halfway = mmx(1300, 0, printer.caps);
    for (const auto& call : printer.jobs[0].pages[0]) {
        const int x = call.kind == test::RecordingCanvas::Call::Kind::TextOut ? call.x
                                                                              : call.rect.left;
        EXPECT_GE(x, halfway) << call.text.toStdString();
    }
}

TEST_F(SlipPrintingTest, PdfOutputAsksWhereToSaveProposingTheTitle)
{
    printer.pdf = true;
    printing.setPdfFolder("/tmp/slips");
    prompts.saveAnswers.push_back("/tmp/elsewhere/kaihi.pdf");
    const auto outcome = printing.printSlip(nullptr, source());
    ASSERT_EQ(prompts.saveAsked.size(), 1u);
    EXPECT_EQ(prompts.saveAsked[0].fileName, "Nobrisa_加入者.pdf");
    EXPECT_EQ(prompts.saveAsked[0].folder, "/tmp/slips");
    EXPECT_EQ(printer.outputFile, "/tmp/elsewhere/kaihi.pdf");
    EXPECT_TRUE(outcome.status.contains("kaihi.pdf"));
    EXPECT_EQ(printing.pdfFolder(), "/tmp/elsewhere") << "the next print starts there";

    // Cancelling the question prints nothing.
    printing.printSlip(nullptr, source());
    EXPECT_EQ(printer.jobs.size(), 1u);
}

TEST_F(SlipPrintingTest, VanishedPrinterOrFailedJobIsReportedNotPrinted)
{
    printer.current = "Gone";
    auto outcome = printing.printSlip(nullptr, source());
    EXPECT_FALSE(outcome.printed);
    EXPECT_TRUE(printer.jobs.empty());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("Gone"));

    printer.current = "Office";
    printer.failBegin = true;
    outcome = printing.printSlip(nullptr, source());
    EXPECT_FALSE(outcome.printed);
    EXPECT_EQ(prompts.errors.size(), 2);
}

} // namespace
} // namespace nobrisa
