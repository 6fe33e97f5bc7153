#pragma once

#include <QString>

namespace nobrisa {

// Where the program keeps a file of its own named after the executable (the application INI
// file ".ini", the facsimile ".wmf"): beside the executable when its folder is writable,
// otherwise under the same file name in the user's configuration folder (an installed program
// cannot write its own folder). An installed program (see installedDataFolder; `dataFromBin`
// names its data folder) always uses the configuration folder: even where root could write
// /usr/bin, files there belong to the package manager.
QString applicationFilePath(const QString& executablePath, const QString& suffix,
                            const QString& configDir, const QString& dataFromBin = {});

// The executable's path with its suffix replaced (".ini", ".html"), whether writable or not.
QString besideExecutable(const QString& executablePath, const QString& suffix);

// The folder an installed program reads its shipped files from (help page, sample): the
// executable's folder joined with `dataFromBin` ("../share/nobrisa" for bin/nobrisa). Empty
// when there is none, as for a program run from its build folder.
QString installedDataFolder(const QString& executablePath, const QString& dataFromBin);

// A file the program ships under the executable's name (the help page ".html"): beside the
// executable, as in the build folder, or else in the installed data folder. The path beside
// the executable when neither exists, so that a message can name it.
QString shippedFilePath(const QString& executablePath, const QString& suffix,
                        const QString& dataFromBin);

} // namespace nobrisa
