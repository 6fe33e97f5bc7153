#include "text/lines.h"

namespace nobrisa {

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

int lineCount(const QString& text)
{
    return static_cast<int>(splitLines(text).size());
}

QString lineAt(const QString& text, int k)
{
    const QStringList lines = splitLines(text);
    return k >= 0 && k < lines.size() ? lines[k] : QString();
}

QString wholeText(const QString& text)
{
    return joinLines(splitLines(text));
}

QString joinLines(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString longestLine(const QString& text)
{
    QString best;
    for (const QString& line : splitLines(text)) {
        if (line.size() > best.size())
            best = line;
    }
    return best;
}

QString trimControl(const QString& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

} // namespace nobrisa
