#include "platform/qtcanvas.h"

#include "model/coords.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace nobrisa {

namespace {

int cellHeightAt(const QFont& base, int pixelSize, QPaintDevice* device)
{
    QFont font(base);
    font.setPixelSize(pixelSize);
    const QFontMetrics fm(font, device);
    return fm.ascent() + fm.descent();
}

// Characters that are drawn as they come, one glyph each from the font's advance: no marks to
// attach, no joining or reordering, no controls or format characters.
bool needsNoShaping(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return false;
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Other_Control:
        case QChar::Other_Format:
            return false;
        default:
            break;
        }
        switch (c.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
            break;
        default:
            return false;
        }
    }
    return true;
}

// GDI picks its default size for a height of 0; 12 points at the font resolution stands in.
constexpr int kDefaultPointSize = 12;

// The largest font height handed to Qt, in pixels: FreeType keeps pixels per em in 16 bits.
// Every size the size boxes allow stays below it (999 points at 2400 dpi is 33300 pixels); a
// larger height (a name fitted to a box a metre high, a hand-edited size of ten digits) is
// drawn at this one.
constexpr int kMaxFontPixels = 0xFFFF;

// Coordinates reach Qt within the device limit, which Qt's raster engine can hold in its fixed
// point with room to spare; anything beyond it is off the page either way.
bool withinLimit(const QPointF& p)
{
    return std::abs(p.x()) <= kDeviceCoordinateLimit && std::abs(p.y()) <= kDeviceCoordinateLimit;
}

// The glyphs of a run that lie within the limit when the run is drawn at `origin`.
QGlyphRun glyphsWithinLimit(const QGlyphRun& run, const QPointF& origin)
{
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QList<quint32> keptGlyphs;
    QList<QPointF> keptPositions;
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
        if (withinLimit(origin + positions[i])) {
            keptGlyphs.append(glyphs[i]);
            keptPositions.append(positions[i]);
        }
    }
    QGlyphRun kept(run);
    kept.setGlyphIndexes(keptGlyphs);
    kept.setPositions(keptPositions);
    return kept;
}

DeviceRect safeRect(const DeviceRect& r)
{
    return DeviceRect{limitDevice(r.left), limitDevice(r.top), limitDevice(r.right),
                      limitDevice(r.bottom)};
}

} // namespace

ShapedText shapeLineWithLayout(const QFont& font, const QFontMetrics& metrics,
                               QPaintDevice* device, const QString& text)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    ShapedText shaped;
    if (line.isValid()) {
        shaped.runs = layout.glyphRuns();
        shaped.baselineShift = line.ascent() - metrics.ascent();
    }
    return shaped;
}

ShapedText shapeLine(const QFont& font, const QRawFont& raw, const QFontMetrics& metrics,
                     QPaintDevice* device, const QString& text)
{
    if (text.isEmpty() || !needsNoShaping(text) || !raw.isValid())
        return shapeLineWithLayout(font, metrics, device, text);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return shapeLineWithLayout(font, metrics, device, text); // a fallback font is needed
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    const qreal ascent = raw.ascent();
    qreal x = 0;
    for (const QPointF& advance : advances) {
        positions.append(QPointF(x, ascent));
        x += advance.x();
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    ShapedText shaped;
    shaped.runs.append(run);
    shaped.baselineShift = ascent - metrics.ascent();
    return shaped;
}

QtCanvas::QtCanvas(QPainter* painter)
    : mPainter(painter)
{
}

void QtCanvas::setPainter(QPainter* painter)
{
    flush();
    mPending.clear();
    mPainter = painter;
    mTextPenSet = false;
    mFontStale = true;
    mCellHeightSizes.clear();
    mFonts.clear();
    mCurrent = nullptr;
}

void QtCanvas::fontChanged()
{
    mFontStale = true;
}

const QFont& QtCanvas::qfont()
{
    if (mFontStale)
        resolveFont();
    return mCurrent->font;
}

const QFontMetrics& QtCanvas::metrics()
{
    if (mFontStale)
        resolveFont();
    return mCurrent->metrics;
}

void QtCanvas::resolveFont()
{
    int height = std::clamp(fontHeight(), -kMaxFontPixels, kMaxFontPixels);
    if (height == 0)
        height = -mulDiv(kDefaultPointSize, fontPixelsPerInch(), 72);
    const QString key = fontName() + QLatin1Char('\n') + QString::number(height);
    if (const auto it = mFonts.constFind(key); it != mFonts.cend()) {
        mCurrent = it.value().get();
        mFontStale = false;
        return;
    }

    QPaintDevice* device = mPainter ? mPainter->device() : nullptr;
    QFont font;
    if (!fontName().isEmpty())
        font.setFamilies({fontName()});
    // Printer output is positioned in device pixels; hinting would move glyph edges by up to a
    // pixel per glyph and make widths depend on the output device.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);

    if (height < 0)
        font.setPixelSize(-height);
    else
        font.setPixelSize(pixelSizeForCellHeight(font, height));

    // A fitted size can take any value; keep the cache from growing without bound.
    if (mFonts.size() > 256)
        mFonts.clear();
    auto entry = std::make_shared<FontEntry>(FontEntry{font, QFontMetrics(font, device), QRawFont::fromFont(font), {}, {}});
    mCurrent = entry.get();
    mFonts.insert(key, std::move(entry));
    mFontStale = false;
}

int QtCanvas::advanceOf(QStringView text)
{
    if (mFontStale)
        resolveFont();
    // In 64 bits: a long text in a large font can be wider than an int.
    std::int64_t width = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        qsizetype len = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            len = 2;
        }
        auto it = mCurrent->advances.constFind(c);
        if (it == mCurrent->advances.cend())
            it = mCurrent->advances.insert(
                c, mCurrent->metrics.horizontalAdvance(text.mid(i, len).toString()));
        width += it.value();
        i += len - 1;
    }
    return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

int QtCanvas::pixelSizeForCellHeight(const QFont& font, int cellHeight)
{
    const QString key = font.families().value(0) + QLatin1Char('\n') + QString::number(cellHeight);
    if (const auto it = mCellHeightSizes.constFind(key); it != mCellHeightSizes.cend())
        return it.value();

    QPaintDevice* device = mPainter ? mPainter->device() : nullptr;
    // Ascent + descent grows in proportion to the size: estimate from a large size, then settle
    // on the size whose whole-pixel cell height is nearest (the smaller size on a tie).
    constexpr int kReference = 1000;
    const int referenceCell = cellHeightAt(font, kReference, device);
    int size = referenceCell > 0
                   ? std::max(1, static_cast<int>(
                                     std::lround(double(cellHeight) * kReference / referenceCell)))
                   : cellHeight;
    int cell = cellHeightAt(font, size, device);
    while (cell > cellHeight && size > 1) {
        const int smaller = cellHeightAt(font, size - 1, device);
        if (std::abs(smaller - cellHeight) > std::abs(cell - cellHeight))
            break;
        --size;
        cell = smaller;
    }
    while (cell < cellHeight) {
        const int larger = cellHeightAt(font, size + 1, device);
        if (std::abs(larger - cellHeight) >= std::abs(cell - cellHeight))
            break;
        ++size;
        cell = larger;
    }
    mCellHeightSizes.insert(key, size);
    return size;
}

void QtCanvas::useTextPen()
{
    // GDI draws text in the text colour (black throughout), not in the pen's colour as Qt does.
    if (!mTextPenSet) {
        mPainter->setPen(QPen(Qt::black));
        mTextPenSet = true;
    }
}

void QtCanvas::useShapePen()
{
    flush();
    mPainter->setPen(mPen);
    mPainter->setBrush(mBrush);
    mTextPenSet = false;
}

void QtCanvas::textOut(int x, int y, const QString& text)
{
    if (mFontStale)
        resolveFont();
    useTextPen();
    // GDI places the top-left of the character cell at (x, y); Qt draws at the baseline.
    drawShaped(x, y, text, true);
}

const ShapedText& QtCanvas::shapedText(const QString& text)
{
    auto it = mCurrent->shaped.constFind(text);
    if (it == mCurrent->shaped.cend()) {
        // Row texts differ from page to page; bound what is kept.
        if (mCurrent->shaped.size() > 2048)
            mCurrent->shaped.clear();
        it = mCurrent->shaped.insert(
            text, shapeLine(mCurrent->font, mCurrent->primary, mCurrent->metrics,
                            mPainter->device(), text));
    }
    return *it;
}

void QtCanvas::drawShaped(int x, int y, const QString& text, bool gather)
{
    const ShapedText& shaped = shapedText(text);
    // GDI places the top-left of the character cell at (x, y); the runs are laid out from the
    // top of a line whose baseline is baselineShift below the primary font's ascent.
    const QPointF origin(x, y - shaped.baselineShift);
    for (const QGlyphRun& shapedRun : shaped.runs) {
        const QList<QPointF> relative = shapedRun.positions();
        const bool allWithin =
            std::all_of(relative.cbegin(), relative.cend(),
                        [&](const QPointF& p) { return withinLimit(origin + p); });
        const QGlyphRun run = allWithin ? shapedRun : glyphsWithinLimit(shapedRun, origin);
        if (!gather) {
            mPainter->drawGlyphRun(origin, run);
            continue;
        }
        const QRawFont font = run.rawFont();
        auto pending = std::find_if(mPending.begin(), mPending.end(),
                                    [&](const PendingRun& p) { return p.font == font; });
        if (pending == mPending.end())
            pending = mPending.insert(mPending.end(), PendingRun{font, {}, {}});
        pending->glyphs.append(run.glyphIndexes());
        for (const QPointF& position : run.positions())
            pending->positions.append(origin + position);
    }
}

void QtCanvas::flush()
{
    // The lists keep their capacity for the next page. Fitted sizes make new fonts row after
    // row, so past a handful of fonts those that gathered nothing since the last flush go.
    constexpr std::size_t kKeptFonts = 16;
    if (mPending.size() > kKeptFonts)
        std::erase_if(mPending, [](const PendingRun& p) { return p.glyphs.isEmpty(); });
    if (std::all_of(mPending.cbegin(), mPending.cend(),
                    [](const PendingRun& p) { return p.glyphs.isEmpty(); }))
        return;
    const bool drawing = mPainter != nullptr && mPainter->isActive();
    if (drawing) {
        // Gathered texts are always drawn in the text colour, without a clip.
        mPainter->setPen(QPen(Qt::black));
        mTextPenSet = true;
    }
    for (PendingRun& pending : mPending) {
        if (drawing && !pending.glyphs.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(pending.font);
            run.setGlyphIndexes(pending.glyphs);
            run.setPositions(pending.positions);
            mPainter->drawGlyphRun(QPointF(0, 0), run);
        }
        pending.glyphs.clear();
        pending.positions.clear();
    }
}

int QtCanvas::textWidth(const QString& text)
{
    return advanceOf(text);
}

int QtCanvas::textHeight(const QString& /*text*/)
{
    const QFontMetrics& fm = metrics();
    return fm.ascent() + fm.descent();
}

const TextMeasure& QtCanvas::measure()
{
    return mMeasure;
}

int QtCanvas::Measure::width(QStringView text) const
{
    return mCanvas.advanceOf(text);
}

int QtCanvas::Measure::height() const
{
    const QFontMetrics& fm = mCanvas.metrics();
    return fm.ascent() + fm.descent();
}

int QtCanvas::Measure::externalLeading() const
{
    return std::max(0, mCanvas.metrics().leading());
}

int QtCanvas::Measure::averageCharWidth() const
{
    return mCanvas.metrics().averageCharWidth();
}

void QtCanvas::drawTextRun(const TextRun& run, const DeviceRect& clip)
{
    if (mFontStale)
        resolveFont();
    useTextPen();
    // A run that lies inside its box needs no clip and is gathered with the others. Its extent
    // is the cell: from the run's top-left, its advance across and the font's height down, with
    // a margin for ink that reaches past the advance.
    constexpr int kInkMargin = 2;
    const QFontMetrics& fm = metrics();
    const std::int64_t x = run.x;
    const std::int64_t y = run.y;
    const bool inside = x >= clip.left && y >= clip.top &&
                        x + advanceOf(run.text) + kInkMargin <= clip.right &&
                        y + fm.ascent() + fm.descent() + kInkMargin <= clip.bottom;
    if (inside) {
        drawShaped(run.x, run.y, run.text, true);
        return;
    }
    flush();
    // DeviceRect's right and bottom are exclusive, as QRect(x, y, width, height) expects.
    const DeviceRect c = safeRect(clip);
    mPainter->setClipRect(QRect(c.left, c.top, c.width(), c.height()));
    drawShaped(run.x, run.y, run.text, false);
    mPainter->setClipping(false);
}

void QtCanvas::setPen(const QColor& color, PenStyle style, int width)
{
    // GDI draws a pen of width 0 one pixel wide, as a cosmetic QPen does.
    mPen = QPen(color, std::max(0, width), style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
}

void QtCanvas::setBrush(const QColor& color, bool clear)
{
    mBrush = clear ? QBrush(Qt::NoBrush) : QBrush(color);
}

QRect QtCanvas::outlineRect(const DeviceRect& r) const
{
    // GDI's shapes fill right − left pixels across, outline included; QPainter's outline of
    // QRect(x, y, w, h) covers w + 1 pixels, so the rectangle is one pixel smaller.
    const DeviceRect s = safeRect(r);
    return QRect(s.left, s.top, std::max(0, s.width() - 1), std::max(0, s.height() - 1));
}

void QtCanvas::rectangle(const DeviceRect& r)
{
    useShapePen();
    mPainter->drawRect(outlineRect(r));
}

void QtCanvas::lineTo(int x, int y)
{
    useShapePen();
    mPainter->drawLine(limitDevice(penX()), limitDevice(penY()), limitDevice(x), limitDevice(y));
    setPenPosition(x, y);
}

void QtCanvas::ellipse(const DeviceRect& r)
{
    useShapePen();
    mPainter->drawEllipse(outlineRect(r));
}

void QtCanvas::roundRect(const DeviceRect& r, int ellipseWidth, int ellipseHeight)
{
    useShapePen();
    // GDI gives the corner ellipse's full width and height; Qt wants its radii.
    mPainter->drawRoundedRect(outlineRect(r), ellipseWidth / 2.0, ellipseHeight / 2.0,
                              Qt::AbsoluteSize);
}

} // namespace nobrisa
