#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "pdfwords.h"
#include "platform/facsimile.h"
#include "platform/metricscanvas.h"
#include "platform/qtprinterdevice.h"
#include "preview/pagerecording.h"
#include "render/drawslip.h"
#include "render/printjob.h"

#include <QFontDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace nobrisa {
namespace {

// Catches: a recorded page that prints anywhere but where the same slip prints when drawn
// directly: texts measured with other metrics than the printer's, runs replayed at other places,
// fonts or sizes lost between recording and replay. The page is recorded once during the job on
// the printer's own canvas, and once before it on a MetricsCanvas, as the previews record. The
// prints go through Qt's PDF output at 600 dpi and are read back with pdftotext.
TEST(PageRecordingPdf, ReplayedOnThePrinterPrintsWhereDrawingDirectlyPrints)
{
    if (!QFontDatabase::hasFamily(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "IPAGothic not installed";
    QTemporaryDir dir;
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.CheckBoxfont5 = slip.CheckBoxfont4 = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "日本語教育振興会\r\n事務局";
    slip.SEkingaku.setText("35000");
    slip.Ezip = "100-0001";
    slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便 太郎";
    slip.MaddresR = "郵便 太郎";
    slip.MemoTsuushin = "令和8年度 年会費\r\nよろしくお願いします";
    const TPrintPositions positions;

    enum class Way { Direct, RecordedOnPrinter, RecordedBefore };
    const auto print = [&](const QString& file, Way way) {
        QtPrinterDevice printer;
        printer.setPdfOutput(dir.filePath(file), 600);
        TSlipRecord copy = slip;
        DigitCells cells;
        const SlipSource source{copy, positions, printer, cells};
        PageRecording before;
        if (way == Way::RecordedBefore) {
            MetricsCanvas metrics(printer.deviceCaps(DeviceCap::LogPixelsY));
            PageRecorder recorder(metrics.canvas(), before);
            DrawSlip(recorder, source);
        }
        const PrintOutcome outcome = runPrintJob(printer, 1, [&](Canvas& canvas, int) {
            if (way == Way::Direct) {
                DrawSlip(canvas, source);
            } else if (way == Way::RecordedBefore) {
                before.replay(canvas);
            } else {
                PageRecording page;
                PageRecorder recorder(canvas, page);
                DrawSlip(recorder, source);
                page.replay(canvas);
            }
        });
        EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
        return test::readPdfText(dir.filePath(file));
    };
    const test::PdfText direct = print("direct.pdf", Way::Direct);
    ASSERT_TRUE(direct.ok) << direct.error.toStdString();
    ASSERT_GT(direct.words.size(), 20u);
    for (const Way way : {Way::RecordedOnPrinter, Way::RecordedBefore}) {
        const test::PdfText replayed = print("replayed.pdf", way);
        SCOPED_TRACE(way == Way::RecordedBefore ? "recorded before the job"
                                                : "recorded in the job");
        ASSERT_TRUE(replayed.ok) << replayed.error.toStdString();
        ASSERT_EQ(replayed.words.size(), direct.words.size());
        for (std::size_t i = 0; i < direct.words.size(); ++i) {
            const test::PdfWord& a = direct.words[i];
            const test::PdfWord& b = replayed.words[i];
            SCOPED_TRACE(a.text.toStdString());
            EXPECT_EQ(b.text, a.text);
            // Within one device pixel at 600 dpi (pdftotext prints points with two decimals).
            EXPECT_NEAR(test::pointsToPixels(b.xMin, 600), test::pointsToPixels(a.xMin, 600), 1.0);
            EXPECT_NEAR(test::pointsToPixels(b.yMin, 600), test::pointsToPixels(a.yMin, 600), 1.0);
            EXPECT_NEAR(test::pointsToPixels(b.xMax, 600), test::pointsToPixels(a.xMax, 600), 1.0);
        }
    }
}

} // namespace
} // namespace nobrisa

namespace nobrisa {
namespace {

// Catches: a facsimile sized to the paper rather than to the slip's edges through the
// adjustment, or missing the form or the contents.
TEST(Facsimile, SpansToTheSlipsEdgesWithTheFormAndTheContents)
{
    FixedDevice device; // 600 dpi
    device.offsetX = 100;
    device.offsetY = 50;
    TSlipRecord slip;
    slip.CheckBox1 = true;
    slip.Ekouza1 = "00120";
    slip.Ekanyu = "加入者";
    slip.SEleftright.setText("25");
    slip.SEtopbottom.setText("-10");
    const TPrintPositions positions;
    DigitCells cells;
    const Facsimile f = recordFacsimile(SlipSource{slip, positions, device, cells});
    // 1825 / 254 × 600 = 4311.0 − 100; 1130 / 254 × 600 = 2669.3 − 50.
    EXPECT_EQ(f.width, 4211);
    EXPECT_EQ(f.height, 2619);
    const auto count = [&](DrawCall::Kind kind) {
        return std::count_if(f.page.calls.begin(), f.page.calls.end(),
                             [kind](const DrawCall& c) { return c.kind == kind; });
    };
    EXPECT_EQ(count(DrawCall::Kind::Rectangle), 23);
    EXPECT_EQ(count(DrawCall::Kind::TextOut), 10) << "five account digits on each half";
    EXPECT_GT(count(DrawCall::Kind::TextRun), 0) << "the subscriber name";
}

} // namespace
} // namespace nobrisa
