#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "pdfwords.h"
#include "platform/metricscanvas.h"
#include "platform/qtprinterdevice.h"
#include "preview/pagerecording.h"
#include "render/drawslip.h"
#include "render/printjob.h"

#include <QFontDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

// A page recorded on a MetricsCanvas, as the previews record, prints where drawing directly
// prints (Qt's PDF output at 600 dpi, read back with pdftotext).
TEST(PageRecordingPdf, ReplayedOnThePrinterPrintsWhereDrawingDirectlyPrints)
{
    if (!QFontDatabase::hasFamily(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "IPAGothic not installed";
    QTemporaryDir dir;
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.CheckBoxfont5 = slip.CheckBoxfont4 = true;
    slip.Ekouza1 = "00120";
    slip.Ekanyu = "日本語教育振興会\r\n事務局";
    slip.SEkingaku.setText("35000");
    slip.Ezip = "100-0001";
    slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便 太郎";
    slip.MaddresR = "郵便 太郎";
    slip.MemoTsuushin = "令和8年度 年会費\r\nよろしくお願いします";
    const TPrintPositions positions;

    const auto print = [&](const QString& file, bool recorded) {
        QtPrinterDevice printer;
        printer.setPdfOutput(dir.filePath(file), 600);
        TSlipRecord copy = slip;
        DigitCells cells;
        const SlipSource source{copy, positions, printer, cells};
        PageRecording page;
        MetricsCanvas metrics(printer.deviceCaps(DeviceCap::LogPixelsY));
        PageRecorder recorder(metrics.canvas(), page);
        if (recorded)
            DrawSlip(recorder, source);
        const PrintOutcome outcome = runPrintJob(printer, 1, [&](Canvas& canvas, int) {
            recorded ? page.replay(canvas) : DrawSlip(canvas, source);
        });
        EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
        return test::readPdfText(dir.filePath(file));
    };
    const test::PdfText direct = print("direct.pdf", false);
    const test::PdfText replayed = print("replayed.pdf", true);
    ASSERT_TRUE(direct.ok && replayed.ok) << (direct.error + replayed.error).toStdString();
    ASSERT_GT(direct.words.size(), 20u);
    ASSERT_EQ(replayed.words.size(), direct.words.size());
    for (std::size_t i = 0; i < direct.words.size(); ++i) {
        const test::PdfWord& a = direct.words[i];
        const test::PdfWord& b = replayed.words[i];
        SCOPED_TRACE(a.text.toStdString());
        EXPECT_EQ(b.text, a.text);
        // Within one device pixel at 600 dpi (pdftotext gives points with two decimals).
        for (const auto& [got, want] :
             {std::pair{b.xMin, a.xMin}, {b.yMin, a.yMin}, {b.xMax, a.xMax}})
            EXPECT_NEAR(test::pointsToPixels(got, 600), test::pointsToPixels(want, 600), 1.0);
    }
}

} // namespace
} // namespace nobrisa
