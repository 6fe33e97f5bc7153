#include "settings/apppaths.h"

#include <QDir>
#include <QFileInfo>

namespace nobrisa {

QString besideExecutable(const QString& executablePath, const QString& suffix)
{
    const QFileInfo exe(executablePath);
    return exe.dir().filePath(exe.completeBaseName() + suffix);
}

QString applicationFilePath(const QString& executablePath, const QString& suffix,
                            const QString& configDir)
{
    const QString beside = besideExecutable(executablePath, suffix);
    const QFileInfo folder(QFileInfo(executablePath).absolutePath());
    const QFileInfo existing(beside);
    const bool writable = existing.exists() ? existing.isWritable() : folder.isWritable();
    if (writable || configDir.isEmpty())
        return beside;
    return QDir(configDir).filePath(QFileInfo(beside).fileName());
}

} // namespace nobrisa
