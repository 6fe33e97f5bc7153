#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace nobrisa::fuzz {

// Stops the run when a property that must hold for every input does not: libFuzzer keeps the
// input as a crash file, so a broken property is a finding like a sanitizer report.
inline void check(bool ok, const char* what, const QString& detail = QString())
{
    if (ok)
        return;
    // A NUL would end the printed detail early.
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what,
                 qUtf8Printable(QString(detail).replace(QChar(0), QStringLiteral("\\0"))));
    std::abort();
}

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A text from fuzzed bytes, as UTF-8 or as raw UTF-16 units (which reach lone surrogates, every
// CJK block and the private use area that UTF-8 seeds rarely do).
inline QString textOf(const QByteArray& bytes, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(bytes);
    return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
}

} // namespace nobrisa::fuzz
