#pragma once

#include <QString>

namespace nobrisa {

// The text workbench's clean-ups. Each takes the editor's whole text, its lines separated by LF,
// and gives the cleaned text back. A line is what a line break ends in the text, not a line the
// editor shows after wrapping a long one: no clean-up breaks a line or joins two.

// Every full-width digit ０ … ９ becomes its ASCII digit; nothing else changes (full-width
// letters, hyphens, blanks and the postal mark stay).
QString fullWidthDigitsToAscii(QString text);

// In every line each tab goes, wherever it stands; then the characters up to U+0020 (blanks and
// control codes) at the line's start go. The ideographic blank U+3000 and trailing blanks stay;
// the number of lines stays.
QString removeTabsAndLeadingBlanks(const QString& text);

// Drops the lines that hold no character; a line of blanks or tabs is not empty and stays.
QString removeEmptyLines(const QString& text);

// Removes every comma, "," and the full-width "，".
QString removeCommas(QString text);

// The largest text file the workbench opens. The workbench holds letters, lists and mails; a
// file beyond this is no such text, and the editor would take many seconds to lay it out and
// every clean-up as long again.
inline constexpr qint64 kWorkbenchMaxFileBytes = 4 * 1024 * 1024;

// Reads a text file for the workbench: a byte-order mark decides the encoding; without one the
// bytes are UTF-8 when they read as such, else CP932 (see decodeText). A file larger than
// kWorkbenchMaxFileBytes, one that is no regular file, and one holding NUL characters (a binary
// file, or UTF-16 without its mark) are refused. On failure `text` is untouched and `error` says
// why, naming the file.
bool readWorkbenchFile(const QString& path, QString* text, QString* error);

} // namespace nobrisa
