#include "platform/qtcanvas.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>

namespace nobrisa {
namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");
const QString kOcrB = QStringLiteral("OCRB");

// A canvas drawing on a white image, as the page preview does.
struct ImageCanvas {
    QImage image;
    QPainter painter;
    QtCanvas canvas;

    explicit ImageCanvas(int width = 400, int height = 200)
        : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
        canvas.setPainter(&painter);
        canvas.setFontPixelsPerInch(600);
    }
    ~ImageCanvas()
    {
        if (painter.isActive())
            painter.end();
    }

    // The smallest rectangle holding every non-white pixel, if any.
    std::optional<QRect> ink()
    {
        canvas.flush();
        painter.end();
        std::optional<QRect> box;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
            }
        }
        return box;
    }
};

bool installed(const char* family)
{
    return QFontDatabase::hasFamily(QString::fromLatin1(family));
}

class CellHeightTest : public ::testing::TestWithParam<std::tuple<QString, int>> {};

// Catches: a positive (cell) height taken as the em height, which draws every fitted name and
// address 8–28 % too large; and a search that settles on a size off by more than a pixel.
TEST_P(CellHeightTest, AscentPlusDescentMatchesTheCellHeight)
{
    if (!installed("IPAGothic") || !installed("OCR B"))
        GTEST_SKIP() << "IPA fonts or OCR B not installed";
    const auto [face, height] = GetParam();
    ImageCanvas c;
    c.canvas.setFontName(face);
    c.canvas.setFontHeightPx(height);
    EXPECT_NEAR(c.canvas.textHeight(QStringLiteral("あ")), height, 1);
    EXPECT_LT(c.canvas.qfont().pixelSize(), height);
}

INSTANTIATE_TEST_SUITE_P(QtCanvas, CellHeightTest,
                         ::testing::Combine(::testing::Values(kGothic, kMincho, kOcrB),
                                            ::testing::Values(13, 57, 100, 213, 1000)),
                         [](const auto& info) {
                             // Test names must be ASCII: "Gothic_57", "OCRB_13", ...
                             const QString& p = std::get<0>(info.param);
                             const QString face = p == kGothic   ? QStringLiteral("Gothic")
                                                  : p == kMincho ? QStringLiteral("Mincho")
                                                                 : QStringLiteral("OCRB");
                             return QStringLiteral("%1_%2")
                                 .arg(face)
                                 .arg(std::get<1>(info.param))
                                 .toStdString();
                         });

// Catches: a negative (em) height mapped to anything but the pixel size. In the fixed-pitch
// Japanese gothic a full-width character advances exactly one em and a half-width one half.
TEST(QtCanvas, NegativeHeightIsTheEmHeight)
{
    if (!installed("IPAGothic"))
        GTEST_SKIP() << "IPAGothic not installed";
    ImageCanvas c;
    c.canvas.setFontName(kGothic);
    c.canvas.setFontSizePt(12); // 100 px at 600 dpi
    EXPECT_EQ(c.canvas.textWidth(QStringLiteral("払込")), 200);
    EXPECT_EQ(c.canvas.textWidth(QStringLiteral("12")), 100);
}

// Catches: the cached font or its metrics surviving a change of face or size.
TEST(QtCanvas, MetricsFollowEveryFontChange)
{
    if (!installed("IPAGothic") || !installed("OCR B"))
        GTEST_SKIP() << "IPA fonts or OCR B not installed";
    ImageCanvas c;
    const QString digits = QStringLiteral("0123456789");
    c.canvas.setFontName(kGothic);
    c.canvas.setFontSizePt(12);
    const int gothic12 = c.canvas.textWidth(digits);
    c.canvas.setFontSizePt(24);
    EXPECT_EQ(c.canvas.textWidth(digits), 2 * gothic12);
    c.canvas.setFontName(kOcrB);
    const int ocr24 = c.canvas.textWidth(digits);
    EXPECT_NE(ocr24, 2 * gothic12);
    c.canvas.setFontHeightPx(100);
    EXPECT_NEAR(c.canvas.textHeight(digits), 100, 1);
    c.canvas.setFontSizePt(24);
    EXPECT_EQ(c.canvas.textWidth(digits), ocr24);
    c.canvas.setFontName(kGothic);
    c.canvas.setFontSizePt(12);
    EXPECT_EQ(c.canvas.textWidth(digits), gothic12);
}

// Catches: text drawn outside its DrawText box (clip missing or one pixel too wide: the box's
// right and bottom are exclusive), and text drawn in the shape pen's colour instead of black.
TEST(QtCanvas, DrawTextClipsToTheBoxAndDrawsBlack)
{
    if (!installed("IPAGothic"))
        GTEST_SKIP() << "IPAGothic not installed";
    ImageCanvas c;
    c.canvas.setPen(Qt::blue, Canvas::PenStyle::Solid, 1);
    c.canvas.setFontName(kGothic);
    c.canvas.setFontHeightPx(60);
    const DeviceRect box{20, 30, 110, 70}; // narrower and lower than the text
    c.canvas.drawText(QStringLiteral("██████"), box, DT_SINGLELINE | DT_NOPREFIX);
    c.canvas.flush();
    c.painter.end();
    const QImage& img = c.image;
    int inside = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (p == qRgb(255, 255, 255))
                continue;
            ASSERT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom)
                << "ink at " << x << "," << y;
            EXPECT_EQ(qRed(p), qBlue(p)) << "coloured text at " << x << "," << y;
            ++inside;
        }
    }
    EXPECT_GT(inside, 0);
    // The block glyphs reach the clip's last column and row.
    EXPECT_NE(img.pixel(box.right - 1, box.bottom - 1), qRgb(255, 255, 255));
}

// Catches: gathered texts lost (never drawn) or drawn out of order: a shape drawn after a text
// must cover it, and a text inside its DrawText box is drawn although it needs no clip.
TEST(QtCanvas, GatheredTextsAreDrawnInOrderWithShapes)
{
    if (!installed("IPAGothic"))
        GTEST_SKIP() << "IPAGothic not installed";
    ImageCanvas c;
    c.canvas.setFontName(kGothic);
    c.canvas.setFontHeightPx(60);
    c.canvas.textOut(10, 10, QStringLiteral("█"));
    // A white box over the text's left half: the text must already be under it.
    c.canvas.setPen(Qt::white, Canvas::PenStyle::Solid, 0);
    c.canvas.setBrush(Qt::white, false);
    c.canvas.rectangle(DeviceRect{0, 0, 25, 100});
    c.canvas.drawText(QStringLiteral("█"), DeviceRect{200, 10, 390, 190}, DT_NOPREFIX);
    const QImage& img = c.image;
    c.canvas.flush();
    c.painter.end();
    EXPECT_EQ(img.pixel(15, 40), qRgb(255, 255, 255)) << "the box did not cover the text";
    EXPECT_NE(img.pixel(30, 40), qRgb(255, 255, 255)) << "the text outside the box is missing";
    EXPECT_NE(img.pixel(215, 40), qRgb(255, 255, 255)) << "the boxed text is missing";
}

// Catches: a rectangle one pixel too large: GDI's rectangle, outline included, covers
// left … right − 1 and top … bottom − 1.
TEST(QtCanvas, RectangleCoversRightAndBottomExclusive)
{
    ImageCanvas c;
    c.canvas.setPen(Qt::black, Canvas::PenStyle::Solid, 1);
    c.canvas.setBrush(Qt::black, true);
    c.canvas.rectangle(DeviceRect{10, 20, 30, 35});
    const auto ink = c.ink();
    ASSERT_TRUE(ink.has_value());
    EXPECT_EQ(*ink, QRect(QPoint(10, 20), QPoint(29, 34)));
}

// Catches: a ten-digit font height handed to the font engine as it is, and a text's width
// summed past int.
TEST(QtCanvas, HugeFontHeightsStopAtTheLargestPixelSize)
{
    if (!installed("IPAGothic"))
        GTEST_SKIP() << "IPAGothic not installed";
    ImageCanvas c;
    c.canvas.setFontName(kGothic);
    for (const int height : {-2000000000, 2000000000}) {
        c.canvas.setFontHeightPx(height);
        EXPECT_LE(c.canvas.qfont().pixelSize(), 0xFFFF) << height;
    }
    c.canvas.setFontHeightPx(-2000000000);
    EXPECT_EQ(c.canvas.textWidth(QString(40000, QChar(u'あ'))), std::numeric_limits<int>::max())
        << "40000 characters of 65535 pixels";
}

// Catches: coordinates at the ends of int reaching Qt: a clip box whose width overflowed drew
// nothing, and glyphs far off the page went to the raster engine's fixed point.
TEST(QtCanvas, FarOffCoordinatesDrawNothingAndAHugeBoxStillCentres)
{
    if (!installed("IPAGothic"))
        GTEST_SKIP() << "IPAGothic not installed";
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const QString block = QStringLiteral("██");
    ImageCanvas far;
    far.canvas.setFontName(kGothic);
    far.canvas.setFontHeightPx(60);
    for (const auto& [x, y] : {std::pair{kMax, kMax}, {kMin, kMin}, {kMax, 10}, {10, kMin}}) {
        far.canvas.textOut(x, y, block);
        far.canvas.drawText(block, DeviceRect{x, y, kMax, kMax}, DT_NOPREFIX);
        far.canvas.drawText(block, DeviceRect{kMin, kMin, x, y}, DT_NOPREFIX);
    }
    EXPECT_FALSE(far.ink().has_value());

    // A box from one end of int to the other centres on the origin; it is lower than the text,
    // so the text is drawn clipped to it.
    ImageCanvas huge;
    huge.canvas.setFontName(kGothic);
    huge.canvas.setFontHeightPx(-60);
    huge.canvas.drawText(block, DeviceRect{kMin, 0, kMax, 40},
                         DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    const auto ink = huge.ink();
    ASSERT_TRUE(ink.has_value());
    // Two 60-pixel blocks from x −61: the second one's ink, down to the box's last row.
    EXPECT_EQ(ink->topLeft(), QPoint(0, 0));
    EXPECT_EQ(ink->bottom(), 39);
    EXPECT_LT(ink->right(), 60);
}

} // namespace
} // namespace nobrisa

namespace nobrisa {
namespace {

// The fast path lays glyphs from the font's advances; it must place every glyph exactly where
// QTextLayout does, or texts would move between a clipped and an unclipped box.
TEST(ShapeLine, PlacesGlyphsAsTheTextLayoutDoes)
{
    QImage page(100, 100, QImage::Format_RGB32);
    const QStringList texts = {
        QStringLiteral("0123456789"),
        QStringLiteral("山口　陽菜"),
        QStringLiteral("宮城県仙台市青葉区南森町８丁目１４番１６号"),
        QStringLiteral("ｶﾌﾞｼｷｶﾞｲｼｬ ｻﾝﾌﾟﾙ"),
        QStringLiteral("Tel 058-8832-6193 (代)"),
        QStringLiteral("〒872-1257"),
        QStringLiteral("𠮷野家"),          // outside the BMP: laid out by QTextLayout
        QStringLiteral("が"), // a combining mark: laid out by QTextLayout
    };
    for (const QString& family : {kGothic, kMincho, kOcrB}) {
        for (const int pixels : {50, 83, 167}) {
            QFont font;
            font.setFamilies({family});
            font.setPixelSize(pixels);
            font.setHintingPreference(QFont::PreferNoHinting);
            font.setKerning(false);
            const QFontMetrics metrics(font, &page);
            for (const QString& text : texts) {
                SCOPED_TRACE((family + QLatin1Char(' ') + QString::number(pixels) +
                              QLatin1Char(' ') + text)
                                 .toStdString());
                const ShapedText fast =
                    shapeLine(font, QRawFont::fromFont(font), metrics, &page, text);
                const ShapedText laid = shapeLineWithLayout(font, metrics, &page, text);
                EXPECT_NEAR(fast.baselineShift, laid.baselineShift, 1e-9);
                ASSERT_EQ(fast.runs.size(), laid.runs.size());
                for (qsizetype r = 0; r < fast.runs.size(); ++r) {
                    const QGlyphRun& a = fast.runs[r];
                    const QGlyphRun& b = laid.runs[r];
                    EXPECT_EQ(a.rawFont().familyName(), b.rawFont().familyName());
                    EXPECT_EQ(a.rawFont().pixelSize(), b.rawFont().pixelSize());
                    EXPECT_EQ(a.glyphIndexes(), b.glyphIndexes());
                    ASSERT_EQ(a.positions().size(), b.positions().size());
                    for (qsizetype g = 0; g < a.positions().size(); ++g) {
                        EXPECT_NEAR(a.positions()[g].x(), b.positions()[g].x(), 1e-6);
                        EXPECT_NEAR(a.positions()[g].y(), b.positions()[g].y(), 1e-6);
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace nobrisa
