#include "aids/continuoustable.h"
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

TEST_F(SlipPrintingTest, EscapesAndSlashesOfTheSubscriberReachNeitherSpoolerNorFileName)
{
    printer.pdf = true;
    slip.Ekanyu = "会\x1b[2J/\a本部\r\n二行目";
    prompts.saveAnswers.push_back("/tmp/kaihi.pdf");
    printing.printRight(nullptr, source());
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].title, "Nobrisa_会 [2J/ 本部");
    ASSERT_EQ(prompts.saveAsked.size(), 1u);
    EXPECT_EQ(prompts.saveAsked[0].fileName, "Nobrisa_会 [2J 本部.pdf");
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

// Catches: a slip with no group switched on (a first start) fed through the printer blank
// without a question by any of the three slip prints, and the answer not being what decides.
TEST_F(SlipPrintingTest, BlankSlipIsPrintedOnlyWhenTheUserSaysYes)
{
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = false;
    for (const auto command :
         {&SlipPrinting::printSlip, &SlipPrinting::printCopies, &SlipPrinting::printRight}) {
        for (bool yes : {false, true}) {
            printer.jobs.clear();
            prompts.confirmsAsked.clear();
            prompts.confirmAnswers = {yes};
            prompts.inputAnswers = {QString("1")};
            (printing.*command)(nullptr, source());
            EXPECT_EQ(prompts.confirmsAsked,
                      QStringList{"印刷する項目が選ばれていません。"
                                  "白紙を印刷しますか？|はい(&Y)|いいえ(&N)"});
            EXPECT_EQ(printer.jobs.size(), yes ? 1u : 0u);
        }
    }
}

// Catches: characters no font has printing as boxes without a word, a question that does not
// say which characters and where, and the continuous print not checking its rows.
TEST_F(SlipPrintingTest, CharactersNoFontHasAreNamedBeforePrinting)
{
    const char32_t missing = 0x20BB7;
    SlipPrinting noYoshi{printer, prompts, [missing](char32_t c) { return c != missing; }};
    slip.MemoTsuushin += QString::fromUcs4(&missing, 1);
    ContinuousTable rows;
    rows.openCsv(QByteArray("\xEF\xBB\xBF") +
                     QStringLiteral("100-0001,東京都,,山田\n100-0002,大阪府,,吉田").toUtf8() +
                     QString::fromUcs4(&missing, 1).toUtf8(),
                 QStringLiteral("1000"));
    const RowRange all{1, 2};

    for (bool print : {false, true}) {
        prompts.confirmAnswers = {print, print};
        prompts.confirmsAsked.clear();
        printer.jobs.clear();
        noYoshi.printSlip(nullptr, source());
        noYoshi.printRows(nullptr, source(), rows, all);
        ASSERT_EQ(prompts.confirmsAsked.size(), 2);
        EXPECT_TRUE(prompts.confirmsAsked[0].contains("通信欄: 𠮷 (U+20BB7)"))
            << prompts.confirmsAsked[0].toStdString();
        EXPECT_TRUE(prompts.confirmsAsked[1].contains("\n行 2 の氏名: 𠮷 (U+20BB7)"))
            << prompts.confirmsAsked[1].toStdString();
        EXPECT_TRUE(prompts.confirmsAsked[1].endsWith("|印刷|キャンセル"));
        EXPECT_EQ(printer.jobs.size(), print ? 2u : 0u);
    }
}

} // namespace
} // namespace nobrisa
