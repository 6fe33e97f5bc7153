#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace nobrisa {

// The lines of a continuous-print CSV file: the bytes decoded (a byte-order mark selects UTF-8,
// UTF-16LE or UTF-16BE, otherwise CP932), the text cut at the first NUL, split at CR, LF or
// CR LF; a line break at the very end adds no empty line. An empty file has no line.
QStringList csvLines(const QByteArray& bytes);

// Splits one line's text into its fields:
//  - characters of codes 1 to 32 are skipped before a field;
//  - a field opening with " runs to the next " that is not doubled ("" stands for one "), to
//    the end of the line when none closes it; a character after the closing quote that is not
//    a comma or a blank code begins a new field;
//  - any other field runs up to the next comma or blank code (a space ends an unquoted field);
//  - after a field blank codes are skipped; a comma is consumed with the blank codes after it;
//    a comma that is the line's last character adds one empty field, a comma followed only by
//    blanks adds none; two commas in a row give an empty field.
QStringList splitCsvFields(QStringView line);

} // namespace nobrisa
