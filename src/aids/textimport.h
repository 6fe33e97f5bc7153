#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace nobrisa {

// Reading a subscriber or a payer from a small text file the user has prepared or received: the
// account number and the subscriber's name, or the payer's postal code, address and telephone.

// Replaces the full-width digits ０–９ by 0–9, the full-width hyphen-minus － and the prolonged
// sound mark ー by "-", and （ ） by ( ). Nothing else changes.
QString ToHalfWidth(const QString& text);

// How many characters at the start of the text are the ASCII digits 0–9.
int LeadingDigitCount(QStringView text) noexcept;

// A number written in three groups ("012-3-456", "(03)123-456").
struct ThreeParts {
    QString part1;
    QString part2;
    QString part3;
};

// Cuts a text into three parts: the leading digits, then (after skipping the one character
// behind them, whatever it is) the next leading digits, then the rest unchanged. The groups'
// lengths are not checked: the user sees the result in the fields.
ThreeParts cutThreeParts(QStringView text);

// The lines of a text file's bytes, read as the continuous-print CSV file is read: a byte-order
// mark decides the encoding, otherwise UTF-8 when the bytes are Japanese UTF-8, else CP932; a
// NUL ends the text; CR, LF and CR LF end lines; a line break at the very end adds no line.
QStringList textFileLines(const QByteArray& bytes);

// The fields a subscriber text file gives, all of them: an import changes them together.
struct SubscriberText {
    QString Ekouza1;
    QString Ekouza2;
    QString Ekouza3;
    QString Ekanyu;
};

// Reads a subscriber text file's lines. In the dashed form the first line is the account
// number ("012-3-456", full-width digits and dashes accepted) and the second the name; in the
// three-line form the first three lines are the account's parts, as written, and the last line
// is the name. A file of fewer than three lines gets six lines of one blank appended, then every
// empty line is dropped; lines a form reads that are still missing read as empty.
SubscriberText readSubscriberText(QStringList lines);

// The fields a payer text file gives, all of them.
struct PayerText {
    QString Ezip;
    QString Maddres; // the lines between the first and the last, CR LF between them
    QString Etele1;
    QString Etele2;
    QString Etele3;
};

// Reads a payer text file's lines: the postal code on the first line, the address and name
// lines, the telephone on the last line. A file of fewer than three lines gets three empty lines
// appended; empty lines count like any other.
PayerText readPayerText(QStringList lines);

// An import file is a few lines; anything larger is not one (a picture or a database chosen by
// mistake) and is refused before it is decoded.
inline constexpr qint64 kMaxImportFileBytes = 1024 * 1024;

// The lines of the text file at `path`, or nullopt with a message naming the file in `error`
// when it cannot be read or is larger than kMaxImportFileBytes.
std::optional<QStringList> readImportFile(const QString& path, QString* error);

} // namespace nobrisa
