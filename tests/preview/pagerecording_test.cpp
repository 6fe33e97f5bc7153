#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "preview/pagerecording.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

using test::RecordingCanvas;

TSlipRecord fullSlip()
{
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.CheckBoxfont5 = slip.CheckBoxfont4 = true; // fitted to their boxes
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "日本語教育振興会\r\n事務局";
    slip.SEkingaku.setText("35000");
    slip.Ezip = "100-0001";
    slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便　太郎";
    slip.Etele1 = "03";
    slip.MaddresR = "郵便　太郎";
    slip.MemoTsuushin = "令和8年度\t年会費\r\n二行目";
    return slip;
}

// Catches: a recorder that measures with anything but the printer's metrics (the fitted sizes
// written back would differ from a print's), texts placed elsewhere than a print places them,
// and a replay that drops or alters a call (fonts, the background mode, pens, shapes, runs): a
// page replayed onto a second recorder must record the same list again.
TEST(PageRecording, RecordsWhatAPrintDrawsAndReplaysItCallForCall)
{
    FixedDevice device;
    device.offsetX = 100;
    device.offsetY = 50;
    TPrintPositions positions;
    DigitCells cells;

    TSlipRecord direct = fullSlip();
    RecordingCanvas printer;
    printer.setFontPixelsPerInch(600);
    DrawSlip(printer, SlipSource{direct, positions, device, cells});

    TSlipRecord recorded = fullSlip();
    RecordingCanvas metrics;
    metrics.setFontPixelsPerInch(600);
    PageRecording page;
    PageRecorder recorder(metrics, page);
    DrawSlipForm(recorder, Coords(device, recorded.ox(), recorded.oy()));
    DrawSlip(recorder, SlipSource{recorded, positions, device, cells});
    EXPECT_TRUE(metrics.calls.empty()) << "the metrics canvas is measured, never drawn on";

    EXPECT_EQ(recorded.SEfont5.text(), direct.SEfont5.text());
    EXPECT_EQ(recorded.SEfont51.text(), direct.SEfont51.text());
    EXPECT_EQ(recorded.SEfont4.text(), direct.SEfont4.text());

    // TextOut texts where the print puts them, with the font it uses; DrawText texts as the runs
    // its layout gives on the printer's metrics.
    std::vector<test::Placed> printed;
    std::vector<test::Placed> runs;
    RecordedFont font;
    for (const DrawCall& c : page.calls) {
        if (c.kind == DrawCall::Kind::Font)
            font = c.font;
        if (c.kind == DrawCall::Kind::TextOut)
            printed.emplace_back(c.x, c.y,
                                 font.face + "/" + QString::number(font.height) + "/" + c.text);
        if (c.kind == DrawCall::Kind::TextRun)
            runs.emplace_back(c.x, c.y, c.text);
    }
    std::vector<test::Placed> expectedOuts;
    std::vector<test::Placed> expectedRuns;
    for (const RecordingCanvas::Call& c : printer.calls) {
        if (c.kind == RecordingCanvas::Call::Kind::TextOut) {
            expectedOuts.emplace_back(c.x, c.y,
                                      c.face + "/" + QString::number(c.height) + "/" + c.text);
            continue;
        }
        metrics.setFontName(c.face);
        metrics.setFontHeightPx(c.height);
        for (const TextRun& run :
             layoutDrawText(c.text, c.rect, c.flags, metrics.currentMeasure()).runs)
            expectedRuns.emplace_back(run.x, run.y, run.text);
    }
    EXPECT_EQ(printed, expectedOuts);
    EXPECT_EQ(runs, expectedRuns);
    EXPECT_GT(runs.size(), 5u);

    PageRecording again;
    RecordingCanvas metrics2;
    PageRecorder second(metrics2, again);
    page.replay(second);
    EXPECT_EQ(again.calls, page.calls);
    EXPECT_EQ(std::count_if(page.calls.begin(), page.calls.end(),
                            [](const DrawCall& c) { return c.kind == DrawCall::Kind::Rectangle; }),
              23);
}

} // namespace
} // namespace nobrisa
