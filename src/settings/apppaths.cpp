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
                            const QString& configDir, const QString& dataFromBin)
{
    const QString beside = besideExecutable(executablePath, suffix);
    const QFileInfo folder(QFileInfo(executablePath).absolutePath());
    const QFileInfo existing(beside);
    const bool writable = existing.exists() ? existing.isWritable() : folder.isWritable();
    const bool installed = !installedDataFolder(executablePath, dataFromBin).isEmpty();
    if ((writable && !installed) || configDir.isEmpty())
        return beside;
    return QDir(configDir).filePath(QFileInfo(beside).fileName());
}

QString installedDataFolder(const QString& executablePath, const QString& dataFromBin)
{
    if (dataFromBin.isEmpty())
        return {};
    const QString folder = QDir::cleanPath(QFileInfo(executablePath).dir().filePath(dataFromBin));
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString shippedFilePath(const QString& executablePath, const QString& suffix,
                        const QString& dataFromBin)
{
    const QString beside = besideExecutable(executablePath, suffix);
    const QString data = installedDataFolder(executablePath, dataFromBin);
    if (QFileInfo(beside).isFile() || data.isEmpty())
        return beside;
    const QString installed = QDir(data).filePath(QFileInfo(beside).fileName());
    return QFileInfo(installed).isFile() ? installed : beside;
}

} // namespace nobrisa
