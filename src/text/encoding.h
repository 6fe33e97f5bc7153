#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace nobrisa {

// How a text file's bytes were (or are to be) encoded.
enum class TextEncoding {
    Utf8Bom, // EF BB BF
    Utf16Le, // FF FE
    Utf16Be, // FE FF
    Utf8,    // no mark: a text file whose bytes are valid UTF-8 and read as Japanese text
    Cp932,   // no mark, anything else: the Japanese Windows code page (Shift-JIS with NEC and
             // IBM extensions)
};

// Decodes the bytes of a text file (a CSV file, a text to import). A byte-order mark decides
// (UTF-8, UTF-16LE, UTF-16BE) and is not part of the result. Without one the bytes are UTF-8 only
// when they are valid UTF-8 and the text reads as Japanese (see readsAsJapanese), otherwise
// CP932: legacy Shift-JIS is often valid UTF-8 by accident, half-width katakana above all (ﾆｼ,
// C6 BC, would read as «Ƽ»). Bytes that cannot be decoded become U+FFFD; an odd trailing byte of
// UTF-16 becomes U+FFFD too. Never fails. `detected`, when given, receives the encoding used.
QString decodeText(const QByteArray& bytes, TextEncoding* detected = nullptr);

// Decodes a settings file: a byte-order mark decides as above; without one the file is CP932,
// whatever its bytes, since only files in the legacy ANSI form carry no mark.
QString decodeSettingsText(const QByteArray& bytes, TextEncoding* detected = nullptr);

// Whether valid UTF-8 bytes hold text a Japanese UTF-8 file plausibly holds: ASCII; kana
// (half-width too), CJK ideographs of every block, CJK symbols and punctuation, full-width forms;
// the symbols of Japanese text (general punctuation, letterlike symbols, Roman numerals, arrows,
// mathematical signs, circled numbers, box drawing, shapes, dingbats, emoji), variation
// selectors, private-use characters (user-defined characters) and Hangul. Latin-1 (¥ § ° ± × ÷
// é), Latin Extended-A (ō), and the Greek and Cyrillic letters of JIS X 0208 count only beside
// kana or kanji: they are the two-byte range where pairs of half-width katakana land, so a text of
// those alone is Shift-JIS. Everything else there (C1 controls, IPA, combining marks, Hebrew,
// Arabic, …) and any other script makes the answer false.
bool readsAsJapanese(QByteArrayView utf8) noexcept;

// Decodes CP932 bytes; undecodable bytes become U+FFFD.
QString decodeCp932(const QByteArray& bytes);

// Encodes for the Japanese Windows code page; every character that CP932 cannot represent
// becomes one '?'. `replaced`, when given, receives how many characters became '?' that way (a
// '?' of the text itself is not counted), so that a caller can tell the user what was lost.
QByteArray encodeCp932(const QString& text, qsizetype* replaced = nullptr);

// UTF-16LE with the byte-order mark FF FE, as the settings files are written.
QByteArray encodeUtf16LeWithBom(const QString& text);

} // namespace nobrisa
