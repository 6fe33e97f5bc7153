#include "text/outwardtext.h"

#include "text/lines.h"

namespace nobrisa {

namespace {

// The longest file name, in bytes, of ext4, XFS, Btrfs and tmpfs.
constexpr qsizetype kNameMax = 255;

qsizetype utf8Size(char32_t c) noexcept
{
    if (c < 0x80)
        return 1;
    if (c < 0x800)
        return 2;
    return c < 0x10000 ? 3 : 4;
}

// Calls take(code point, its UTF-16 units) for each code point of the text; an unpaired
// surrogate is one code point of its own. Stops when take returns false.
template <typename Take> void forEachCodePoint(const QString& text, Take take)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        qsizetype units = 1;
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1]);
            units = 2;
        }
        if (!take(code, QStringView(text).mid(i, units)))
            return;
        i += units;
    }
}

} // namespace

bool isControlForOthers(char32_t c) noexcept
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString jobTitle(const QString& subscriberName)
{
    QString title = QStringLiteral("Nobrisa_");
    forEachCodePoint(lineAt(subscriberName, 0), [&](char32_t c, QStringView units) {
        if (isControlForOthers(c))
            title += u' ';
        else
            title += units;
        return true;
    });
    return title;
}

QString proposedFileName(const QString& text, const QString& suffix)
{
    const QString tail = u'.' + suffix;
    const qsizetype room = kNameMax - tail.toUtf8().size();
    QString stem;
    qsizetype bytes = 0;
    forEachCodePoint(text, [&](char32_t c, QStringView units) {
        if (c == u'/' || isControlForOthers(c) || (stem.isEmpty() && c == u'.'))
            return true;
        bytes += utf8Size(c);
        if (bytes > room)
            return false;
        stem += units;
        return true;
    });
    return stem.isEmpty() ? QString() : stem + tail;
}

} // namespace nobrisa
