#include "render/printcheck.h"

#include "model/columnmapping.h"
#include "model/digitcells.h"
#include "model/stringtable.h"
#include "model/tsliprecord.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace nobrisa {

namespace {

// The captions of the mapping lists, as the continuous-print page labels them.
constexpr std::array<const char16_t*, kMapFieldCount> kMapCaptions{
    u"〒",   u"住所１",   u"住所２",   u"氏名",     u"電話",
    u"金額", u"通信欄１", u"通信欄２", u"通信欄３", u"通信欄４"};

// Characters that are never drawn as a glyph, so a font need not have them: blanks and line
// breaks, control and format characters (zero-width joiners, byte-order marks), and the
// variation selectors that pick a kanji's form (the font applies them to the kanji before).
bool neverDrawn(char32_t c)
{
    if (c == 0x034F || (c >= 0x180B && c <= 0x180F) || (c >= 0xFE00 && c <= 0xFE0F) ||
        (c >= 0xE0000 && c <= 0xE0FFF))
        return true;
    if (QChar::isSpace(c))
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

// Collects the undrawable characters of the texts it is given, asking the coverage function
// once per character: a table of thousands of rows repeats the same few thousand characters.
class Checker final {
public:
    explicit Checker(const GlyphCoverage& covers)
        : mCovers(covers)
    {
    }

    // `place` gives the caption of the text; it is asked only when something is missing.
    template <typename Place> void check(QStringView text, const Place& place)
    {
        UndrawableText* entry = nullptr;
        for (qsizetype i = 0; i < text.size(); ++i) {
            char32_t c = text[i].unicode();
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                ++i;
            }
            // A lone surrogate has no glyph either: it stays as it is and is reported.
            if (drawable(c))
                continue;
            if (entry == nullptr) {
                mFound.push_back({place(), {}});
                entry = &mFound.back();
            }
            if (std::find(entry->characters.begin(), entry->characters.end(), c) ==
                entry->characters.end())
                entry->characters.push_back(c);
        }
    }

    UndrawableTexts take() { return std::move(mFound); }

private:
    enum : std::uint8_t { kUnknown, kYes, kNo };

    bool drawable(char32_t c)
    {
        if (c < 0x10000) {
            if (mBasic.empty())
                mBasic.assign(0x10000, kUnknown);
            std::uint8_t& known = mBasic[c];
            if (known == kUnknown)
                known = neverDrawn(c) || mCovers(c) ? kYes : kNo;
            return known == kYes;
        }
        auto it = mSupplementary.find(c);
        if (it == mSupplementary.end())
            it = mSupplementary.emplace(c, neverDrawn(c) || mCovers(c)).first;
        return it->second;
    }

    const GlyphCoverage& mCovers;
    std::vector<std::uint8_t> mBasic; // the Basic Multilingual Plane, by code
    std::unordered_map<char32_t, bool> mSupplementary;
    UndrawableTexts mFound;
};

auto named(const char16_t* caption)
{
    return [caption] { return QString::fromUtf16(caption); };
}

// The characters of cells first..last as the digit grid prints them (one a cell).
QString cellTexts(const DigitCells& cells, int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += cells[i];
    return text;
}

// The account number and subscriber name of CheckBox1, which every print has.
void checkAccountAndSubscriber(Checker& checker, const TSlipRecord& slip, const DigitCells& cells)
{
    checker.check(cellTexts(cells, 1, 13), named(u"口座番号"));
    checker.check(slip.Ekanyu, named(u"加入者名"));
}

} // namespace

bool drawsAnyGroup(const TSlipRecord& slip, SlipPart part)
{
    if (slip.CheckBox1 || slip.CheckBox2 || slip.CheckBox4R)
        return true;
    return part == SlipPart::Whole && (slip.CheckBox3 || slip.CheckBox4);
}

UndrawableTexts findUndrawable(const TSlipRecord& slip, SlipPart part, const GlyphCoverage& covers)
{
    Checker checker(covers);
    DigitCells cells;
    setko(slip, cells);
    const bool whole = part == SlipPart::Whole;
    if (slip.CheckBox1)
        checkAccountAndSubscriber(checker, slip, cells);
    if (slip.CheckBox2)
        checker.check(cellTexts(cells, 14, 21), named(u"金額"));
    if (slip.CheckBox4 && whole) {
        checker.check(slip.Ezip, named(u"ご依頼人-左 郵便番号"));
        checker.check(slip.Etele1 + slip.Etele2 + slip.Etele3, named(u"ご依頼人-左 電話番号"));
        checker.check(slip.Maddres, named(u"ご依頼人-左 住所・氏名"));
    }
    if (slip.CheckBox4R)
        checker.check(slip.MaddresR, named(u"ご依頼人-右 氏名"));
    if (slip.CheckBox3 && whole)
        checker.check(slip.MemoTsuushin, named(u"通信欄"));
    return checker.take();
}

UndrawableTexts findUndrawableInRows(const TSlipRecord& slip, const StringTable& table,
                                     const ColumnMapping& mapping, int first, int last,
                                     const GlyphCoverage& covers)
{
    if (last < first)
        return {};
    Checker checker(covers);
    DigitCells cells;
    setko(slip, cells);
    // The sample row prints sample texts where data rows print cells, the amount included.
    const int firstData = std::max(first, 1);
    const bool dataRows = last >= firstData;
    if (slip.CheckBox1)
        checkAccountAndSubscriber(checker, slip, cells);
    if (dataRows && mapping.column(MapField::Amount) == 0)
        checker.check(cellTexts(cells, 14, 21), named(u"金額"));
    // A message list on "(通信欄)" prints the record's message on every slip.
    bool recordMessage = false;
    for (MapField f :
         {MapField::Message1, MapField::Message2, MapField::Message3, MapField::Message4})
        recordMessage = recordMessage || mapping.column(f) == 0;
    if (recordMessage)
        checker.check(slip.MemoTsuushin, named(u"通信欄"));

    // Rows beyond the table print empty cells.
    const int lastRow = std::min(last, table.rowCount() - 1);
    DigitCells rowCells;
    for (int row = firstData; row <= lastRow; ++row) {
        for (int f = 0; f < kMapFieldCount; ++f) {
            const auto field = static_cast<MapField>(f);
            const int column = mapping.column(field);
            if (column == 0)
                continue;
            QStringView text = trimBlankCodes(table.cellView(column, row));
            QString amount;
            if (field == MapField::Amount) {
                rowCells.fillRightAligned(14, 21, text.toString());
                amount = cellTexts(rowCells, 14, 21);
                text = amount;
            }
            checker.check(text, [&] {
                return QStringLiteral("行 %1 の%2")
                    .arg(row)
                    .arg(QString::fromUtf16(kMapCaptions[f]));
            });
        }
    }
    return checker.take();
}

QString describeUndrawable(const UndrawableTexts& found, int maxPlaces)
{
    constexpr std::size_t kCharactersShown = 3;
    const std::size_t shown =
        std::min(found.size(), static_cast<std::size_t>(std::max(maxPlaces, 0)));
    QStringList lines;
    for (std::size_t i = 0; i < shown; ++i) {
        const UndrawableText& place = found[i];
        QStringList characters;
        for (std::size_t k = 0; k < place.characters.size() && k < kCharactersShown; ++k) {
            const char32_t c = place.characters[k];
            characters << QStringLiteral("%1 (U+%2)")
                              .arg(QString::fromUcs4(&c, 1),
                                   QString::number(c, 16).toUpper().rightJustified(4, u'0'));
        }
        QString line = place.place + QStringLiteral(": ") + characters.join(u'、');
        if (place.characters.size() > kCharactersShown)
            line += QStringLiteral(" ほか %1 字").arg(place.characters.size() - kCharactersShown);
        lines << line;
    }
    if (found.size() > shown)
        lines << QStringLiteral("ほか %1 件").arg(found.size() - shown);
    return lines.join(u'\n');
}

} // namespace nobrisa
