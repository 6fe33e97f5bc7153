#include "aids/workbench.h"

#include "text/encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

namespace nobrisa {

namespace {

// Applies `edit` to every LF-separated line of `text` in place of the line.
template <class Edit> QString eachLine(const QString& text, Edit edit)
{
    QString result;
    result.reserve(text.size());
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        const QStringView line =
            QStringView(text).sliced(start, (end < 0 ? text.size() : end) - start);
        edit(line, result);
        if (end < 0)
            break;
        result += u'\n';
        start = end + 1;
    }
    return result;
}

QString tooLargeMessage(const QString& path)
{
    return QStringLiteral("ファイル「%1」は大きすぎるため読み込めません。\n"
                          "テキスト読込で開けるのは %2 MB までのファイルです。")
        .arg(QDir::toNativeSeparators(path))
        .arg(kWorkbenchMaxFileBytes / (1024 * 1024));
}

} // namespace

QString fullWidthDigitsToAscii(QString text)
{
    for (QChar& c : text) {
        if (c >= u'\xFF10' && c <= u'\xFF19')
            c = QChar(u'0' + (c.unicode() - 0xFF10));
    }
    return text;
}

QString removeTabsAndLeadingBlanks(const QString& text)
{
    return eachLine(text, [](QStringView line, QString& out) {
        const qsizetype before = out.size();
        for (const QChar c : line) {
            // Tabs go everywhere; other codes up to the blank only before the line's first
            // visible character.
            if (c == u'\t')
                continue;
            if (out.size() == before && c.unicode() <= 0x20)
                continue;
            out += c;
        }
    });
}

QString removeEmptyLines(const QString& text)
{
    QString result;
    result.reserve(text.size());
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (end > start) {
            if (!result.isEmpty())
                result += u'\n';
            result += QStringView(text).sliced(start, end - start);
        }
        start = end + 1;
    }
    return result;
}

QString removeCommas(QString text)
{
    text.remove(u',');
    text.remove(u'\xFF0C');
    return text;
}

bool readWorkbenchFile(const QString& path, QString* text, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const QFileInfo info(path);
    // A device or a pipe has no end to read to (and opening a pipe waits for a writer).
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("「%1」はファイルではないため読み込めません。").arg(shown));
    if (info.size() > kWorkbenchMaxFileBytes)
        return fail(tooLargeMessage(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(
            QStringLiteral("ファイル「%1」を開けません。\n%2").arg(shown, file.errorString()));
    }
    // One byte over the limit tells a file that grew since it was looked at.
    const QByteArray bytes = file.read(kWorkbenchMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return fail(
            QStringLiteral("ファイル「%1」を読み込めません。\n%2").arg(shown, file.errorString()));
    }
    if (bytes.size() > kWorkbenchMaxFileBytes)
        return fail(tooLargeMessage(path));

    QString decoded = decodeText(bytes);
    // No text file holds NUL: the bytes are a program, a picture, or UTF-16 without its mark,
    // and shown as text they would be nothing but garbage.
    if (decoded.contains(QChar(u'\0'))) {
        return fail(QStringLiteral("ファイル「%1」はテキストファイルではないため読み込めません。")
                        .arg(shown));
    }
    *text = std::move(decoded);
    return true;
}

} // namespace nobrisa
