#include "text/wholefile.h"

#include "text/removeoninterrupt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace nobrisa {

// QSaveFile remembers that a write failed, but not why; the reason decides what the user is told
// (a full disk is not a missing permission), so the first failure's errno is kept here.
class WholeFile::Output final : public QSaveFile {
public:
    using QSaveFile::QSaveFile;

    int failure = 0; // errno of the first write that failed

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        errno = 0;
        const qint64 written = QSaveFile::writeData(data, length);
        if (written != length && failure == 0)
            failure = errno != 0 ? errno : EIO;
        return written;
    }
};

namespace {

QString withSystemReason(const QString& explanation, int error)
{
    return error == 0 ? explanation
                      : QStringLiteral("%1（%2）").arg(explanation, qt_error_string(error));
}

// What a failed call means for the user. `creating`: the temporary file was being made in the
// folder, so a missing permission is the folder's.
QString causeOf(int error, bool creating)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return withSystemReason(QStringLiteral("ディスクの空き容量が足りません。"), error);
    case EROFS:
        return withSystemReason(QStringLiteral("保存先が読み取り専用になっています。"), error);
    case EACCES:
    case EPERM:
        return withSystemReason(creating ? QStringLiteral("保存先のフォルダーに書き込む権限が"
                                                          "ありません。")
                                         : QStringLiteral("ファイルに書き込む権限がありません。"),
                                error);
    case EFBIG:
        return withSystemReason(QStringLiteral("ファイルが大きすぎて書き込めません。"), error);
    case ENOENT:
    case ENOTDIR:
        return withSystemReason(QStringLiteral("保存先のフォルダーが見つかりません。"), error);
    default:
        return withSystemReason(QStringLiteral("書き込みに失敗しました。"), error);
    }
}

bool isWriteProtected(const QFileInfo& info)
{
    return !(info.permissions() &
             (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// The rename is the last step of a write: once the folder's entry is on the disk, a power cut no
// longer brings the old file back. A folder that cannot be synced changes nothing for the user.
void syncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The name of the temporary file QSaveFile writes, when it had to give it one; empty for an
// unnamed file, which the system deletes with the process.
QString namedTemporary(const QSaveFile& file)
{
#ifdef Q_OS_LINUX
    const QString link =
        QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(file.handle()));
    if (link.isEmpty() || link.endsWith(QStringLiteral(" (deleted)")))
        return {};
    return link;
#else
    Q_UNUSED(file);
    return {};
#endif
}

} // namespace

WholeFile::WholeFile(const QString& path)
    : mPath(path)
{
}

WholeFile::~WholeFile() = default;

bool WholeFile::fail(const QString& reason)
{
    mReason = reason;
    mFile.reset(); // QSaveFile deletes what it wrote
    mNamedTemporary.reset();
    return false;
}

bool WholeFile::open()
{
    const QFileInfo info(mPath);
    if (info.isDir())
        return fail(QStringLiteral("同じ名前のフォルダーがあります。"));
    if (!QFileInfo(info.absolutePath()).isDir())
        return fail(QStringLiteral("保存先のフォルダーがありません。"));
    if (info.exists()) {
        if (isWriteProtected(info))
            return fail(QStringLiteral("ファイルが書き込み禁止になっています。"));
        if (::access(QFile::encodeName(mPath).constData(), W_OK) != 0)
            return fail(causeOf(errno, false));
    }
    mFile = std::make_unique<Output>(mPath);
    errno = 0;
    if (!mFile->open(QIODevice::WriteOnly)) {
        const int error = errno;
        return fail(causeOf(error, true));
    }
    if (const QString temporary = namedTemporary(*mFile); !temporary.isEmpty())
        mNamedTemporary = std::make_unique<RemoveOnInterrupt>(temporary);
    return true;
}

QIODevice& WholeFile::device()
{
    Q_ASSERT(mFile);
    return *mFile;
}

bool WholeFile::commit()
{
    if (!mFile)
        return false; // open() failed and said why
    // QSaveFile::commit neither notices a failure of the last buffered write (Qt 6.4) nor says
    // whether the sync worked: both are checked here, before the old file is given up.
    int error = mFile->failure;
    errno = 0;
    if (error == 0 && !mFile->flush())
        error = errno != 0 ? errno : EIO;
    if (error == 0 && ::fdatasync(mFile->handle()) != 0)
        error = errno;
    if (error != 0)
        return fail(causeOf(error, false));

    const QString folder = QFileInfo(mPath).absolutePath();
    errno = 0;
    if (!mFile->commit()) {
        error = errno;
        // A folder renamed or deleted while the file was written: the file has nowhere to go.
        if (!QFileInfo(folder).isDir())
            return fail(
                withSystemReason(QStringLiteral("保存先のフォルダーがなくなりました。"), error));
        return fail(causeOf(error, false));
    }
    mFile.reset();
    mNamedTemporary.reset();
    syncFolder(folder);
    return true;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    WholeFile file(path);
    bool written = file.open();
    if (written) {
        file.device().write(bytes); // a failure is kept for commit() to report
        written = file.commit();
    }
    if (!written && reason)
        *reason = file.reason();
    return written;
}

} // namespace nobrisa
