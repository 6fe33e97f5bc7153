#include "settings/linelist.h"

#include "settings/inifile.h"
#include "text/lines.h"

#include <algorithm>

namespace nobrisa {
namespace {

// Lines past every key of the section are empty; this many of them are still returned for a
// count that points beyond the keys.
constexpr int kSpareEmptyLines = 1000;

} // namespace

QString lineListKey(int index)
{
    const QString digits = QString::number(index);
    return index >= 0 && index < 10 ? QStringLiteral("Line0") + digits
                                    : QStringLiteral("Line") + digits;
}

QString wrapLine(const QString& line)
{
    return u'#' + line + u'#';
}

QString unwrapLine(const QString& value)
{
    return value.size() < 3 ? QString() : value.sliced(1, value.size() - 2);
}

QString readLineList(const IniFile& ini, const QString& section, const QString& countKey,
                     const LineKeyFunction& keyOf)
{
    const int stored = ini.readInteger(section, countKey, 0);
    const int count = std::min(stored, ini.keyCount(section) + kSpareEmptyLines);
    if (count < 1)
        return QString();
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(unwrapLine(ini.readString(section, keyOf(i), QString())));
    QString text = joinLines(lines);
    if (lines.constLast().isEmpty())
        text += QStringLiteral("\r\n");
    return text;
}

void writeLineList(IniFile& ini, const QString& section, const QString& countKey,
                   const QString& text, const LineKeyFunction& keyOf)
{
    const QStringList lines = splitLines(text);
    ini.writeInteger(section, countKey, static_cast<int>(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        ini.setValue(section, keyOf(static_cast<int>(i)), wrapLine(lines[i]));
}

} // namespace nobrisa
