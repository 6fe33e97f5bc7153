#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace nobrisa {

// What the main window needs to know about the process it runs in, gathered once by main() and
// passed in, so that the window reads no global paths and tests can point it at temporary files.
struct AppContext {
    QString appIniPath;       // the application INI file, read at start-up and written at exit
    QString helpPath;         // the help page (beside the executable or installed), for F1
    QString facsimilePath;    // the facsimile's metafile, rewritten by every preview; empty: none
    QString workingFolder;    // where "使い方" looks for ZENTORA.TXT
    QString executableFolder; // where the continuous-print CSV open starts
    QSize screenSize{1920, 1080};
    // The faces the font lists offer; unset means the faces installed on this machine.
    std::optional<QStringList> faces;
};

// The context of this process: the executable's INI file (in the user's configuration folder,
// created when needed, if the executable's folder is not writable or the program is installed),
// its help page, the working folder and the primary screen's size. Needs a QGuiApplication.
AppContext processContext();

} // namespace nobrisa
