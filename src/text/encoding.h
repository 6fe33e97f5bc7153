#pragma once

#include <QByteArray>
#include <QString>

namespace nobrisa {

// How a text file's bytes were (or are to be) encoded.
enum class TextEncoding {
    Utf8Bom, // EF BB BF
    Utf16Le, // FF FE
    Utf16Be, // FE FF
    Utf8,    // no mark, bytes that form valid UTF-8
    Cp932,   // no mark, anything else: the Japanese Windows code page (Shift-JIS with NEC and
             // IBM extensions)
};

// Decodes the bytes of a text file. A byte-order mark decides (UTF-8, UTF-16LE, UTF-16BE) and is
// not part of the result. Without one, bytes that are valid UTF-8 are read as UTF-8 and anything
// else as CP932. Bytes that cannot be decoded become U+FFFD; an odd trailing byte of UTF-16
// becomes U+FFFD too. Never fails. `detected`, when given, receives the encoding used.
QString decodeText(const QByteArray& bytes, TextEncoding* detected = nullptr);

// Decodes CP932 bytes; undecodable bytes become U+FFFD.
QString decodeCp932(const QByteArray& bytes);

// Encodes for the Japanese Windows code page; every character that CP932 cannot represent
// becomes one '?'.
QByteArray encodeCp932(const QString& text);

// UTF-16LE with the byte-order mark FF FE, as the settings files are written.
QByteArray encodeUtf16LeWithBom(const QString& text);

} // namespace nobrisa
