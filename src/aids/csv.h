#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <vector>

namespace nobrisa {

// The lines of a continuous-print CSV file: the bytes decoded as decodeText does (a byte-order
// mark; without one UTF-8 when the bytes are UTF-8 that reads as Japanese, otherwise CP932), the
// text cut at the first NUL, split at CR, LF or CR LF; a line break at the very end adds no
// empty line. An empty file has no line.
QStringList csvLines(const QByteArray& bytes);

// Splits one line's text into its fields:
//  - characters of codes 1 to 32 are skipped before a field;
//  - a field opening with " runs to the next " that is not doubled ("" stands for one "), to
//    the end of the line when none closes it; a character after the closing quote that is not
//    a comma or a blank code begins a new field;
//  - any other field runs up to the next comma; blank codes inside it are part of the value
//    («山田 太郎» as a spreadsheet writes it is one field), those at its end are dropped;
//  - after a field blank codes are skipped; a comma is consumed with the blank codes after it;
//    a comma that is the line's last character adds one empty field, a comma followed only by
//    blanks adds none; two commas in a row give an empty field.
QStringList splitCsvFields(QStringView line);

// The text of a continuous-print CSV file as csvLines reads it: decoded, cut at the first NUL.
QString csvText(const QByteArray& bytes);

// How many characters of a text tell that it was no text file: control codes other than tab,
// line feed, vertical tab (spreadsheet exports use it for breaks inside a value), form feed and
// carriage return; DEL and the C1 codes; U+FFFD, which the decoder puts for bytes it cannot read.
qsizetype countNonTextCharacters(QStringView text) noexcept;

// Walks the lines of csvText's result as csvLines cuts them, without copying them.
class CsvLineCursor final {
public:
    explicit CsvLineCursor(QStringView text) noexcept
        : mRest(text)
    {
    }
    // Sets `line` to the next line; false after the last one.
    bool next(QStringView& line) noexcept;

private:
    QStringView mRest;
};

// splitCsvFields for many lines in a row: the fields are views into the line or into the
// splitter's own buffer (for quoted fields with doubled quotes), valid until the next split.
// A large file thus costs no list and no string a field.
class CsvFieldSplitter final {
public:
    // With a `limit`, the splitting stops after limit + 1 fields: enough to tell a line of too
    // many fields (a hostile line of commas) without a piece for each.
    const std::vector<QStringView>& split(QStringView line,
                                          std::size_t limit = static_cast<std::size_t>(-1));

private:
    struct Piece {
        bool inBuffer; // in mUnquoted rather than in the line
        qsizetype begin;
        qsizetype size;
    };
    qsizetype readQuoted(QStringView line, qsizetype pos);

    std::vector<Piece> mPieces;
    std::vector<QStringView> mFields;
    QString mUnquoted;
};

} // namespace nobrisa
