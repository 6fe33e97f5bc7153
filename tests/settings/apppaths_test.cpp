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

// Where the help page is read from and where the INI file goes, for the folders a program is
// run from: its build folder, an installed tree (bin/ beside share/nobrisa/), and an install
// whose data folder was removed.
TEST(AppPaths, InstalledProgramReadsItsDataFolderAndWritesTheConfigFolder)
{
    struct Case {
        const char* name;
        QStringList files; // created under the temporary folder
        const char* help;  // expected help page, relative to the temporary folder
        const char* ini;
    };
    const Case cases[] = {
        {"build folder",
         {"build/src/nobrisa.html"},
         "build/src/nobrisa.html",
         "build/src/nobrisa.ini"},
        {"installed",
         {"usr/share/nobrisa/nobrisa.html", "usr/share/nobrisa/sample.dat"},
         "usr/share/nobrisa/nobrisa.html",
         "config/nobrisa.ini"},
        {"installed, help page beside the executable wins",
         {"usr/bin/nobrisa.html", "usr/share/nobrisa/nobrisa.html"},
         "usr/bin/nobrisa.html",
         "config/nobrisa.ini"},
        {"no data folder", {"usr/bin/other"}, "usr/bin/nobrisa.html", "usr/bin/nobrisa.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        for (const QString& file : c.files) {
            QDir().mkpath(QFileInfo(dir.filePath(file)).absolutePath());
            ASSERT_TRUE(QFile(dir.filePath(file)).open(QIODevice::WriteOnly));
        }
        const QString exe = dir.filePath(c.files.first().startsWith("build") ? "build/src/nobrisa"
                                                                             : "usr/bin/nobrisa");
        QDir().mkpath(QFileInfo(exe).absolutePath());
        const QString data = QStringLiteral("../share/nobrisa");
        EXPECT_EQ(shippedFilePath(exe, ".html", data), dir.filePath(c.help));
        EXPECT_EQ(applicationFilePath(exe, ".ini", dir.filePath("config"), data),
                  dir.filePath(c.ini));
    }
}

} // namespace
} // namespace nobrisa
