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

    AppContext context;
    context.appIniPath = applicationFilePath(exe, QStringLiteral(".ini"), configDir);
    // The configuration folder is used only for an installed program; it may not exist yet, and
    // the exit would fail to write the settings into a missing folder.
    const QString iniFolder = QFileInfo(context.appIniPath).absolutePath();
    if (iniFolder != QFileInfo(exe).absolutePath())
        QDir().mkpath(iniFolder);
    context.helpPath = besideExecutable(exe, QStringLiteral(".html"));
    context.facsimilePath = applicationFilePath(exe, QStringLiteral(".wmf"), configDir);
    context.workingFolder = QDir::currentPath();
    context.executableFolder = QFileInfo(exe).absolutePath();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        context.screenSize = screen->size();
    return context;
}

} // namespace nobrisa
