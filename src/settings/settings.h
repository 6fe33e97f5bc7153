#pragma once

#include "model/devicecaps.h"
#include "model/tprintpositions.h"
#include "model/tsliprecord.h"

#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>

namespace nobrisa {

class IniFile;

// The main window's position and size in screen pixels: the place and size it has when neither
// maximised nor minimised, also while it is maximised.
struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 800;
    int height = 600;
    bool maximized = false;
    bool operator==(const WindowGeometry&) const = default;
};

// Everything LoadSettings and SaveSettings move between a settings file and the program, as
// plain values: the window copies it in and out.
struct SettingsState {
    TSlipRecord slip;
    bool namingBySubscriber = true; // File/Opt: 1 proposes the subscriber name, 0 the account
    QString saveDialogFileName;     // File/Save (written only)
    QString saveDialogDir;          // File/Dir
    QString openDialogFileName;     // File/Open (written only)
    QString openDialogDir;          // File/Open_Dir
    WindowGeometry geometry;
    int pixelsPerInch = 96; // Form/Pixelsperinch (written only)
    Orientation orientation = Orientation::Portrait;
    QString caption = QStringLiteral("Nobrisa");
};

// What the settings code needs of the world, passed in so that it reads no global state.
struct SettingsEnvironment {
    QString appIniPath;           // the application INI file (for the caption rule)
    QSize screenSize{1920, 1080}; // primary screen, for clamping the window geometry
    QDateTime now;                // System/Date and System/Time
    // The program speaks Japanese whatever the desktop's language, its files too.
    QLocale locale{QLocale::Japanese, QLocale::Japan};
};

// Reads a settings file (the application INI file or a setting file) into `state`: the slip
// record, the adjustment, the naming option, the dialogs' folders (their file names cleared),
// the window geometry (clamped to the screen), the orientation and the caption. The print
// positions are not touched. A missing file is no error: every key takes its default. Returns
// false with a message naming the file only when an existing file cannot be read.
bool LoadSettings(const QString& fileName, SettingsState& state, const SettingsEnvironment& env,
                  QString* error);
// What LoadSettings does once the file is read: `fileName` only names the caption.
void readSettings(const IniFile& ini, const QString& fileName, SettingsState& state,
                  const SettingsEnvironment& env);

// Writes every key into the file, keeping whatever else the file holds (the registered lists,
// other sections, stale line keys), as UTF-16LE with BOM and CR LF, through a save file so that
// a failed write leaves the old file intact. Sets the caption. Returns false with a message
// naming the file when it cannot be written; the caption is then unchanged.
bool SaveSettings(const QString& fileName, SettingsState& state, const TPrintPositions& positions,
                  const SettingsEnvironment& env, QString* error);

// Reads the 26 print-position keys of section TabSheet99 (defaults: the standard values).
bool LoadPrintPositions(const QString& fileName, TPrintPositions& positions, QString* error);
// The same on a file already read.
void readPrintPositions(const IniFile& ini, TPrintPositions& positions);

// The caption a window shows after saving `fileName`: "Nobrisa" for the application INI file
// (compared as exact strings), otherwise "Nobrisa　－　" and the file's name without folder and
// extension. Loading the application INI file leaves the caption as it was.
QString captionFor(const QString& fileName, const QString& appIniPath);

// The format version of a System/Version text: the decimal number times ten, truncated ("4.3"
// gives 43, "3.99" gives 39). Both "." and "," are taken as the decimal separator, whatever the
// locale, since files travel between machines; a text that is no decimal number gives 0.
int formatVersion(const QString& versionText);

// Files of a format version below this have no right-hand payer of their own.
inline constexpr int kRightPayerFormatVersion = 40;

} // namespace nobrisa
