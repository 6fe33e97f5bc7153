#include "text/encoding.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>

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

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

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

} // namespace

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
    auto report = [detected](TextEncoding e) {
        if (detected)
            *detected = e;
    };
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) {
        report(TextEncoding::Utf8Bom);
        return decodeUtf8(data + 3, size - 3);
    }
    if (startsWith(bytes, "\xFF\xFE", 2)) {
        report(TextEncoding::Utf16Le);
        return decodeUtf16(data + 2, size - 2, false);
    }
    if (startsWith(bytes, "\xFE\xFF", 2)) {
        report(TextEncoding::Utf16Be);
        return decodeUtf16(data + 2, size - 2, true);
    }
    // Checking is much cheaper than decoding: a CP932 file fails at its first Japanese byte.
    if (QByteArrayView(bytes).isValidUtf8()) {
        report(TextEncoding::Utf8);
        return decodeUtf8(data, size);
    }
    report(TextEncoding::Cp932);
    return decodeCp932(bytes);
}

QByteArray encodeCp932(const QString& text)
{
    // Qt turns lone surrogates into U+FFFD here, which CP932 lacks, so they end up as '?' too.
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
        out.append(!cd.valid() && c < 0x80 ? static_cast<char>(c) : '?');
        in += skip;
        inLeft -= skip;
    }
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
