#pragma once

#include <QString>

namespace nobrisa {

// Texts the program hands to other programs, made from what the user typed or a setting file
// brought in. The print job's title goes to the spooler (and on to lpstat, the printer's panel,
// mail notices) and into the PDF's document title; a proposed file name goes to the save dialog
// and on to the file system. Neither may carry terminal escapes, bells, line breaks or a path.

// C0 and C1 control characters and DEL, the line and paragraph separators, and the bidirectional
// embeddings, overrides and isolates (which reorder what a terminal or a file manager shows).
bool isControlForOthers(char32_t c) noexcept;

// The print job's title: "Nobrisa_" and the subscriber's first line, every control character
// (isControlForOthers) replaced by a blank.
QString jobTitle(const QString& subscriberName);

// The file name proposed for a text: the text without "/", control characters (isControlForOthers)
// and leading dots, then "." and the suffix. The name is cut to 255 bytes in UTF-8, the longest
// name the file systems take. Empty when nothing of the text is left, so that no hidden file
// (".dat") is ever proposed.
QString proposedFileName(const QString& text, const QString& suffix);

} // namespace nobrisa
