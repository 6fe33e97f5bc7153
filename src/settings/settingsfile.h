#pragma once

#include <QString>

namespace nobrisa {

class IniFile;

// Reads a settings file into `ini`. A missing file reads as an empty one. An existing file that
// cannot be read gives false and, in `error`, a message naming the file; `ini` is then unchanged.
bool readIniFile(const QString& fileName, IniFile& ini, QString* error);

// Reads the file that a save is about to rewrite, so that the save keeps what else it holds. As
// readIniFile, but a failure is reported as the file not being saved: overwriting a file whose
// contents could not be read would lose them.
bool readIniFileForUpdate(const QString& fileName, IniFile& ini, QString* error);

// Writes `ini` through a temporary file that replaces the old one only when everything was
// written, so a failure leaves the old file as it was. Gives false and a message naming the file
// when it cannot be written.
bool writeIniFile(const QString& fileName, const IniFile& ini, QString* error);

} // namespace nobrisa
