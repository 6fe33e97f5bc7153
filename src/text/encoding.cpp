#include "text/encoding.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <optional>

namespace nobrisa {
namespace {

// glibc's "CP932" is the Windows code page: －, ～, ①, 髙 decode, and 0x5C stays a backslash.
// "SHIFT_JIS" would be strict JIS X 0208, which loses all of those.
constexpr const char* kCp932 = "CP932";

class Iconv final {
public:
    Iconv(const char* to, const char* from)
        : mCd(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (valid())
            iconv_close(mCd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const noexcept { return mCd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const noexcept { return mCd; }

    // Converts as much as possible; on a byte sequence the converter refuses, stops there and
    // returns false with `in` pointing at it.
    bool convert(const char*& in, size_t& inLeft, QByteArray& out)
    {
        std::array<char, 4096> buf;
        while (inLeft > 0) {
            char* src = const_cast<char*>(in);
            char* dst = buf.data();
            size_t dstLeft = buf.size();
            const size_t r = iconv(mCd, &src, &inLeft, &dst, &dstLeft);
            out.append(buf.data(), static_cast<qsizetype>(buf.size() - dstLeft));
            in = src;
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(mCd, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t mCd;
};

// Number of bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t utf8SequenceLength(unsigned char lead) noexcept
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

QString decodeUtf16(const char* data, qsizetype size, bool bigEndian)
{
    const qsizetype units = size / 2;
    QString out(units, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < units; ++i) {
        const char* p = data + 2 * i;
        dst[i] = QChar(bigEndian ? qFromBigEndian<char16_t>(p) : qFromLittleEndian<char16_t>(p));
    }
    if (size % 2 != 0)
        out.append(QChar::ReplacementCharacter);
    return out;
}

QString decodeUtf8(const char* data, qsizetype size)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(data, size));
}

bool startsWith(const QByteArray& bytes, const char* mark, qsizetype n)
{
    return bytes.size() >= n && std::equal(mark, mark + n, bytes.constData());
}

// A byte-order mark's encoding and the text after it; nullopt when there is no mark.
std::optional<QString> decodeMarked(const QByteArray& bytes, TextEncoding* detected)
{
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    TextEncoding encoding;
    QString text;
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) {
        encoding = TextEncoding::Utf8Bom;
        text = decodeUtf8(data + 3, size - 3);
    } else if (startsWith(bytes, "\xFF\xFE", 2)) {
        encoding = TextEncoding::Utf16Le;
        text = decodeUtf16(data + 2, size - 2, false);
    } else if (startsWith(bytes, "\xFE\xFF", 2)) {
        encoding = TextEncoding::Utf16Be;
        text = decodeUtf16(data + 2, size - 2, true);
    } else {
        return std::nullopt;
    }
    if (detected)
        *detected = encoding;
    return text;
}

// What a character says about the language of a UTF-8 text.
enum class Kind {
    Japanese, // kana, kanji, CJK punctuation, full-width forms: the text is Japanese
    Neutral,  // a symbol Japanese text uses, also without kana or kanji
    Beside,   // a letter of the two-byte range that Japanese text holds beside kana or kanji
    Foreign,  // no Japanese UTF-8 file holds it
};

constexpr Kind kindOf(char32_t c) noexcept
{
    if (c < 0x800) {
        // Two-byte UTF-8: every pair of half-width katakana that is valid UTF-8 lands here.
        if (c >= 0xA0 && c <= 0x17F) // Latin-1 and Latin Extended-A
            return Kind::Beside;
        if ((c >= 0x391 && c <= 0x3C9) || (c >= 0x401 && c <= 0x451)) // Greek, Cyrillic letters
            return Kind::Beside;
        return Kind::Foreign;
    }
    if (c < 0x2000)
        return Kind::Foreign;
    if (c < 0x2C00) // punctuation, letterlike, Roman numerals, arrows, maths, ①, box drawing, ★
        return Kind::Neutral;
    if (c < 0x2E80)
        return Kind::Foreign;
    if (c < 0x3100) // radicals, CJK symbols and punctuation, hiragana, katakana
        return Kind::Japanese;
    if (c < 0x3190) // bopomofo, Hangul compatibility jamo
        return Kind::Foreign;
    if (c < 0x31A0) // kanbun
        return Kind::Japanese;
    if (c < 0x31C0) // bopomofo extended
        return Kind::Foreign;
    if (c < 0xA000) // strokes, katakana extensions, ㈱, ㍻, ㎡, CJK extension A, unified ideographs
        return Kind::Japanese;
    if (c >= 0xAC00 && c < 0xD7B0) // Hangul syllables: names of Korean residents
        return Kind::Neutral;
    if (c >= 0xE000 && c < 0xF900) // private use: user-defined characters
        return Kind::Neutral;
    if (c >= 0xF900 && c < 0xFB00) // compatibility ideographs
        return Kind::Japanese;
    // Variation selectors, vertical forms, a stray byte-order mark.
    if ((c >= 0xFE00 && c < 0xFE10) || (c >= 0xFE30 && c < 0xFE50) || c == 0xFEFF)
        return Kind::Neutral;
    if (c >= 0xFF00 && c < 0xFFF0) // full-width forms and half-width katakana
        return Kind::Japanese;
    if (c >= 0x1F000 && c < 0x1FB00) // emoji
        return Kind::Neutral;
    if (c >= 0x20000 && c < 0x40000) // CJK extensions B to H, compatibility supplement: 𠮷
        return Kind::Japanese;
    if (c >= 0xE0100 && c < 0xE01F0) // ideographic variation selectors
        return Kind::Neutral;
    return Kind::Foreign;
}

} // namespace

bool readsAsJapanese(QByteArrayView utf8) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* const end = p + utf8.size();
    bool japanese = false;
    bool beside = false;
    while (p < end) {
        // Most bytes of a CSV file are ASCII (digits, commas, postal codes): skip them eight at a
        // time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        if (*p < 0x80) {
            ++p;
            continue;
        }
        // The bytes are valid UTF-8: the lead byte tells the length, and every sequence is whole.
        const unsigned char lead = *p;
        // U+4000 to U+9FFF, kanji: the bulk of a Japanese text needs no closer look.
        if (lead >= 0xE4 && lead <= 0xE9 && end - p >= 3) {
            japanese = true;
            p += 3;
            continue;
        }
        const size_t n = utf8SequenceLength(lead);
        if (n < 2 || static_cast<size_t>(end - p) < n)
            return false;
        char32_t c = lead & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
        for (size_t i = 1; i < n; ++i)
            c = (c << 6) | (p[i] & 0x3F);
        p += n;
        switch (kindOf(c)) {
        case Kind::Japanese:
            japanese = true;
            break;
        case Kind::Neutral:
            break;
        case Kind::Beside:
            beside = true;
            break;
        case Kind::Foreign:
            return false;
        }
    }
    return japanese || !beside;
}

QString decodeCp932(const QByteArray& bytes)
{
    // Straight into the QString's own buffer: a CP932 character is one or two bytes and one
    // UTF-16 unit, and a byte that starts no character becomes one U+FFFD, so the text never has
    // more units than the file has bytes. A large table decodes without a copy in between.
    QString out(bytes.size(), Qt::Uninitialized);
    char* const start = reinterpret_cast<char*>(out.data());
    char* dst = start;
    size_t dstLeft = static_cast<size_t>(bytes.size()) * 2;
    const char* in = bytes.constData();
    size_t inLeft = static_cast<size_t>(bytes.size());
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    Iconv cd("UTF-16LE", kCp932);
#else
    Iconv cd("UTF-16BE", kCp932);
#endif
    while (inLeft > 0) {
        if (cd.valid()) {
            char* src = const_cast<char*>(in);
            const size_t r = iconv(cd.handle(), &src, &inLeft, &dst, &dstLeft);
            in = src;
            if (r != static_cast<size_t>(-1))
                break;
            iconv(cd.handle(), nullptr, nullptr, nullptr, nullptr);
            if (dstLeft < 2)
                break; // cannot happen by the count above; never write past the buffer
        }
        // A byte that starts no valid character: mark it and resynchronise on the next byte,
        // which keeps the ASCII after a broken lead byte readable.
        const unsigned char c = static_cast<unsigned char>(*in);
        const char16_t unit = !cd.valid() && c < 0x80 ? char16_t(c) : char16_t(0xFFFD);
        std::memcpy(dst, &unit, sizeof unit);
        dst += 2;
        dstLeft -= 2;
        ++in;
        --inLeft;
    }
    out.resize((dst - start) / 2);
    return out;
}

QString decodeText(const QByteArray& bytes, TextEncoding* detected)
{
    if (std::optional<QString> text = decodeMarked(bytes, detected))
        return *std::move(text);
    // Checking is much cheaper than decoding: a CP932 file with full-width characters fails at
    // its first one, and the Japanese test is one pass over bytes that are mostly ASCII.
    const TextEncoding encoding = QByteArrayView(bytes).isValidUtf8() && readsAsJapanese(bytes)
                                      ? TextEncoding::Utf8
                                      : TextEncoding::Cp932;
    if (detected)
        *detected = encoding;
    return encoding == TextEncoding::Utf8 ? decodeUtf8(bytes.constData(), bytes.size())
                                          : decodeCp932(bytes);
}

QString decodeSettingsText(const QByteArray& bytes, TextEncoding* detected)
{
    if (std::optional<QString> text = decodeMarked(bytes, detected))
        return *std::move(text);
    if (detected)
        *detected = TextEncoding::Cp932;
    return decodeCp932(bytes);
}

QByteArray encodeCp932(const QString& text, qsizetype* replaced)
{
    // Qt writes each lone surrogate as a '?' of its own here, which is then no loss the
    // conversion below sees: count them first.
    qsizetype lost = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            ++lost;
    }
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    const char* in = utf8.constData();
    size_t inLeft = static_cast<size_t>(utf8.size());
    Iconv cd(kCp932, "UTF-8");
    while (inLeft > 0) {
        if (cd.valid() && cd.convert(in, inLeft, out))
            break;
        const unsigned char c = static_cast<unsigned char>(*in);
        const size_t skip = std::min(utf8SequenceLength(c), inLeft);
        const bool kept = !cd.valid() && c < 0x80;
        out.append(kept ? static_cast<char>(c) : '?');
        lost += kept ? 0 : 1;
        in += skip;
        inLeft -= skip;
    }
    if (replaced)
        *replaced = lost;
    return out;
}

QByteArray encodeUtf16LeWithBom(const QString& text)
{
    QByteArray out;
    out.resize(2 + 2 * text.size());
    char* dst = out.data();
    dst[0] = '\xFF';
    dst[1] = '\xFE';
    const QChar* src = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<char16_t>(src[i].unicode(), dst + 2 + 2 * i);
    return out;
}

} // namespace nobrisa
