#pragma once

#include "aids/continuoustable.h"
#include "model/tprintpositions.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>
#include <utility>
#include <vector>

namespace nobrisa {
class QtPrinterDevice;
}

namespace nobrisa::cli {

// What the commands share: reading the setting file, the CSV table and its --map options.

// Says on `err` what is wrong with the arguments and where the usage is; gives the exit code for
// bad arguments.
int usageError(const QString& problem, QTextStream& err);

// Why a file given on the command line cannot be read, if it cannot.
std::optional<QString> checkReadable(const QString& path);

// "FIELD=COLUMN" of --map; nothing for an unknown field or a column that is not a number ≥ 0.
std::optional<std::pair<MapField, int>> parseMapping(const QString& text);
// The message for a --map value parseMapping refuses.
QString mappingUsage();

// Reads the slip and the print positions of a setting file (or the application's INI file).
// False, with the reason on `err`, when the file is missing or unreadable.
bool loadSettingFile(const QString& path, SettingsState& state, TPrintPositions& positions,
                     QTextStream& err);

// Reads the CSV file into `rows` (the amount column filled with `amountText`) and applies the
// mapping overrides. A file that looks like no text file is refused unless `readNonText` (the
// option --binary) says it is meant. Returns 0 or the exit code, with the reason on `err`.
int loadRows(const QString& csv, const QString& amountText,
             const std::vector<std::pair<MapField, int>>& mapping, bool readNonText,
             ContinuousTable& rows, QTextStream& err);

// Makes the installed printer `name` current. False, with the printers there are on `err`,
// when there is none of that name.
bool selectNamedPrinter(QtPrinterDevice& printer, const QString& name, QTextStream& err);

} // namespace nobrisa::cli
