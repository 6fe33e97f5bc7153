#pragma once

#include <QString>

#include <functional>

namespace nobrisa {

class IniFile;

// A multi-line field in a settings file: a count key holding the number of lines, and one key
// per line whose value is the line wrapped in "#", so that blanks at either end of a line survive
// the reader's trimming.

// The key of line `index` (from 0): "Line00" … "Line09", then "Line10", "Line11", … "Line100".
QString lineListKey(int index);

// "#" + line + "#".
QString wrapLine(const QString& line);

// Drops the first and the last character, whatever they are; fewer than three characters give
// an empty line.
QString unwrapLine(const QString& value);

using LineKeyFunction = std::function<QString(int)>;

// Reads the field: the count (a missing or non-numeric count, or one below 1, gives no lines),
// then that many line keys, a missing one giving an empty line. The result is the lines joined by
// CR LF; when the last line is empty a final CR LF keeps it counted. A count far beyond the keys
// the section holds is cut down, so that a damaged count cannot exhaust memory; the lines cut
// off would all be empty.
QString readLineList(const IniFile& ini, const QString& section, const QString& countKey,
                     const LineKeyFunction& keyOf = lineListKey);

// Writes the count and one key per line. Line keys beyond the new count are left alone; the
// count makes readers ignore them.
void writeLineList(IniFile& ini, const QString& section, const QString& countKey,
                   const QString& text, const LineKeyFunction& keyOf = lineListKey);

} // namespace nobrisa
