#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "preview/pagerecording.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

#include <string>

namespace nobrisa {
namespace {

using test::RecordingCanvas;
using Kind = DrawCall::Kind;

// Catches frames and dividers drawn in another order (the facsimile's layering and the
// metafile's records follow it), a divider missing or slanted, an x converted as a y or without
// the whole-print adjustment, a pen that is not blue, a brush that would fill the cells, and
// any text on the blank form.
TEST(DrawSlipForm, FramesAndDividersInOrderInBlueOutlinesThroughTheAdjustment)
{
    FixedDevice device; // 600 dpi
    device.offsetX = 100;
    device.offsetY = 50;
    RecordingCanvas metrics;
    PageRecording page;
    PageRecorder recorder(metrics, page);
    DrawSlipForm(recorder, Coords(device, 25, -10));
    EXPECT_TRUE(recorder.bkTransparent());

    const std::vector<DrawCall>& calls = page.calls;
    std::string letters; // one letter a call, in the order of DrawCall::Kind
    for (std::size_t i = 0; i < calls.size(); ++i) {
        letters += "FKPBREOMLTX"[static_cast<int>(calls[i].kind)];
        if (letters.back() == 'M') {
            EXPECT_EQ(calls[i].x, calls.at(i + 1).x) << "dividers are vertical";
        }
    }
    const auto n = [](int count, const std::string& s) {
        std::string out;
        while (count-- > 0)
            out += s;
        return out;
    };
    EXPECT_EQ(letters, "PB" + n(9, "R") + n(4, "ML") + n(2, "R") + n(14, "ML") + n(5, "R") +
                           n(7, "ML") + "R" + n(7, "ML") + n(2, "R") + n(8, "ML") + n(4, "R"));
    EXPECT_EQ(std::tuple(calls[0].color, calls[0].penStyle, calls[0].width, calls[1].clearBrush),
              std::tuple(QColor(0, 0, 255), Canvas::PenStyle::Solid, 1, true));
    // Rectangle 1, (40, 120)-(1210, 700) shifted by (25, −10): 65 / 254 × 600 = 153.5 → 153 − 100;
    // 110 → 259.8 → 259 − 50; 1235 → 2917.3; 690 → 1629.9. The last divider, x 1767 from 440 to
    // 550: 1792 → 4233.07; 430 → 1015.7; 540 → 1275.6.
    EXPECT_EQ(calls[2].rect, (DeviceRect{53, 209, 2817, 1579}));
    EXPECT_EQ(std::tuple(calls.end()[-6].x, calls.end()[-6].y, calls.end()[-5].y),
              std::tuple(4133, 965, 1225));
}

// Catches a recorder that measures with anything but the printer's metrics (the fitted sizes
// written back would differ from a print's), texts placed elsewhere than a print places them,
// and a replay that drops or alters a call: replayed onto a second recorder, the page must
// record the same list again.
TEST(PageRecording, RecordsWhatAPrintDrawsAndReplaysItCallForCall)
{
    FixedDevice device;
    device.offsetX = 100;
    device.offsetY = 50;
    TPrintPositions positions;
    DigitCells cells;
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
    slip.CheckBoxfont5 = slip.CheckBoxfont4 = true; // fitted to their boxes
    slip.Ekouza1 = "00120";
    slip.Ekanyu = "日本語教育振興会\r\n事務局";
    slip.SEkingaku.setText("35000");
    slip.Ezip = "100-0001";
    slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便　太郎";
    slip.MaddresR = "郵便　太郎";
    slip.MemoTsuushin = "令和8年度\t年会費\r\n二行目";

    TSlipRecord direct = slip;
    RecordingCanvas printer;
    printer.setFontPixelsPerInch(600);
    DrawSlip(printer, SlipSource{direct, positions, device, cells});
    RecordingCanvas metrics;
    metrics.setFontPixelsPerInch(600);
    PageRecording page;
    PageRecorder recorder(metrics, page);
    DrawSlip(recorder, SlipSource{slip, positions, device, cells});
    EXPECT_TRUE(metrics.calls.empty()) << "the metrics canvas is measured, never drawn on";
    EXPECT_EQ(std::tuple(slip.SEfont5.text(), slip.SEfont51.text(), slip.SEfont4.text()),
              std::tuple(direct.SEfont5.text(), direct.SEfont51.text(), direct.SEfont4.text()));

    // TextOut texts where the print puts them, with its font; DrawText texts as the runs its
    // layout gives on the printer's metrics.
    std::vector<test::Placed> outs, runs, expectedOuts, expectedRuns;
    RecordedFont font;
    for (const DrawCall& c : page.calls) {
        font = c.kind == Kind::Font ? c.font : font;
        if (c.kind == Kind::TextOut)
            outs.emplace_back(c.x, c.y, font.face + "/" + QString::number(font.height) + c.text);
        if (c.kind == Kind::TextRun)
            runs.emplace_back(c.x, c.y, c.text);
    }
    for (const RecordingCanvas::Call& c : printer.calls) {
        if (c.kind == RecordingCanvas::Call::Kind::TextOut) {
            expectedOuts.emplace_back(c.x, c.y, c.face + "/" + QString::number(c.height) + c.text);
            continue;
        }
        metrics.setFontName(c.face);
        metrics.setFontHeightPx(c.height);
        for (const TextRun& run :
             layoutDrawText(c.text, c.rect, c.flags, metrics.currentMeasure()).runs)
            expectedRuns.emplace_back(run.x, run.y, run.text);
    }
    EXPECT_EQ(outs, expectedOuts);
    EXPECT_EQ(runs, expectedRuns);
    EXPECT_GT(runs.size(), 5u);

    PageRecording again;
    PageRecorder second(metrics, again);
    page.replay(second);
    EXPECT_EQ(again.calls, page.calls);
}

} // namespace
} // namespace nobrisa
