#include "render/drawslip.h"

#include "model/columnmapping.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/stringtable.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"
#include "render/canvas.h"
#include "text/lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>

namespace nobrisa {

namespace {

// Where the digit cells go, in 0.1 mm: the x of the first cell of each run and the distance
// between neighbouring cells.
struct DigitGrid {
    int pitch;
    int accountLeftFirst;  // cells 1-5
    int accountLeftCheck;  // cell 6
    int accountLeftThird;  // cells 7-13
    int accountRightFirst;
    int accountRightCheck;
    int accountRightThird;
    int amountLeft;        // cells 14-21
    int amountRight;
};

// The full slip's grid, and the slightly different one the table-row renderer prints on.
constexpr DigitGrid kSlipGrid{51, 55, 335, 410, 1377, 1658, 1428, 816, 1377};
constexpr DigitGrid kRowGrid{50, 60, 340, 420, 1380, 1660, 1430, 820, 1380};
constexpr int kAmountRightRow = 490;    // fixed: does not follow the print positions

// The row renderer's subscriber name boxes are fixed (left, top, right, bottom); the width its
// name fitting compares against is the device x of a fixed position, not the box's width.
constexpr int kRowNameLeft[4] = {110, 240, 740, 320};
constexpr int kRowNameRight[4] = {1380, 350, 1740, 430};
constexpr int kRowNameLeftReference = 630;
constexpr int kRowNameRightReference = 360;
// A row name is fitted from 20 points shared among its lines.
constexpr int kRowNamePoints = 20;

QString faceOr(const QString& face, const char16_t* fallback)
{
    return face.isEmpty() ? QString::fromUtf16(fallback) : face;
}

// A fitted size or height: truncated toward zero, and bounded to int (an upside-down or far-off
// box can give any value).
int truncToInt(long double v)
{
    if (!std::isfinite(v))
        return 0;
    constexpr long double kMin = std::numeric_limits<int>::min();
    constexpr long double kMax = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(v), kMin, kMax));
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

    void account(const DigitGrid& grid, bool left, bool right)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont1, kFallbackDigitFace));
        mCanvas.setFontSizePt(mSlip.SpinEditFont1.toInt(12));
        // The rows are the whole numbers as stored, not clamped to the dialog's range.
        const int row1 = mPos.SEkouza1.toInt(0);
        const int row2 = mPos.SEkouza2.toInt(0);
        if (left) {
            cells(grid, 1, 5, grid.accountLeftFirst, row1);
            cells(grid, 6, 6, grid.accountLeftCheck, row1);
            cells(grid, 7, 13, grid.accountLeftThird, row1);
        }
        if (right) {
            cells(grid, 1, 5, grid.accountRightFirst, row1);
            cells(grid, 6, 6, grid.accountRightCheck, row1);
            cells(grid, 7, 13, grid.accountRightThird, row2);
        }
    }

    void amount(const DigitGrid& grid, bool left, bool right)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont2, kFallbackDigitFace));
        mCanvas.setFontSizePt(mSlip.SpinEditFont2.toInt(12));
        if (left)
            cells(grid, 14, 21, grid.amountLeft, mPos.SEkouza1.toInt(0));
        if (right)
            cells(grid, 14, 21, grid.amountRight, kAmountRightRow);
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
        if (draw) {
            postalCode(mSlip.Ezip);
            const QString parts[3] = {mSlip.Etele1, mSlip.Etele2, mSlip.Etele3};
            telephone(parts);
        }
        const DeviceRect rect = payerLeftBox();
        mCanvas.setFontName(payerFace());
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

    // The payer's postal code at its anchor, 9 points.
    void postalCode(const QString& text)
    {
        mCanvas.setFontName(payerFace());
        mCanvas.setFontSizePt(9);
        textOut(mPos.SEzipleft.toInt(190), mPos.SEziptop.toInt(700), text);
    }

    // The telephone parts side by side from the telephone anchor, 9 points.
    void telephone(std::span<const QString> parts)
    {
        mCanvas.setFontName(payerFace());
        mCanvas.setFontSizePt(9);
        const std::int64_t x = mPos.SEteleleft.toInt(400);
        const int y = mPos.SEteletop.toInt(860);
        for (std::size_t i = 0; i < parts.size(); ++i)
            textOut(x + 150 * static_cast<std::int64_t>(i), y, parts[i]);
    }

    // An address block in the left payer box at a fixed size, not fitted.
    void payerLeftBlock(const QString& text, int sizePt)
    {
        mCanvas.setFontName(payerFace());
        mCanvas.setFontSizePt(sizePt);
        mCanvas.drawText(text, payerLeftBox(), kFlagsBlock);
    }

    void payerRight()
    {
        payerRight(wholeText(mSlip.MaddresR), lineCount(mSlip.MaddresR) == 1, 9);
    }

    // The right-half payer text in the face the previous group left. When the caller counts it
    // as one line and it is narrower than the box, it is centred vertically.
    void payerRight(const QString& text, bool oneLine, int sizeFallback)
    {
        mCanvas.setFontSizePt(mSlip.SEfont41.toInt(sizeFallback));
        if (mCanvas.fontName().isEmpty())
            mCanvas.setFontName(QString::fromUtf16(kFallbackGothicFace));
        const DeviceRect rect = box(mPos.SEharaiRleft, 1390, mPos.SEharaiRtop, 560,
                                    mPos.SEharaiRright, 1760, mPos.SEharaiRbottom, 770);
        const int bw = mCoords.mmx(mPos.SEharaiRright.toInt(1760)) -
                       mCoords.mmx(mPos.SEharaiRleft.toInt(1390));
        const bool centred = oneLine && mCanvas.textWidth(text) < bw;
        mCanvas.drawText(text, rect, centred ? kFlagsPayerOneLine : kFlagsBlock);
    }

    // The subscriber name of a table-row slip: fixed boxes, lines centred from the top. With
    // automatic sizing an empty name has nothing to fit and nothing is drawn.
    void subscriberRow()
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont5, kFallbackGothicFace));
        const QStringList lines = splitLines(mSlip.Ekanyu);
        if (mSlip.CheckBoxfont5 && lines.isEmpty())
            return;
        const QString text = joinLines(lines);
        const QString longest = mSlip.CheckBoxfont5 ? longestLine(mSlip.Ekanyu) : QString();
        const struct {
            const int* edges;
            int reference;
            const NumberText& size;
        } boxes[2] = {
            {kRowNameLeft, kRowNameLeftReference, mSlip.SEfont5},
            {kRowNameRight, kRowNameRightReference, mSlip.SEfont51},
        };
        for (const auto& b : boxes) {
            if (mSlip.CheckBoxfont5)
                fitRowName(static_cast<int>(lines.size()), longest, mCoords.mmx(b.reference));
            else
                mCanvas.setFontSizePt(b.size.toInt(12));
            const DeviceRect rect{mCoords.mmx(b.edges[0]), mCoords.mmy(b.edges[1]),
                                  mCoords.mmx(b.edges[2]), mCoords.mmy(b.edges[3])};
            mCanvas.drawText(text, rect, kFlagsRowName);
        }
    }

    void message() { message(wholeText(mSlip.MemoTsuushin)); }

    void message(const QString& text)
    {
        mCanvas.setFontName(faceOr(mSlip.CBfont3, kFallbackMinchoFace));
        mCanvas.setFontSizePt(mSlip.SEfont3.toInt(10));
        const DeviceRect rect = box(mPos.SEtsushinLeft, 110, mPos.SEtsushinTop, 350,
                                    mPos.SEtsushinRight, 1190, mPos.SEtsushinBottom, 680);
        mCanvas.drawText(text, rect, kFlagsBlock);
    }

private:
    void cells(const DigitGrid& grid, int first, int last, int originX, int y)
    {
        for (int i = first; i <= last; ++i)
            textOut(originX + grid.pitch * (i - first), y, mCells[i]);
    }

    QString payerFace() const { return faceOr(mSlip.CBfont4, kFallbackGothicFace); }

    DeviceRect payerLeftBox() const
    {
        return box(mPos.SEharaiLleft, 130, mPos.SEharaiLtop, 730, mPos.SEharaiLright, 800,
                   mPos.SEharaiLbottom, 860);
    }

    void textOut(std::int64_t x, std::int64_t y, const QString& text)
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
    // The quotients are computed in the extended precision of mmx/mmy: a size whose exact
    // value is whole (725 / 1250 × 100 / 2 = 29) truncates there as the positions do, where
    // double would land a hair off and give the size next to it. The size is read back with
    // the canvas's sign: an upside-down box gives a negative size, which the size box clamps.
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
        mCanvas.setFontSizePt(truncToInt(static_cast<long double>(h) / p * 100 / n));
        const int tw = mCanvas.textWidth(longestLine(mSlip.Ekanyu));
        if (tw > 0 && tw > w) {
            const int current = mCanvas.fontSizePt();
            mCanvas.setFontSizePt(truncToInt(current * (static_cast<long double>(w) / tw)));
        }
        return mCanvas.fontSizePt();
    }

    // Cell height that makes the address lines fill the box from top to bottom, shrunk when
    // the longest line is too wide (in extended precision, as the name); returns the size in
    // points.
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
                truncToInt(static_cast<long double>(w) / tw * mCanvas.fontHeight()));
        return std::abs(mCanvas.fontSizePt());
    }

    // 20 points shared among the name's lines, shrunk when the longest line is wider than the
    // reference width. Only ever shrinks: no line is made to fill the box.
    void fitRowName(int lineCount, const QString& longest, int reference)
    {
        mCanvas.setFontSizePt(kRowNamePoints / lineCount);
        const int tw = mCanvas.textWidth(longest);
        if (tw > 0 && tw > reference) {
            const long long current = std::abs(mCanvas.fontSizePt());
            mCanvas.setFontSizePt(static_cast<int>(current * reference / tw));
        }
    }

    Canvas& mCanvas;
    TSlipRecord& mSlip;
    const TPrintPositions& mPos;
    DigitCells& mCells;
    Coords mCoords;
};

// The values a slip takes from one table row, as the column mapping says. Row 0 is the sample
// row: where a value would come from it, a sample text stands in its place. Cells are read
// trimmed of blanks and control characters; a row or column outside the table reads as empty.
class RowValues final {
public:
    RowValues(const RowSource& source, const QString& message)
        : mTable(source.table), mMapping(source.mapping), mRow(source.row), mMessage(message)
    {
    }

    // Cells 14-21 take this instead of the record's amount.
    QString amount(const TSlipRecord& slip) const
    {
        if (sample())
            return QStringLiteral("00000000");
        if (!selects(MapField::Amount))
            return slip.SEkingaku.text();
        return cell(MapField::Amount).toString();
    }

    // Nothing when the mapping prints no postal code or telephone.
    std::optional<QString> postalCode() const
    {
        return sampleOrCell(MapField::PostalCode, u"000-0000");
    }
    std::optional<QString> telephone() const
    {
        return sampleOrCell(MapField::Telephone, u"00-0000-0000");
    }

    // Address 1 (or the sample block), then on data rows address 2 and the name, one a line.
    QString addressBlock() const
    {
        QString block;
        if (selects(MapField::Address1)) {
            if (sample())
                block = QStringLiteral("住所１\r\n住所２\r\n氏名");
            else
                block = cell(MapField::Address1).toString();
        }
        if (data()) {
            appendSelected(block, MapField::Address2);
            appendSelected(block, MapField::Name);
        }
        return block;
    }

    // The right half shows the payer's name alone when a data row has one, else the block.
    QString rightPayer(const QString& block) const
    {
        return selects(MapField::Name) && data() ? cell(MapField::Name).toString() : block;
    }

    // The four message parts one under the other. A list on "(通信欄)" puts the record's whole
    // message in its place, so several such lists repeat it.
    QString message() const
    {
        QString text;
        if (!selects(MapField::Message1))
            text = mMessage;
        else if (sample())
            text = QStringLiteral("通信欄");
        else
            text = cell(MapField::Message1).toString();
        for (MapField f : {MapField::Message2, MapField::Message3, MapField::Message4}) {
            if (!selects(f))
                appendLine(text, mMessage);
            else
                appendSelected(text, f);
        }
        return text;
    }

private:
    bool sample() const { return mRow == 0; }
    bool data() const { return mRow > 0; }
    bool selects(MapField f) const { return mMapping.column(f) > 0; }

    QStringView cell(MapField f) const
    {
        return trimBlankCodes(mTable.cellView(mMapping.column(f), mRow));
    }

    std::optional<QString> sampleOrCell(MapField f, const char16_t* sampleText) const
    {
        if (!selects(f))
            return std::nullopt;
        return sample() ? QString::fromUtf16(sampleText) : cell(f).toString();
    }

    // A selected column's cell as a further line; the sample row has no cell to add.
    void appendSelected(QString& text, MapField f) const
    {
        if (selects(f) && data())
            appendLine(text, cell(f));
    }

    static void appendLine(QString& text, QStringView line)
    {
        if (!text.isEmpty())
            text += u"\r\n";
        text += line;
    }

    const StringTable& mTable;
    const ColumnMapping& mMapping;
    int mRow;
    const QString& mMessage;
};

} // namespace

void DrawSlip(Canvas& canvas, const SlipSource& source)
{
    SlipPainter p(canvas, source);
    const TSlipRecord& slip = source.slip;
    p.begin();
    if (slip.CheckBox1)
        p.account(kSlipGrid, true, true);
    if (slip.CheckBox2)
        p.amount(kSlipGrid, true, true);
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
        p.account(kSlipGrid, false, true);
    if (slip.CheckBox2)
        p.amount(kSlipGrid, false, true);
    if (slip.CheckBox1)
        p.subscriber(false);
    if (slip.CheckBox4)
        p.payerLeft(false, false);
    if (slip.CheckBox4R)
        p.payerRight();
}

void DrawSlipRow(Canvas& canvas, const SlipSource& source, const RowSource& row)
{
    SlipPainter p(canvas, source);
    const TSlipRecord& slip = source.slip;
    const QString memo = wholeText(slip.MemoTsuushin);
    const RowValues values(row, memo);

    p.begin();
    source.cells.fillRightAligned(14, 21, values.amount(slip));
    if (slip.CheckBox1)
        p.account(kRowGrid, true, true);
    p.amount(kRowGrid, true, true);
    if (slip.CheckBox1)
        p.subscriberRow();

    // Payer and message are printed on every row slip, whatever their switches say.
    if (const auto zip = values.postalCode())
        p.postalCode(*zip);
    if (const auto tel = values.telephone())
        p.telephone({&*tel, 1});
    const QString block = values.addressBlock();
    p.payerLeftBlock(block, slip.SEfont4.toInt(10));
    const QString right = values.rightPayer(block);
    const bool oneLine = !right.isEmpty() && !right.contains(u'\r') && !right.contains(u'\n');
    p.payerRight(right, oneLine, 10);
    p.message(values.message());
}

} // namespace nobrisa
