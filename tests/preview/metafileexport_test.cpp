#include "preview/metafileexport.h"

#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "preview/emfreader.h"
#include "preview/wmfreader.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"
#include "support/recordingcanvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace nobrisa {
namespace {

// What a metafile holds, read back through the test readers, the same for both formats.
struct Contents {
    int rectangles = 0;
    int lines = 0;
    int bluePens = 0;
    int fonts = 0;
    int objectSlots = 0; // the most objects ever alive at once
    int clippedTexts = 0;
    QStringList texts;
    QList<int> charsets;
};

Contents readBack(const QByteArray& bytes, bool wmf)
{
    Contents c;
    if (wmf) {
        const WmfFile f = readWmf(bytes);
        EXPECT_TRUE(f.error.isEmpty()) << f.error.toStdString();
        c.objectSlots = f.objectCount;
        for (const WmfRecord& r : f.records) {
            c.rectangles += r.function == 0x041B;
            c.lines += r.function == 0x0213;
            // CREATEPENINDIRECT: style, width (x, y), then the colour's bytes.
            c.bluePens += r.function == 0x02FA && r.params.mid(6, 3) == QByteArray("\0\0\xFF", 3);
            if (r.function == 0x02FB) {
                ++c.fonts;
                c.charsets << wmfFont(r).charset;
            }
            if (r.function == 0x0A32) {
                c.texts << wmfText(r).text;
                c.clippedTexts += (r.word(3) & 4) != 0;
            }
        }
        return c;
    }
    const EmfFile f = readEmf(bytes);
    EXPECT_TRUE(f.error.isEmpty()) << f.error.toStdString();
    EXPECT_EQ(f.description, QStringLiteral("Hakuno%1ZENTORA.exe%1%1").arg(QChar(0)));
    c.objectSlots = f.handleCount - 1; // slot 0 is the metafile itself
    for (const EmfRecord& r : f.records) {
        c.rectangles += r.type == 43;
        c.lines += r.type == 54;
        c.bluePens += r.type == 38 && r.field(4) == 0xFF0000;
        if (r.type == 82) {
            ++c.fonts;
            c.charsets << emfFont(r).charset;
        }
        if (r.type == 84) {
            c.texts << emfText(r).text;
            c.clippedTexts += (r.field(11) & 4) != 0;
        }
    }
    return c;
}

// Catches: shapes or texts lost on the way from the recording to the file, the form's pen not
// blue, Japanese text not decoding back (CP932 in the WMF, UTF-16 in the EMF), fonts outside the
// Japanese character set, runs losing their clip, and an object table that grows with every font
// change instead of deleting what it replaced.
TEST(MetafileExport, FacsimileRoundTripsThroughBothFormats)
{
    FixedDevice device;
    TPrintPositions positions;
    DigitCells cells;
    TSlipRecord slip;
    slip.CheckBox1 = slip.CheckBox2 = slip.CheckBox3 = slip.CheckBox4 = true;
    slip.Ekouza1 = "00120";
    slip.Ekouza2 = "6";
    slip.Ekouza3 = "12345";
    slip.Ekanyu = "日本語教育振興会";
    slip.SEkingaku.setText("35000");
    slip.Maddres = "東京都千代田区千代田一丁目一番地一号\r\n郵便　太郎";
    slip.MemoTsuushin = "年会費";

    test::RecordingCanvas metrics;
    metrics.setFontPixelsPerInch(600);
    PageRecording page;
    PageRecorder recorder(metrics, page);
    DrawSlipForm(recorder, Coords(device, slip.ox(), slip.oy()));
    DrawSlip(recorder, SlipSource{slip, positions, device, cells});
    const PictureSize size{4252, 2693, 600};

    QTemporaryDir dir;
    for (const char* name : {"out.wmf", "OUT.WMF", "out.emf", "out.pic"}) {
        SCOPED_TRACE(name);
        const bool wmf = QString(name).endsWith(".wmf", Qt::CaseInsensitive);
        QString error;
        ASSERT_TRUE(saveRecording(page, size, dir.filePath(name), &error)) << error.toStdString();
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes, wmf ? wmfFromRecording(page, size) : emfFromRecording(page, size));

        const Contents c = readBack(bytes, wmf);
        EXPECT_EQ(c.rectangles, 23);
        EXPECT_EQ(c.lines, 40);
        EXPECT_EQ(c.bluePens, 1);
        EXPECT_TRUE(c.texts.contains(QStringLiteral("日本語教育振興会")));
        EXPECT_TRUE(c.texts.contains(QStringLiteral("郵便　太郎")));
        EXPECT_GT(c.clippedTexts, 0);
        EXPECT_EQ(c.charsets.count(SHIFTJIS_CHARSET), c.fonts);
        EXPECT_GE(c.fonts, 4); // six objects if none were deleted
        EXPECT_LE(c.objectSlots, 4);
    }
}

} // namespace
} // namespace nobrisa
