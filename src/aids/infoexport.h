#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace nobrisa {

struct TSlipRecord;

// The slip's values written out for use outside the program: a text file of one value per line,
// or one CSV record. Both are CP932 without a byte-order mark, as Japanese Windows programs and
// spreadsheets read such files.

enum class ExportFormat { Text, Csv };

// The export date: "2026年12月9日(水)", the weekday in Japanese whatever the desktop's language.
QString exportDateText(const QDate& date);

// The thirteen values in their order: the account's three parts, the subscriber's name, the
// amount's text, the postal code, the address and name, the telephone's three parts, the message,
// the right-hand name, and `date`. A multi-line field is its lines joined by CR LF.
QStringList exportValues(const TSlipRecord& slip, const QString& date);

// The text format: each value followed by CR LF (a multi-line value takes as many lines as it
// has), no labels and no quoting.
QString exportText(const TSlipRecord& slip, const QString& date);

// The CSV format: one record of nine quoted fields (the account and the telephone each joined by
// "-"), then CR LF. A double quote inside a value is doubled, so that readers split the record
// as it was written; each CR and each LF becomes a blank, so that the record stays one line.
QString exportCsv(const TSlipRecord& slip, const QString& date);

// A format's bytes in CP932 and how many characters CP932 could not hold (written as '?').
struct ExportBytes {
    QByteArray bytes;
    qsizetype replaced = 0;
};
ExportBytes exportBytes(ExportFormat format, const TSlipRecord& slip, const QString& date);

// Writes the bytes as the file `path`, whole or not at all (an existing file is replaced only
// once everything is written). False, with a message naming the file and the cause in `error`.
bool writeExportFile(const QString& path, const QByteArray& bytes, QString* error);

// What to tell the user after `replaced` characters were written as '?'.
QString replacedCharactersMessage(qsizetype replaced);

} // namespace nobrisa
