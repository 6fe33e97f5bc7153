#include "render/textlayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

namespace nobrisa {

namespace {

using Index = qsizetype;

int clampToInt(std::int64_t v) noexcept
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool isLineBreak(QChar c) noexcept
{
    return c == u'\r' || c == u'\n';
}

// Scripts written without spaces between words, where a line may break between any two
// characters: kana, kanji, CJK punctuation and the full-width and half-width forms.
bool isCjk(char32_t c) noexcept
{
    return (c >= 0x2E80 && c <= 0x2FDF)       // radicals, Kangxi radicals
           || (c >= 0x3000 && c <= 0x30FF)    // CJK symbols and punctuation, kana
           || (c >= 0x31C0 && c <= 0x31FF)    // strokes, katakana phonetic extensions
           || (c >= 0x3200 && c <= 0x33FF)    // enclosed letters, compatibility (㈱, ㎡)
           || (c >= 0x3400 && c <= 0x4DBF)    // ideographs, extension A
           || (c >= 0x4E00 && c <= 0x9FFF)    // unified ideographs
           || (c >= 0xF900 && c <= 0xFAFF)    // compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F)    // compatibility forms
           || (c >= 0xFF01 && c <= 0xFFEF)    // full-width ASCII, half-width kana
           || (c >= 0x20000 && c <= 0x3FFFF); // ideographs beyond the BMP
}

// Simple kinsoku: closing brackets, full stops, commas, the prolonged sound mark and iteration
// marks never start a line; opening brackets never end one. Small kana may start a line (the
// loose rule, which suits narrow boxes). Every one of these characters is in the BMP.
constexpr std::u16string_view kNoBreakBefore =
    u")]},.:;!?%"
    u"\u2019\u201D、。々〉》」』】〕〗〙〛〞〟゛゜ゝゞ・ーヽヾ！％），．：；？］｝｡｣､･ｰﾞﾟ";
constexpr std::u16string_view kNoBreakAfter = u"([{\u2018\u201C〈《「『【〔〖〘〚〝（［｛｢";

bool isIn(std::u16string_view set, char32_t c) noexcept
{
    return c <= 0xFFFF && set.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

// A combining mark (such as a separate voiced-sound mark) belongs to the character before it.
bool isMark(char32_t c) noexcept
{
    return c >= 0x300 && QChar::isMark(c);
}

// Lays out one text. Positions are indexes into the text as drawn (after "&" and, on a single
// line, line-break removal); widths are measured on views of it, so nothing is copied until a
// run is made.
class Layouter {
public:
    Layouter(const QString& text, const DeviceRect& rect, unsigned flags,
             const TextMeasure& measure, TextLayout& out)
        : mText(text)
        , mS(text)
        , mRect(rect)
        , mFlags(flags)
        , mMeasure(measure)
        , mOut(out)
        , mBoxWidth(std::int64_t{rect.right} - rect.left)
        , mExpandTabs(flags & DT_EXPANDTABS)
        , mHasTabs(mExpandTabs && text.contains(u'\t'))
        , mEditControl(flags & DT_EDITCONTROL)
        , mNeedWidth(flags & (DT_CENTER | DT_RIGHT))
    {
        std::int64_t lineHeight = std::max(0, measure.height());
        if (flags & DT_EXTERNALLEADING)
            lineHeight += std::max(0, measure.externalLeading());
        mLineHeight = lineHeight;
        mTabWidth = std::max<std::int64_t>(0, std::int64_t{8} * measure.averageCharWidth());
        const int avg = measure.averageCharWidth();
        mCharsGuess = avg > 0 && mBoxWidth > 0 ? std::max<std::int64_t>(1, mBoxWidth / avg) : 16;
        mY = rect.top;
    }

    void layoutSingleLine()
    {
        const std::int64_t height = std::int64_t{mRect.bottom} - mRect.top;
        if (mFlags & DT_VCENTER)
            mY = mRect.top + (height - mLineHeight) / 2;
        else if (mFlags & DT_BOTTOM)
            mY = mRect.bottom - mLineHeight;
        if (lineFits())
            emitLine(0, mS.size());
    }

    void layoutLines()
    {
        const bool wordBreak = mFlags & DT_WORDBREAK;
        Index pos = 0;
        const Index n = mS.size();
        while (pos < n) {
            Index end = pos;
            while (end < n && !isLineBreak(mS[end]))
                ++end;
            const bool more = wordBreak ? wrapParagraph(pos, end) : placeLine(pos, end);
            if (!more)
                return;
            if (end == n)
                return;
            pos = end + (mS[end] == u'\r' && end + 1 < n && mS[end + 1] == u'\n' ? 2 : 1);
        }
    }

private:
    bool isBlank(char32_t c) const noexcept { return c == u' ' || (mExpandTabs && c == u'\t'); }
    bool isBlank(QChar c) const noexcept { return isBlank(char32_t{c.unicode()}); }

    // Whether the next line is drawn at all: not when it starts below the box, and with the
    // edit-control rule not when it would be cut by the bottom edge. The first line is always
    // drawn when any of it is inside the box, as an edit control shows its first line however
    // small it is.
    bool lineFits() const noexcept
    {
        if (mY >= mRect.bottom)
            return false;
        if (mEditControl && mOut.lineCount > 0 && mY + mLineHeight > mRect.bottom)
            return false;
        return true;
    }

    bool placeLine(Index a, Index b)
    {
        if (!lineFits())
            return false;
        emitLine(a, b);
        return true;
    }

    std::int64_t nextTabStop(std::int64_t x) const noexcept
    {
        if (mTabWidth <= 0)
            return x;
        std::int64_t q = x / mTabWidth;
        if (x < 0 && q * mTabWidth != x)
            --q;
        return (q + 1) * mTabWidth;
    }

    // Advance width of [a, b) drawn as one line; tab stops count from the line's own start,
    // which is the box's left edge for a left-aligned line.
    std::int64_t width(Index a, Index b) const
    {
        if (!mHasTabs)
            return mMeasure.width(mS.sliced(a, b - a));
        std::int64_t x = 0;
        Index seg = a;
        for (Index i = a; i < b; ++i) {
            if (mS[i] != u'\t')
                continue;
            if (i > seg)
                x += mMeasure.width(mS.sliced(seg, i - seg));
            x = nextTabStop(x);
            seg = i + 1;
        }
        if (b > seg)
            x += mMeasure.width(mS.sliced(seg, b - seg));
        return x;
    }

    void addRun(Index a, Index b, std::int64_t x)
    {
        TextRun run;
        // The whole text as one run shares the caller's string instead of copying it.
        run.text = a == 0 && b == mText.size() ? mText : mS.sliced(a, b - a).toString();
        run.x = clampToInt(x);
        run.y = clampToInt(mY);
        mOut.runs.push_back(std::move(run));
    }

    void emitLine(Index a, Index b)
    {
        std::int64_t x0 = mRect.left;
        if (mNeedWidth && b > a) {
            const std::int64_t lineWidth = width(a, b);
            if (mFlags & DT_CENTER)
                x0 += (mBoxWidth - lineWidth) / 2;
            else
                x0 = mRect.right - lineWidth;
        }
        if (!mHasTabs) {
            if (b > a)
                addRun(a, b, x0);
        } else {
            std::int64_t x = 0;
            Index seg = a;
            for (Index i = a; i <= b; ++i) {
                if (i < b && mS[i] != u'\t')
                    continue;
                if (i > seg) {
                    addRun(seg, i, x0 + x);
                    x += mMeasure.width(mS.sliced(seg, i - seg));
                }
                if (i < b)
                    x = nextTabStop(x);
                seg = i + 1;
            }
        }
        ++mOut.lineCount;
        mY += mLineHeight;
    }

    bool fits(Index a, Index b, std::int64_t& w) const
    {
        w = width(a, b);
        return w <= mBoxWidth;
    }

    // The furthest end e in [a, n] with [a, e) no wider than the box. Gallops from a guess of
    // the line length, then narrows the bracket by interpolation alternating with bisection,
    // so a line costs O(L log L) measured characters however long the paragraph is.
    Index fitEnd(Index a, Index n) const
    {
        Index lo = a;
        std::int64_t wLo = 0;
        Index hi = n;
        std::int64_t wHi = 0;
        Index step = static_cast<Index>(std::min<std::int64_t>(2 * mCharsGuess + 8, n - a));
        for (;;) {
            const Index probe = n - lo <= step ? n : lo + step;
            std::int64_t w = 0;
            if (fits(a, probe, w)) {
                lo = probe;
                wLo = w;
                if (probe == n)
                    return n;
                step *= 2;
            } else {
                hi = probe;
                wHi = w;
                break;
            }
        }
        bool bisect = false;
        while (hi - lo > 1) {
            Index mid;
            if (bisect || wHi <= wLo)
                mid = lo + (hi - lo) / 2;
            else
                mid = lo + static_cast<Index>((hi - lo) * (mBoxWidth - wLo) / (wHi - wLo));
            mid = std::clamp(mid, lo + 1, hi - 1);
            bisect = !bisect;
            std::int64_t w = 0;
            if (fits(a, mid, w)) {
                lo = mid;
                wLo = w;
            } else {
                hi = mid;
                wHi = w;
            }
        }
        return lo;
    }

    char32_t codePointAt(Index i) const noexcept
    {
        const QChar c = mS[i];
        if (c.isHighSurrogate() && i + 1 < mS.size() && mS[i + 1].isLowSurrogate())
            return QChar::surrogateToUcs4(c, mS[i + 1]);
        return c.unicode();
    }

    char32_t codePointBefore(Index i) const noexcept
    {
        const QChar c = mS[i - 1];
        if (c.isLowSurrogate() && i >= 2 && mS[i - 2].isHighSurrogate())
            return QChar::surrogateToUcs4(mS[i - 2], c);
        return c.unicode();
    }

    bool insidePair(Index i) const noexcept
    {
        return i > 0 && i < mS.size() && mS[i].isLowSurrogate() && mS[i - 1].isHighSurrogate();
    }

    // A break between i-1 and i (0 < i < size) inside a run without blanks.
    bool cjkBreakAt(Index i) const noexcept
    {
        if (insidePair(i))
            return false;
        const char32_t before = codePointBefore(i);
        const char32_t after = codePointAt(i);
        if (isBlank(before) || isBlank(after))
            return false;
        if (!isCjk(before) && !isCjk(after))
            return false;
        return !isMark(after) && !isIn(kNoBreakBefore, after) && !isIn(kNoBreakAfter, before);
    }

    // Whether a line may end at i: before a blank run, or at a CJK break.
    bool breakAt(Index i) const noexcept
    {
        if (isBlank(mS[i]))
            return !isBlank(mS[i - 1]);
        return cjkBreakAt(i);
    }

    // Where the line starting at a ends when [a, fit) is all that fits (a < fit < n), and where
    // the next line starts. Blanks at the break belong to neither line.
    void findBreak(Index a, Index fit, Index n, Index& lineEnd, Index& next) const
    {
        for (Index i = fit; i > a; --i) {
            if (breakAt(i)) {
                lineEnd = i;
                next = i;
                while (next < n && isBlank(mS[next]))
                    ++next;
                return;
            }
        }
        // One word is wider than the box. An edit control breaks it between characters (never
        // inside a surrogate pair or before a combining mark); plain DrawText lets it overflow
        // to the next break.
        if (mEditControl) {
            Index i = fit;
            while (i > a && (insidePair(i) || (i < n && isMark(codePointAt(i)))))
                --i;
            if (i == a) {
                // A line takes at least one character, so the layout always moves on.
                i = a + 1;
                while (i < n && (insidePair(i) || isMark(codePointAt(i))))
                    ++i;
            }
            lineEnd = next = i;
            return;
        }
        Index i = fit + 1;
        while (i < n && !breakAt(i))
            ++i;
        lineEnd = i;
        next = i;
        while (next < n && isBlank(mS[next]))
            ++next;
    }

    bool wrapParagraph(Index a, Index n)
    {
        if (a == n)
            return placeLine(a, n); // an empty line still takes its height
        while (a < n) {
            if (!lineFits())
                return false;
            const Index fit = fitEnd(a, n);
            Index lineEnd = n;
            Index next = n;
            if (fit < n)
                findBreak(a, fit, n, lineEnd, next);
            emitLine(a, lineEnd);
            a = next;
        }
        return true;
    }

    const QString& mText;
    QStringView mS;
    DeviceRect mRect;
    unsigned mFlags;
    const TextMeasure& mMeasure;
    TextLayout& mOut;
    std::int64_t mBoxWidth;
    std::int64_t mLineHeight = 0;
    std::int64_t mTabWidth = 0;
    std::int64_t mCharsGuess = 16;
    std::int64_t mY = 0;
    bool mExpandTabs;
    bool mHasTabs;
    bool mEditControl;
    bool mNeedWidth;
};

// The text as drawn: without DT_NOPREFIX "&&" is "&" and a lone "&" vanishes (it would only
// underline the next character); on a single line CR and LF are not drawn. Copies only when
// something has to go.
QString textAsDrawn(const QString& text, unsigned flags)
{
    const bool prefix = !(flags & DT_NOPREFIX) && text.contains(u'&');
    const bool dropBreaks =
        (flags & DT_SINGLELINE) && (text.contains(u'\r') || text.contains(u'\n'));
    if (!prefix && !dropBreaks)
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (dropBreaks && isLineBreak(c))
            continue;
        if (prefix && c == u'&') {
            if (i + 1 < n && text[i + 1] == u'&') {
                out.append(c);
                ++i;
            }
            continue;
        }
        out.append(c);
    }
    return out;
}

} // namespace

TextLayout layoutDrawText(const QString& text, const DeviceRect& rect, unsigned flags,
                          const TextMeasure& measure)
{
    TextLayout layout;
    layout.clip = rect;
    // Nothing can show through an empty box, and skipping it keeps a degenerate box from
    // producing one line per character.
    if (text.isEmpty() || rect.right <= rect.left || rect.bottom <= rect.top)
        return layout;
    const QString drawn = textAsDrawn(text, flags);
    Layouter layouter(drawn, rect, flags, measure, layout);
    if (flags & DT_SINGLELINE)
        layouter.layoutSingleLine();
    else
        layouter.layoutLines();
    return layout;
}

} // namespace nobrisa
