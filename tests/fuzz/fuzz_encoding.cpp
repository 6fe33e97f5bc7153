// Text decoding: whatever the bytes, the encoding detected agrees with them, nothing decodes to
// more characters than there are bytes, and a text written again reads back the same.
#include "fuzzcheck.h"

#include "text/encoding.h"

using namespace nobrisa;

namespace {

bool startsWith(const QByteArray& bytes, const char* mark)
{
    return bytes.startsWith(QByteArrayView(mark));
}

// `decoded` is a text CP932 bytes gave: written again, it reads back the same. Any other text
// may hold characters that are written as a look-alike (U+00AC as the full-width ￢), so only
// the count of lost characters is checked there.
void checkCp932(const QString& text, bool decoded)
{
    qsizetype replaced = -1;
    const QByteArray encoded = encodeCp932(text, &replaced);
    // CP932's trail bytes start at 0x40, so every '?' is one the text had or one it lost.
    const qsizetype marks = encoded.count('?');
    fuzz::check(marks == text.count(u'?') + replaced, "characters lost counted",
                QStringLiteral("%1 '?' written, %2 in the text, %3 counted as lost; text %4")
                    .arg(marks)
                    .arg(text.count(u'?'))
                    .arg(replaced)
                    .arg(QString::fromLatin1(
                        QByteArray::fromRawData(reinterpret_cast<const char*>(text.utf16()),
                                                text.size() * 2)
                            .toHex())));
    if (decoded && replaced == 0)
        fuzz::check(decodeCp932(encoded) == text, "CP932 round trip", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);

    TextEncoding detected = TextEncoding::Cp932;
    const QString text = decodeText(bytes, &detected);
    const bool marked = startsWith(bytes, "\xEF\xBB\xBF") || startsWith(bytes, "\xFF\xFE") ||
                        startsWith(bytes, "\xFE\xFF");
    switch (detected) {
    case TextEncoding::Utf8Bom:
        fuzz::check(startsWith(bytes, "\xEF\xBB\xBF"), "UTF-8 mark");
        break;
    case TextEncoding::Utf16Le:
        fuzz::check(startsWith(bytes, "\xFF\xFE"), "UTF-16LE mark");
        break;
    case TextEncoding::Utf16Be:
        fuzz::check(startsWith(bytes, "\xFE\xFF"), "UTF-16BE mark");
        break;
    case TextEncoding::Utf8:
        fuzz::check(!marked && QByteArrayView(bytes).isValidUtf8() && readsAsJapanese(bytes),
                    "UTF-8 only when valid and Japanese");
        fuzz::check(text.toUtf8() == bytes, "UTF-8 decoded whole", text);
        break;
    case TextEncoding::Cp932:
        fuzz::check(!marked, "CP932 only without a mark");
        fuzz::check(text == decodeCp932(bytes), "CP932 decoded as such", text);
        break;
    }
    fuzz::check(text.size() <= bytes.size(), "no more characters than bytes", text);

    // Settings files: a mark decides as for text files, anything else is CP932.
    TextEncoding settingsEncoding = TextEncoding::Utf8;
    const QString settings = decodeSettingsText(bytes, &settingsEncoding);
    fuzz::check(marked ? settings == text && settingsEncoding == detected
                       : settingsEncoding == TextEncoding::Cp932 && settings == decodeCp932(bytes),
                "settings text decoded as the mark says", settings);

    // Written back as a settings file writes it, the text reads as it was.
    fuzz::check(decodeText(encodeUtf16LeWithBom(text)) == text, "UTF-16 round trip", text);
    checkCp932(text, detected == TextEncoding::Cp932);
    checkCp932(fuzz::textOf(bytes, true), false);
    return 0;
}
