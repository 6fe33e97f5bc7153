#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "preview/emfreader.h"
#include "preview/metafileexport.h"
#include "preview/pagerecording.h"
#include "preview/wmfreader.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <string>

namespace nobrisa {
namespace {

using test::RecordingCanvas;
using Kind = DrawCall::Kind;

// A slip with the fields a print fits or wraps, adjusted by (25, −10), recorded with its form
// as the facsimile records it on a 600-dpi device whose printable area is 100 and 50 px in.
class PageRecordingTest : public ::testing::Test {
protected:
    PageRecordingTest()
    {
        device.offsetX = 100;
        device.offsetY = 50;
        slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = slip.CheckBox4R = true;
        slip.CheckBoxfont5 = slip.CheckBoxfont4 = true; // fitted to their boxes
        slip.SEleftright.setText("25");
        slip.SEtopbottom.setText("-10");
        slip.Ekouza1 = "00120";
        slip.Ekouza2 = "6";
        slip.Ekanyu = "日本語教育振興会\r\n事務局";
        slip.SEkingaku.setText("35000");
        slip.Ezip = "100-0001";
        slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便　太郎";
        slip.MaddresR = "郵便　太郎";
        slip.MemoTsuushin = "令和8年度\t年会費\r\n二行目";
        unrecorded = slip;
        metrics.setFontPixelsPerInch(600);
        PageRecorder recorder(metrics, page);
        DrawSlipForm(recorder, Coords(device, slip.ox(), slip.oy()));
        formBkTransparent = recorder.bkTransparent();
        DrawSlip(recorder, SlipSource{slip, positions, device, cells});
    }

    FixedDevice device;
    TPrintPositions positions;
    DigitCells cells;
    TSlipRecord slip;
    TSlipRecord unrecorded;
    RecordingCanvas metrics;
    PageRecording page;
    bool formBkTransparent = false;
};

// The form's frames and vertical dividers in their order (the metafile's records follow it), in
// blue outlines, through the adjustment, with no text.
TEST_F(PageRecordingTest, FormFramesAndDividersInOrderInBlueOutlines)
{
    const auto n = [](int count, const std::string& s) {
        std::string out;
        while (count-- > 0)
            out += s;
        return out;
    };
    const std::string form = "PB" + n(9, "R") + n(4, "ML") + n(2, "R") + n(14, "ML") + n(5, "R") +
                             n(7, "ML") + "R" + n(7, "ML") + n(2, "R") + n(8, "ML") + n(4, "R");
    const std::vector<DrawCall> calls(page.calls.begin(), page.calls.begin() + form.size());
    std::string letters; // one letter a call, in the order of DrawCall::Kind
    for (std::size_t i = 0; i < calls.size(); ++i) {
        letters += "FKPBREOMLTX"[static_cast<int>(calls[i].kind)];
        if (letters.back() == 'M') {
            EXPECT_EQ(calls[i].x, calls.at(i + 1).x) << "dividers are vertical";
        }
    }
    EXPECT_EQ(letters, form);
    EXPECT_TRUE(formBkTransparent);
    EXPECT_EQ(std::tuple(calls[0].color, calls[0].penStyle, calls[0].width, calls[1].clearBrush),
              std::tuple(QColor(0, 0, 255), Canvas::PenStyle::Solid, 1, true));
    // Rectangle 1, (40, 120)-(1210, 700) shifted by (25, −10): 65 / 254 × 600 = 153.5 → 153 − 100;
    // 110 → 259.8 → 259 − 50; 1235 → 2917.3; 690 → 1629.9. The last divider, x 1767 from 440 to
    // 550: 1792 → 4233.07; 430 → 1015.7; 540 → 1275.6.
    EXPECT_EQ(calls[2].rect, (DeviceRect{53, 209, 2817, 1579}));
    EXPECT_EQ(std::tuple(calls.end()[-6].x, calls.end()[-6].y, calls.end()[-5].y),
              std::tuple(4133, 965, 1225));
}

// Measured on the printer's metrics, the recording fits and places texts as a print does (where
// DrawText's runs land is compared in the PDF test), and replays call for call.
TEST_F(PageRecordingTest, RecordsWhatAPrintDrawsAndReplaysItCallForCall)
{
    RecordingCanvas printer;
    printer.setFontPixelsPerInch(600);
    DrawSlip(printer, SlipSource{unrecorded, positions, device, cells});
    EXPECT_TRUE(metrics.calls.empty()) << "the metrics canvas is measured, never drawn on";
    EXPECT_EQ(std::tuple(slip.SEfont5.text(), slip.SEfont51.text(), slip.SEfont4.text()),
              std::tuple(unrecorded.SEfont5.text(), unrecorded.SEfont51.text(),
                         unrecorded.SEfont4.text()));
    std::vector<test::Placed> outs, printed;
    RecordedFont font;
    for (const DrawCall& c : page.calls) {
        font = c.kind == Kind::Font ? c.font : font;
        if (c.kind == Kind::TextOut)
            outs.emplace_back(c.x, c.y, font.face + "/" + QString::number(font.height) + c.text);
    }
    for (const RecordingCanvas::Call& c : printer.textOuts())
        printed.emplace_back(c.x, c.y, c.face + "/" + QString::number(c.height) + c.text);
    EXPECT_EQ(outs, printed);
    EXPECT_GT(outs.size(), 10u);

    PageRecording again;
    PageRecorder second(metrics, again);
    page.replay(second);
    EXPECT_EQ(again.calls, page.calls);
}

TEST_F(PageRecordingTest, FacsimileRoundTripsThroughBothMetafileFormats)
{
    const PictureSize size{4252, 2693, 600};
    QTemporaryDir dir;
    for (const char* name : {"out.wmf", "OUT.WMF", "out.emf", "out.pic"}) {
        SCOPED_TRACE(name);
        const bool isWmf = QString(name).endsWith(".wmf", Qt::CaseInsensitive);
        QString error;
        ASSERT_TRUE(saveRecording(page, size, dir.filePath(name), &error)) << error.toStdString();
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes, isWmf ? wmfFromRecording(page, size) : emfFromRecording(page, size));
        const WmfFile wmf = isWmf ? readWmf(bytes) : WmfFile();
        const EmfFile emf = isWmf ? EmfFile() : readEmf(bytes);
        ASSERT_EQ(wmf.error + emf.error, QString());
        const QStringList records = isWmf ? wmf.records : emf.records;
        const auto count = [&records](const char* prefix) {
            return records.filter(QRegularExpression(QString("^") + prefix)).size();
        };
        EXPECT_EQ(count("rect "), 23);
        EXPECT_EQ(count("line "), 40);
        EXPECT_EQ(count("pen 0 1 #0000ff"), 1);
        EXPECT_GT(count("text .* 日本語教育振興会 clip"), 0);
        EXPECT_GT(count("text .* 郵便　太郎 clip"), 0);
        EXPECT_GE(count("font "), 4);
        EXPECT_EQ(count("font -?\\d+ \\d+ 128 "), count("font "));
        EXPECT_LE(isWmf ? wmf.objectCount : emf.handleCount - 1, 4) << "fonts deleted as replaced";
        if (!isWmf) {
            EXPECT_EQ(emf.description, QStringLiteral("Hakuno%1ZENTORA.exe%1%1").arg(QChar(0)));
        }
    }
}

} // namespace
} // namespace nobrisa
