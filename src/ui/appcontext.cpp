#include "ui/appcontext.h"

#include "settings/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

namespace nobrisa {

AppContext processContext()
{
    const QString exe = QCoreApplication::applicationFilePath();
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);

    // Installed, the help page and the sample sit in share/nobrisa beside bin/ (set by CMake).
    const QString dataFromBin = QStringLiteral(NOBRISA_DATA_FROM_BIN);

    AppContext context;
    context.appIniPath = applicationFilePath(exe, QStringLiteral(".ini"), configDir, dataFromBin);
    // The configuration folder is used only for an installed program; it may not exist yet, and
    // the exit would fail to write the settings into a missing folder.
    const QString iniFolder = QFileInfo(context.appIniPath).absolutePath();
    if (iniFolder != QFileInfo(exe).absolutePath())
        QDir().mkpath(iniFolder);
    context.helpPath = shippedFilePath(exe, QStringLiteral(".html"), dataFromBin);
    context.facsimilePath =
        applicationFilePath(exe, QStringLiteral(".wmf"), configDir, dataFromBin);
    context.workingFolder = QDir::currentPath();
    context.executableFolder = QFileInfo(exe).absolutePath();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        context.screenSize = screen->size();
    return context;
}

} // namespace nobrisa
