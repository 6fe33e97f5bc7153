#include "aids/textimport.h"

#include "aids/csv.h"
#include "text/lines.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace nobrisa {

namespace {

QString lineOrEmpty(const QStringList& lines, qsizetype k)
{
    return k < lines.size() ? lines[k] : QString();
}

QString fileMessage(const QString& format, const QString& path, const QString& reason)
{
    return format.arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString ToHalfWidth(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            c = QChar(u'0' + (u - u'０'));
        else if (u == u'－' || u == u'ー')
            c = QLatin1Char('-');
        else if (u == u'（')
            c = QLatin1Char('(');
        else if (u == u'）')
            c = QLatin1Char(')');
    }
    return out;
}

int LeadingDigitCount(QStringView text) noexcept
{
    int n = 0;
    while (n < text.size() && text[n] >= u'0' && text[n] <= u'9')
        ++n;
    return n;
}

ThreeParts cutThreeParts(QStringView text)
{
    // Each group takes its digits and the one character after them, the separator.
    auto takeGroup = [&text]() {
        const int n = LeadingDigitCount(text);
        const QString group = text.first(n).toString();
        text = text.sliced(std::min<qsizetype>(n + 1, text.size()));
        return group;
    };
    ThreeParts parts;
    parts.part1 = takeGroup();
    parts.part2 = takeGroup();
    parts.part3 = text.toString();
    return parts;
}

QStringList textFileLines(const QByteArray& bytes)
{
    return csvLines(bytes);
}

SubscriberText readSubscriberText(QStringList lines)
{
    if (lines.size() < 3) {
        for (int i = 0; i < 6; ++i)
            lines.append(QStringLiteral(" "));
    }
    // Lines of blanks stay: only a line of nothing is dropped.
    lines.removeIf([](const QString& line) { return line.isEmpty(); });

    const QString first = ToHalfWidth(lineOrEmpty(lines, 0));
    if (first.contains(QLatin1Char('-'))) {
        ThreeParts account = cutThreeParts(first);
        return {std::move(account.part1), std::move(account.part2), std::move(account.part3),
                lineOrEmpty(lines, 1)};
    }
    // A file that ran out of lines once its empty lines were dropped reads as if the missing
    // ones were there and empty: the name is then the (empty) third line, never an account part
    // read a second time.
    while (lines.size() < 3)
        lines.append(QString());
    return {lines[0], lines[1], lines[2], lines.last()};
}

PayerText readPayerText(QStringList lines)
{
    if (lines.size() < 3)
        lines << QString() << QString() << QString();
    ThreeParts telephone = cutThreeParts(ToHalfWidth(lines.last()));
    return {ToHalfWidth(lines.first()), joinLines(lines.mid(1, lines.size() - 2)),
            std::move(telephone.part1), std::move(telephone.part2), std::move(telephone.part3)};
}

std::optional<QStringList> readImportFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileMessage(QStringLiteral("ファイル「%1」を開けません。\n%2"), path,
                                 file.errorString());
        return std::nullopt;
    }
    // One byte beyond the limit tells a file that is too large, also where the size is not
    // known beforehand (a device or a pipe that never ends).
    const QByteArray bytes = file.read(kMaxImportFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = fileMessage(QStringLiteral("ファイル「%1」を読み込めません。\n%2"), path,
                                 file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > kMaxImportFileBytes) {
        if (error)
            *error = QStringLiteral("ファイル「%1」は大きすぎるため読み込みませんでした。"
                                    "読み込めるのは 1 MB までのテキストファイルです。")
                         .arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    return textFileLines(bytes);
}

} // namespace nobrisa
