#pragma once

#include <QString>

namespace nobrisa {

// Where the program keeps a file of its own named after the executable (the application INI
// file ".ini", the facsimile ".wmf", the help page ".html"): beside the executable when its folder
// is writable, otherwise under the same file name in the user's configuration folder (an
// installed program cannot write its own folder).
QString applicationFilePath(const QString& executablePath, const QString& suffix,
                            const QString& configDir);

// The executable's path with its suffix replaced (".ini", ".html"), whether writable or not.
QString besideExecutable(const QString& executablePath, const QString& suffix);

} // namespace nobrisa
