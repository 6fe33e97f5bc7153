#pragma once

#include <QString>
#include <QStringList>

namespace nobrisa {

// A multi-line field is one text with line breaks (CR LF, LF or CR). These helpers read it the
// way the program's multi-line editors count it: a final empty line is not a line.

// The lines of a text; an empty text has none, and a final line break adds no empty line.
QStringList splitLines(const QString& text);

// Number of lines, not counting an empty last line: "" → 0, "a" → 1, "a\r\n" → 1.
int lineCount(const QString& text);

// Line k (from 0) without its line break; empty when there is no such line.
QString lineAt(const QString& text, int k);

// The whole text: the lines joined by CR LF (no line break after the last one).
QString wholeText(const QString& text);

// Lines joined by CR LF.
QString joinLines(const QStringList& lines);

// The first line of the most characters; of several equally long lines the first wins.
QString longestLine(const QString& text);

// Removes leading and trailing characters with codes up to 32 (blanks and control characters).
QString trimControl(const QString& text);

} // namespace nobrisa
