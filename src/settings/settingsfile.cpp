#include "settings/settingsfile.h"

#include "settings/inifile.h"
#include "text/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nobrisa {
namespace {

void setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

QString readFailure(const QString& fileName, const QString& reason)
{
    return QStringLiteral("設定ファイル「%1」を読み込めません。\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

QString writeFailure(const QString& fileName, const QString& reason)
{
    return QStringLiteral("設定ファイル「%1」を保存できません。\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

// The system's reason comes in English; a Japanese sentence says what it means for the user.
QString withSystemReason(const QString& explanation, const QString& systemReason)
{
    return systemReason.isEmpty() ? explanation
                                  : QStringLiteral("%1（%2）").arg(explanation, systemReason);
}

// Reads the file; on failure returns false with the reason (the message around it depends on
// whether the file was to be loaded or saved).
bool readInto(const QString& fileName, IniFile& ini, QString& reason)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        ini = IniFile();
        return true;
    }
    if (info.isDir()) {
        reason = QStringLiteral("同じ名前のフォルダーがあります。");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = withSystemReason(QStringLiteral("ファイルを開けません。"), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = withSystemReason(QStringLiteral("読み込み中にエラーが発生しました。"),
                                  file.errorString());
        return false;
    }
    ini = IniFile::fromBytes(bytes);
    return true;
}

} // namespace

bool readIniFile(const QString& fileName, IniFile& ini, QString* error)
{
    QString reason;
    if (readInto(fileName, ini, reason))
        return true;
    setError(error, readFailure(fileName, reason));
    return false;
}

bool readIniFileForUpdate(const QString& fileName, IniFile& ini, QString* error)
{
    QString reason;
    if (readInto(fileName, ini, reason))
        return true;
    if (!QFileInfo(fileName).isDir())
        reason = QStringLiteral("今の内容を読み込めません。") + reason;
    setError(error, writeFailure(fileName, reason));
    return false;
}

bool writeIniFile(const QString& fileName, const IniFile& ini, QString* error)
{
    QString reason;
    if (writeWholeFile(fileName, ini.toBytes(), &reason))
        return true;
    setError(error, writeFailure(fileName, reason));
    return false;
}

} // namespace nobrisa
