#include "settings/apppaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace nobrisa {
namespace {

TEST(AppPaths, BesideAWritableExecutableUnderItsOwnName)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath("bin/Zentora");
    QDir().mkpath(dir.filePath("bin"));
    EXPECT_EQ(applicationFilePath(exe, ".ini", dir.filePath("config")),
              dir.filePath("bin/Zentora.ini"));
    EXPECT_EQ(besideExecutable(dir.filePath("other/nobrisa"), ".html"),
              dir.filePath("other/nobrisa.html"));
}

TEST(AppPaths, FolderThatCannotBeWrittenUsesTheConfigFolder)
{
    QTemporaryDir dir;
    // A folder that does not exist cannot take the file either.
    EXPECT_EQ(applicationFilePath(dir.filePath("gone/nobrisa"), ".ini", dir.filePath("config")),
              dir.filePath("config/nobrisa.ini"));
}

TEST(AppPaths, ReadOnlyInstallFolderUsesTheConfigFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes any folder; the rule cannot be seen";
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("bin"));
    chmod(QFile::encodeName(dir.filePath("bin")).constData(), 0555);
    EXPECT_EQ(applicationFilePath(dir.filePath("bin/nobrisa"), ".ini", dir.filePath("config")),
              dir.filePath("config/nobrisa.ini"));
    chmod(QFile::encodeName(dir.filePath("bin")).constData(), 0755);
}

} // namespace
} // namespace nobrisa
