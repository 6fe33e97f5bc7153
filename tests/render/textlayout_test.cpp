#include "render/textlayout.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace nobrisa {

// Lets GoogleTest show runs readably when a comparison fails.
void PrintTo(const TextRun& run, std::ostream* os)
{
    *os << '{' << '"' << run.text.toStdString() << "\" at " << run.x << ',' << run.y << '}';
}

namespace {

// Fixed metrics: half-width characters 10 px, CJK characters and surrogate pairs 20 px (half a
// pair 10 px, as a replacement glyph would be), cell height 30, external leading 4, average
// width 10. Counts the characters it measures so the tests can tell a linear layout from a
// quadratic one.
class FakeMeasure final : public TextMeasure {
public:
    int width(QStringView text) const override
    {
        int w = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
                w += 20;
            } else {
                w += c.unicode() >= 0x2E80 && !c.isSurrogate() ? 20 : 10;
            }
        }
        mMeasured += text.size();
        return w;
    }
    int height() const override { return mHeight; }
    int externalLeading() const override { return 4; }
    int averageCharWidth() const override { return mAverage; }

    int mHeight = 30;
    int mAverage = 10;
    mutable long long mMeasured = 0;
};

QString q(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TextRun run(const char* utf8, int x, int y)
{
    return TextRun{q(utf8), x, y};
}

// Width 200 (ten CJK or twenty half-width characters), height 100.
constexpr DeviceRect kBox{100, 200, 300, 300};
// The same box with room for five lines of 34 px.
constexpr DeviceRect kTallBox{100, 200, 300, 400};

struct Case {
    const char* name;
    const char* text;
    DeviceRect rect;
    unsigned flags;
    std::vector<TextRun> runs;
    int lineCount;
};

std::ostream& operator<<(std::ostream& os, const Case& c)
{
    return os << c.name;
}

class TextLayoutTable : public ::testing::TestWithParam<Case> {};

TEST_P(TextLayoutTable, PlacesRuns)
{
    const Case& c = GetParam();
    const FakeMeasure measure;
    const TextLayout layout = layoutDrawText(q(c.text), c.rect, c.flags, measure);
    EXPECT_EQ(layout.runs, c.runs);
    EXPECT_EQ(layout.lineCount, c.lineCount);
    EXPECT_EQ(layout.clip, c.rect);
}

constexpr unsigned kWordBreakOnly = DT_WORDBREAK;

// clang-format off
const std::vector<Case> kCases = {
    // Centring both ways on one line; odd remainders and overflow truncate toward zero as C does.
    {"OneLineCentred", "ABCD", kBox, kFlagsNameOneLine, {run("ABCD", 180, 235)}, 1},
    {"OneLineOddRemainders", "ABCD", {100, 200, 301, 301}, kFlagsNameOneLine,
     {run("ABCD", 180, 235)}, 1},
    {"OneLineWiderThanBoxTruncatesTowardZero", "ABCDEFGHIJKLMNOPQRSTUVW", {100, 200, 301, 301},
     kFlagsNameOneLine, {run("ABCDEFGHIJKLMNOPQRSTUVW", 86, 235)}, 1},
    {"SingleLineDropsLineBreaks", "AB\r\nC\rD\nE", kBox, kFlagsNameOneLine,
     {run("ABCDE", 175, 235)}, 1},
    {"SingleLineVCentreIncludesLeading", "AB\r\nCD", kBox, kFlagsPayerOneLine,
     {run("ABCD", 100, 233)}, 1},
    {"SingleLineOnlyBreaksDrawsNothing", "\r\n", kBox, kFlagsNameOneLine, {}, 1},
    {"SingleLineBottom", "ABC", kBox, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT,
     {run("ABC", 270, 270)}, 1},

    // Several lines: each centred, the block from the top whatever DT_VCENTER says.
    {"NameLinesCentredFromTop", "山田\r\n太郎商店", kBox, kFlagsNameLines,
     {run("山田", 180, 200), run("太郎商店", 160, 230)}, 2},
    {"VCentreWithoutSingleLineHasNoEffect", "AB", kBox, DT_VCENTER | DT_CENTER,
     {run("AB", 190, 200)}, 1},
    {"RowNameWrapsAndCentresWithLeading", "山田太郎商店株式会社本店", kBox, kFlagsRowName,
     {run("山田太郎商店株式会社", 100, 200), run("本店", 180, 234)}, 2},
    {"RightAligned", "ABC\nA", kBox, DT_RIGHT, {run("ABC", 270, 200), run("A", 290, 230)}, 2},

    // Line breaks: CR LF, LF and CR each count once; a final break adds no line.
    {"EveryBreakKind", "A\r\nB\rC\nD", {0, 0, 100, 1000}, kFlagsNameLines,
     {run("A", 45, 0), run("B", 45, 30), run("C", 45, 60), run("D", 45, 90)}, 4},
    {"EmptyLineTakesItsHeight", "A\n\nB", kTallBox, kFlagsBlock,
     {run("A", 100, 200), run("B", 100, 268)}, 3},
    {"FinalBreakAddsNoLine", "A\r\n", kBox, kFlagsBlock, {run("A", 100, 200)}, 1},

    // Word breaking.
    {"JapaneseBreaksBetweenCharacters", "東京都千代田区丸の内一丁目二番三号", kBox, kFlagsBlock,
     {run("東京都千代田区丸の内", 100, 200), run("一丁目二番三号", 100, 234)}, 2},
    {"AsciiBreaksAtSpaces", "The quick brown fox jumps", kBox, kFlagsBlock,
     {run("The quick brown fox", 100, 200), run("jumps", 100, 234)}, 2},
    {"SpaceAtBreakDoesNotCount", "ABCDEFGHIJKLMNOPQRST UVW", kBox, kFlagsBlock,
     {run("ABCDEFGHIJKLMNOPQRST", 100, 200), run("UVW", 100, 234)}, 2},
    {"SpaceAtBreakNotCentred", "ABCDEFGHIJKLMN OPQRSTUVW", kBox, kFlagsRowName,
     {run("ABCDEFGHIJKLMN", 130, 200), run("OPQRSTUVW", 155, 234)}, 2},
    {"BlanksAtBreakBelongToNoLine", "ABCDEFGHIJ   KLMNOPQRSTU", kBox, kFlagsBlock,
     {run("ABCDEFGHIJ", 100, 200), run("KLMNOPQRSTU", 100, 234)}, 2},
    {"TrailingBlanksMakeNoEmptyLine", "ABCDEFGHIJKLMNOPQRST   ", kBox, kFlagsBlock,
     {run("ABCDEFGHIJKLMNOPQRST", 100, 200)}, 1},
    {"LongWordBrokenInside", "ABCDEFGHIJKLMNOPQRSTUVWXY", kBox, kFlagsBlock,
     {run("ABCDEFGHIJKLMNOPQRST", 100, 200), run("UVWXY", 100, 234)}, 2},
    {"LongWordMovesDownThenBreaks", "AB CDEFGHIJKLMNOPQRSTUVWXYZ", kTallBox, kFlagsBlock,
     {run("AB", 100, 200), run("CDEFGHIJKLMNOPQRSTUV", 100, 234), run("WXYZ", 100, 268)}, 3},
    {"LongWordOverflowsWithoutEditControl", "AB CDEFGHIJKLMNOPQRSTUVWXYZ", kBox, kWordBreakOnly,
     {run("AB", 100, 200), run("CDEFGHIJKLMNOPQRSTUVWXYZ", 100, 230)}, 2},
    {"CjkNextToLatinBreaks", "東京都港区ABCDEFGHIJKL", kBox, kFlagsBlock,
     {run("東京都港区", 100, 200), run("ABCDEFGHIJKL", 100, 234)}, 2},
    {"NoBreakBeforeFullStop", "あいうえおかきくけこ。さ", kBox, kFlagsBlock,
     {run("あいうえおかきくけ", 100, 200), run("こ。さ", 100, 234)}, 2},
    {"NoBreakAfterOpeningBracket", "あいうえおかきくけ「こ」", kBox, kFlagsBlock,
     {run("あいうえおかきくけ", 100, 200), run("「こ」", 100, 234)}, 2},
    {"SurrogatePairsStayWhole", "𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷", kBox, kFlagsBlock,
     {run("𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷", 100, 200), run("𠮷𠮷", 100, 234)}, 2},
    {"ForcedBreakKeepsPairsWhole", "A😀😀", {0, 0, 25, 200}, kFlagsBlock,
     {run("A", 0, 0), run("😀", 0, 34), run("😀", 0, 68)}, 3},
    {"BoxNarrowerThanOneCharacter", "𠮷𠮷", {0, 0, 15, 100}, kFlagsBlock,
     {run("𠮷", 0, 0), run("𠮷", 0, 34)}, 2},

    // Tabs: stops every 80 px from where the line starts; a tab on a stop goes to the next one.
    {"TabToNextStop", "A\tB", kBox, kFlagsBlock, {run("A", 100, 200), run("B", 180, 200)}, 1},
    {"TabOnStopSkipsToNext", "ABCDEFGH\tJ", kBox, kFlagsBlock,
     {run("ABCDEFGH", 100, 200), run("J", 260, 200)}, 1},
    {"LeadingTabs", "\t\tX", kBox, kFlagsBlock, {run("X", 260, 200)}, 1},
    {"TabsInCentredLine", "A\tB", kBox, DT_CENTER | DT_EXPANDTABS,
     {run("A", 155, 200), run("B", 235, 200)}, 1},
    {"TabOnSingleLine", "A\tB", kBox, kFlagsPayerOneLine,
     {run("A", 100, 233), run("B", 180, 233)}, 1},
    {"TabIsCharacterWithoutExpandTabs", "A\tB", kBox, kFlagsRowName, {run("A\tB", 185, 200)}, 1},

    // "&".
    {"AmpersandLiteral", "A&B&&C", kBox, kFlagsBlock, {run("A&B&&C", 100, 200)}, 1},
    {"AmpersandPrefix", "A&B&&C&", kBox, DT_WORDBREAK, {run("AB&C", 100, 200)}, 1},
    {"PrefixRemovedBeforeMeasuring", "&&A", kBox, DT_CENTER, {run("&A", 190, 200)}, 1},

    // Clipping: a partly visible last line goes with the edit-control rule, not without it.
    {"PartlyVisibleLastLineDropped", "A\nB\nC\nD", kBox, kFlagsNameLines,
     {run("A", 195, 200), run("B", 195, 230), run("C", 195, 260)}, 3},
    {"LeadingCountsTowardVisibility", "A\nB\nC", kBox, kFlagsBlock,
     {run("A", 100, 200), run("B", 100, 234)}, 2},
    {"PartlyVisibleLineKeptWithoutEditControl", "A\nB\nC\nD\nE", kBox, kWordBreakOnly,
     {run("A", 100, 200), run("B", 100, 230), run("C", 100, 260), run("D", 100, 290)}, 4},
    {"FirstLineKeptInLowBox", "A\nB", {100, 200, 300, 220}, kFlagsBlock, {run("A", 100, 200)},
     1},
    {"OneLineInLowBox", "ABC", {0, 0, 5, 5}, kFlagsNameOneLine, {run("ABC", -12, -12)}, 1},
    {"TinyBoxOneCharacter", "ABC", {0, 0, 5, 5}, kFlagsBlock, {run("A", 0, 0)}, 1},

    // Nothing to draw.
    {"EmptyText", "", kBox, kFlagsBlock, {}, 0},
    {"ZeroWidthBox", "ABC", {100, 200, 100, 300}, kFlagsBlock, {}, 0},
    {"NegativeWidthBox", "ABC", {100, 200, 50, 300}, kFlagsNameOneLine, {}, 0},
    {"ZeroHeightBox", "ABC", {100, 200, 300, 200}, kFlagsPayerOneLine, {}, 0},
    {"NegativeHeightBox", "ABC\nDEF", {100, 200, 300, 100}, kFlagsNameLines, {}, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(TextLayout, TextLayoutTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The runs of a wrapped text put together give the text back; blanks at breaks are not drawn,
// so blanks are left out of the comparison.
QString withoutBlanks(QString text)
{
    return text.remove(u' ');
}

QString joined(const TextLayout& layout)
{
    QString all;
    for (const TextRun& r : layout.runs)
        all += r.text;
    return withoutBlanks(all);
}

TEST(TextLayout, LongTextsFinishWithSaneOutput)
{
    constexpr int kLength = 100000;
    struct Long {
        const char* name;
        QString text;
        unsigned flags;
        int boxWidth;
        int average;
        int expectedLines;
        QString expectedJoined;
    };
    const QString cjk = QString(kLength, QChar(0x6F22)); // 漢 × 100,000
    const QString word = QString(kLength, u'W');         // one huge word
    QString words;                                       // "ABCDEFGHI " × 10,000
    for (int i = 0; i < kLength / 10; ++i)
        words += QStringLiteral("ABCDEFGHI ");
    const std::vector<Long> longs = {
        {"cjk", cjk, kFlagsBlock, 200, 10, kLength / 10, cjk},
        {"word", word, kFlagsBlock, 200, 10, kLength / 20, word},
        {"words", words, kFlagsBlock, 200, 10, kLength / 20, withoutBlanks(words)},
        {"one line", word, kFlagsNameOneLine, 200, 10, 1, word},
        // No average width to guess the line length from, and long lines.
        {"no average", word, kFlagsBlock, 3000, 0, (kLength + 299) / 300, word},
    };
    for (const Long& c : longs) {
        SCOPED_TRACE(c.name);
        FakeMeasure measure;
        measure.mAverage = c.average;
        // Tall enough for every line: the layout must wrap all of it, not stop at the box.
        const DeviceRect tall{0, 0, c.boxWidth, 10'000'000};
        const TextLayout layout = layoutDrawText(c.text, tall, c.flags, measure);
        EXPECT_EQ(layout.lineCount, c.expectedLines);
        // A quadratic search would measure billions of characters.
        EXPECT_LT(measure.mMeasured, 60LL * kLength);
        EXPECT_EQ(joined(layout), c.expectedJoined);
        for (const TextRun& r : layout.runs) {
            if (c.flags & DT_SINGLELINE)
                break;
            ASSERT_LE(measure.width(r.text), c.boxWidth);
        }
    }
}

TEST(TextLayout, LongTextInSmallBoxStopsAtTheBottom)
{
    const FakeMeasure measure;
    const QString text(100000, QChar(0x3042));
    const TextLayout layout = layoutDrawText(text, kBox, kFlagsBlock, measure);
    EXPECT_EQ(layout.lineCount, 2);
    EXPECT_LT(measure.mMeasured, 10000);
}

TEST(TextLayout, ZeroHeightFontStillProgresses)
{
    FakeMeasure measure;
    measure.mHeight = 0;
    const TextLayout layout = layoutDrawText(q("ABCDEFGHIJKLMNOPQRSTUVWXYZ\nA"), {0, 0, 100, 10},
                                             DT_WORDBREAK | DT_EDITCONTROL, measure);
    // Leading is not asked for, so every line sits at the top and all four are drawn.
    ASSERT_EQ(layout.lineCount, 4);
    EXPECT_EQ(layout.runs.back(), run("A", 0, 0));
}

TEST(DeviceRect, WidthAndHeightOfEdgesFarApartSaturate)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const DeviceRect r{kMin, kMax, kMax, kMin};
    EXPECT_EQ(r.width(), kMax);
    EXPECT_EQ(r.height(), kMin);
    EXPECT_EQ((DeviceRect{10, 20, 30, 25}.width()), 20);
}

} // namespace
} // namespace nobrisa
