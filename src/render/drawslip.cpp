#include "render/drawslip.h"

#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "render/canvas.h"
#include "text/lines.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace nobrisa {

namespace {

// Digit grid of the full slip, in 0.1 mm: neighbouring cells are 51 apart.
constexpr int kPitch = 51;
constexpr int kAccountLeftFirst = 55;   // cells 1-5
constexpr int kAccountLeftCheck = 335;  // cell 6
constexpr int kAccountLeftThird = 410;  // cells 7-13
constexpr int kAccountRightFirst = 1377;
constexpr int kAccountRightCheck = 1658;
constexpr int kAccountRightThird = 1428;
constexpr int kAmountLeft = 816;        // cells 14-21
constexpr int kAmountRight = 1377;
constexpr int kAmountRightRow = 490;    // fixed: does not follow the print positions

QString faceOr(const QString& face, const char16_t* fallback)
{
    return face.isEmpty() ? QString::fromUtf16(fallback) : face;
}

int truncToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::trunc(v));
}

// The drawing steps shared by the full slip and the right half. The canvas font is changed
// step by step and never restored: a step that sets no face draws in the face the previous
// step left, which is how the right-half payer text takes the left payer's face.
class SlipPainter final {
public:
    SlipPainter(Canvas& canvas, const SlipSource& source)
        : mCanvas(canvas)
        , mSlip(source.slip)
        , mPos(source.positions)
        , mCells(source.cells)
        , mCoords(source.device, source.slip.ox(), source.slip.oy())
    {
    }

    void begin()
    {
        setko(mSlip, mCells);
        mCanvas.setBkModeTransparent();
        mCanvas.setFontCharset(DEFAULT_CHARSET);
    }

    void account(bool left, bool right)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont1, kFallbackDigitFace));
        mCanvas.setFontSizePt(mSlip.SpinEditFont1.toInt(12));
        const int row1 = mPos.SEkouza1.value(0);
        const int row2 = mPos.SEkouza2.value(0);
        if (left) {
            cells(1, 5, kAccountLeftFirst, row1);
            cells(6, 6, kAccountLeftCheck, row1);
            cells(7, 13, kAccountLeftThird, row1);
        }
        if (right) {
            cells(1, 5, kAccountRightFirst, row1);
            cells(6, 6, kAccountRightCheck, row1);
            cells(7, 13, kAccountRightThird, row2);
        }
    }

    void amount(bool left, bool right)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont2, kFallbackDigitFace));
        mCanvas.setFontSizePt(mSlip.SpinEditFont2.toInt(12));
        if (left)
            cells(14, 21, kAmountLeft, mPos.SEkouza1.value(0));
        if (right)
            cells(14, 21, kAmountRight, kAmountRightRow);
    }

    void subscriber(bool drawLeft)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont5, kFallbackGothicFace));
        const DeviceRect boxes[2] = {
            box(mPos.SEkanyuLleft, 110, mPos.SEkanyuLtop, 240, mPos.SEkanyuLright, 740,
                mPos.SEkanyuLbottom, 320),
            box(mPos.SEkanyuRleft, 1380, mPos.SEkanyuRtop, 350, mPos.SEkanyuRright, 1740,
                mPos.SEkanyuRbottom, 430),
        };
        NumberText* sizes[2] = {&mSlip.SEfont5, &mSlip.SEfont51};
        for (int i = 0; i < 2; ++i) {
            std::optional<int> fitted;
            if (mSlip.CheckBoxfont5)
                fitted = fitName(boxes[i]);
            if (fitted)
                sizes[i]->setValue(*fitted);
            else
                mCanvas.setFontSizePt(sizes[i]->toInt(12));
            if (i == 0 && !drawLeft)
                continue;
            if (lineCount(mSlip.Ekanyu) == 1)
                mCanvas.drawText(lineAt(mSlip.Ekanyu, 0), boxes[i], kFlagsNameOneLine);
            else
                mCanvas.drawText(wholeText(mSlip.Ekanyu), boxes[i], kFlagsNameLines);
        }
    }

    // The left payer group. With `draw` off (right half) only the face and size are set and
    // the size fitted, so that the right-half payer text inherits them.
    void payerLeft(bool draw, bool nineAboveTwelve)
    {
        const QString face = faceOr(mSlip.CBfont4, kFallbackGothicFace);
        if (draw) {
            mCanvas.setFontName(face);
            mCanvas.setFontSizePt(9);
            textOut(mPos.SEzipleft.toInt(190), mPos.SEziptop.toInt(700), mSlip.Ezip);

            mCanvas.setFontName(face);
            mCanvas.setFontSizePt(9);
            const int teleX = mPos.SEteleleft.toInt(400);
            const int teleY = mPos.SEteletop.toInt(860);
            textOut(teleX, teleY, mSlip.Etele1);
            textOut(teleX + 150, teleY, mSlip.Etele2);
            textOut(teleX + 300, teleY, mSlip.Etele3);
        }
        const DeviceRect rect = box(mPos.SEharaiLleft, 130, mPos.SEharaiLtop, 730,
                                    mPos.SEharaiLright, 800, mPos.SEharaiLbottom, 860);
        mCanvas.setFontName(face);
        if (mSlip.CheckBoxfont4) {
            const int s = fitAddress(rect);
            mSlip.SEfont4.setText(nineAboveTwelve && s > 12 ? QStringLiteral("9")
                                                            : QString::number(s));
        } else {
            mCanvas.setFontSizePt(mSlip.SEfont4.toInt(9));
        }
        if (draw)
            mCanvas.drawText(wholeText(mSlip.Maddres), rect, kFlagsBlock);
    }

    void payerRight()
    {
        mCanvas.setFontSizePt(mSlip.SEfont41.toInt(9));
        if (mCanvas.fontName().isEmpty())
            mCanvas.setFontName(QString::fromUtf16(kFallbackGothicFace));
        const DeviceRect rect = box(mPos.SEharaiRleft, 1390, mPos.SEharaiRtop, 560,
                                    mPos.SEharaiRright, 1760, mPos.SEharaiRbottom, 770);
        const int bw = mCoords.mmx(mPos.SEharaiRright.toInt(1760)) -
                       mCoords.mmx(mPos.SEharaiRleft.toInt(1390));
        const QString text = wholeText(mSlip.MaddresR);
        const bool oneLine = lineCount(mSlip.MaddresR) == 1 && mCanvas.textWidth(text) < bw;
        mCanvas.drawText(text, rect, oneLine ? kFlagsPayerOneLine : kFlagsBlock);
    }

    void message()
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont3, kFallbackMinchoFace));
        mCanvas.setFontSizePt(mSlip.SEfont3.toInt(10));
        const DeviceRect rect = box(mPos.SEtsushinLeft, 110, mPos.SEtsushinTop, 350,
                                    mPos.SEtsushinRight, 1190, mPos.SEtsushinBottom, 680);
        mCanvas.drawText(wholeText(mSlip.MemoTsuushin), rect, kFlagsBlock);
    }

private:
    void cells(int first, int last, int originX, int y)
    {
        for (int i = first; i <= last; ++i)
            textOut(originX + kPitch * (i - first), y, mCells[i]);
    }

    void textOut(int x, int y, const QString& text)
    {
        if (!text.isEmpty())
            mCanvas.textOut(mCoords.mmx(x), mCoords.mmy(y), text);
    }

    DeviceRect box(const NumberText& left, int leftFallback, const NumberText& top,
                   int topFallback, const NumberText& right, int rightFallback,
                   const NumberText& bottom, int bottomFallback) const
    {
        return DeviceRect{mCoords.mmx(left.toInt(leftFallback)),
                          mCoords.mmy(top.toInt(topFallback)),
                          mCoords.mmx(right.toInt(rightFallback)),
                          mCoords.mmy(bottom.toInt(bottomFallback))};
    }

    // Largest size at which the subscriber name's lines fill the box's height, shrunk when the
    // longest line is too wide. No lines: nothing to fit (the size stays as the field says).
    std::optional<int> fitName(const DeviceRect& rect)
    {
        const int n = lineCount(mSlip.Ekanyu);
        if (n == 0)
            return std::nullopt;
        const int w = rect.width();
        const int h = rect.height();
        mCanvas.setFontSizePt(100);
        const int p = mCanvas.textHeight(QStringLiteral("あ"));
        if (p <= 0)
            return std::nullopt;
        mCanvas.setFontSizePt(truncToInt(static_cast<double>(h) / p * 100 / n));
        const int tw = mCanvas.textWidth(longestLine(mSlip.Ekanyu));
        if (tw > 0 && tw > w) {
            const int current = std::abs(mCanvas.fontSizePt());
            mCanvas.setFontSizePt(truncToInt(current * (static_cast<double>(w) / tw)));
        }
        return std::abs(mCanvas.fontSizePt());
    }

    // Cell height that makes the address lines fill the box from top to bottom, shrunk when
    // the longest line is too wide; returns the size in points.
    int fitAddress(const DeviceRect& rect)
    {
        const int n = lineCount(mSlip.Maddres);
        const int w = rect.width();
        int t = rect.height();
        if (n > 1)
            t /= n;
        mCanvas.setFontHeightPx(t);
        const int tw = mCanvas.textWidth(longestLine(mSlip.Maddres));
        if (tw > 0 && tw > w)
            mCanvas.setFontHeightPx(
                truncToInt(static_cast<double>(w) / tw * mCanvas.fontHeight()));
        return std::abs(mCanvas.fontSizePt());
    }

    Canvas& mCanvas;
    TSlipRecord& mSlip;
    const TPrintPositions& mPos;
    DigitCells& mCells;
    Coords mCoords;
};

} // namespace

void DrawSlip(Canvas& canvas, const SlipSource& source)
{
    SlipPainter p(canvas, source);
    const TSlipRecord& slip = source.slip;
    p.begin();
    if (slip.CheckBox1)
        p.account(true, true);
    if (slip.CheckBox2)
        p.amount(true, true);
    if (slip.CheckBox1)
        p.subscriber(true);
    if (slip.CheckBox4)
        p.payerLeft(true, true);
    if (slip.CheckBox4R)
        p.payerRight();
    if (slip.CheckBox3)
        p.message();
}

void DrawSlipRight(Canvas& canvas, const SlipSource& source)
{
    SlipPainter p(canvas, source);
    const TSlipRecord& slip = source.slip;
    p.begin();
    if (slip.CheckBox1)
        p.account(false, true);
    if (slip.CheckBox2)
        p.amount(false, true);
    if (slip.CheckBox1)
        p.subscriber(false);
    if (slip.CheckBox4)
        p.payerLeft(false, false);
    if (slip.CheckBox4R)
        p.payerRight();
}

} // namespace nobrisa
