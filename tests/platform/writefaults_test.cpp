// Every file the program writes, on devices that fail: the old file stays as it was, nothing is
// left in the folder, and the message names the file and the cause. Mounts (a small tmpfs that
// fills up, a read-only remount) are made in a mount namespace of this process, so that they need
// no clean-up and nobody else sees them; root ignores permissions, so nothing else would fail.

#include "aids/infoexport.h"
#include "platform/qtprinterdevice.h"
#include "preview/metafileexport.h"
#include "render/canvas.h"
#include "render/printjob.h"
#include "settings/inifile.h"
#include "settings/settingsfile.h"
#include "text/removeoninterrupt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace nobrisa {
namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The names in a folder, hidden ones too, as one readable string.
std::string entries(const QString& folder)
{
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        .join(QStringLiteral(", "))
        .toStdString();
}

// Writes `path`, calling `midway` once the write has begun where the writer allows it (between
// the pages of a PDF job), else before; returns the error message, empty when it succeeded.
using Writer = std::function<QString(const QString& path, const std::function<void()>& midway)>;

struct NamedWriter {
    const char* name;
    const char* suffix;
    Writer write;
};

const NamedWriter kWriters[] = {
    {"SettingsFile", ".ini",
     [](const QString& path, const std::function<void()>& midway) {
         IniFile ini;
         ini.setValue(QStringLiteral("Form"), QStringLiteral("Caption"), QStringLiteral("新"));
         midway();
         QString error;
         return writeIniFile(path, ini, &error) ? QString() : error;
     }},
    {"Export", ".csv",
     [](const QString& path, const std::function<void()>& midway) {
         midway();
         QString error;
         return writeExportFile(path, QByteArray(200, 'x'), &error) ? QString() : error;
     }},
    {"Picture", ".wmf",
     [](const QString& path, const std::function<void()>& midway) {
         midway();
         QString error;
         return saveRecording(PageRecording{}, {1000, 1000, 600}, path, &error) ? QString() : error;
     }},
    {"PdfOutput", ".pdf",
     [](const QString& path, const std::function<void()>& midway) {
         QtPrinterDevice printer;
         printer.setPdfOutput(path, 300);
         const PrintOutcome outcome = runPrintJob(printer, 3, [&](Canvas& canvas, int page) {
             if (page == 1)
                 midway();
             canvas.textOut(100, 100, QStringLiteral("払込取扱票 %1").arg(page));
         });
         return outcome.ok ? QString() : outcome.error;
     }},
};

enum class Fault { FullDisk, ReadOnlyMount, WriteProtectedFile, FolderVanishes };

struct FaultCase {
    Fault fault;
    const char* name;
    const char16_t* cause; // what the message must say
};

const FaultCase kFaults[] = {
    {Fault::FullDisk, "FullDisk", u"ディスクの空き容量が足りません"},
    {Fault::ReadOnlyMount, "ReadOnlyMount", u"読み取り専用"},
    {Fault::WriteProtectedFile, "WriteProtectedFile", u"書き込み禁止"},
    {Fault::FolderVanishes, "FolderVanishes", u"保存先のフォルダー"},
};

// Mounts belong to this process alone from the first use on.
bool privateMounts()
{
    static const bool ok = ::unshare(CLONE_NEWNS) == 0 &&
                           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ok;
}

class WriteFaultTest : public ::testing::TestWithParam<std::tuple<NamedWriter, FaultCase>> {
protected:
    void SetUp() override
    {
        if (!privateMounts())
            GTEST_SKIP() << "mounting is not permitted here (needs root in a mount namespace)";
        mRoot = QFile::encodeName(mDir.path());
        ASSERT_EQ(::mount("tmpfs", mRoot.constData(), "tmpfs", 0, "size=64k"), 0);
        ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral("folder")));
    }
    void TearDown() override
    {
        if (!mRoot.isEmpty())
            ::umount2(mRoot.constData(), MNT_DETACH);
    }

    QTemporaryDir mDir;
    QByteArray mRoot;
};

TEST_P(WriteFaultTest, OldFileStaysNothingIsLeftAndTheMessageSaysWhy)
{
    const auto& [writer, fault] = GetParam();
    const QString folder = mDir.filePath(QStringLiteral("folder"));
    const QString moved = mDir.filePath(QStringLiteral("moved"));
    const QString name = QStringLiteral("target") + QLatin1String(writer.suffix);
    const QString target = folder + QLatin1Char('/') + name;
    ASSERT_TRUE(writeFile(target, "old"));
    std::function<void()> midway = [] {};
    switch (fault.fault) {
    case Fault::FullDisk: {
        QFile filler(mDir.filePath(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) > 0) {
        }
        break;
    }
    case Fault::ReadOnlyMount:
        ASSERT_EQ(::mount(nullptr, mRoot.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        break;
    case Fault::WriteProtectedFile:
        ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
        break;
    case Fault::FolderVanishes:
        midway = [&] { ASSERT_TRUE(QDir().rename(folder, moved)); };
        break;
    }

    const QString error = writer.write(target, midway);

    ASSERT_FALSE(error.isEmpty()) << "the write was reported as done";
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(target))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf16(fault.cause))) << error.toStdString();
    const QString left = fault.fault == Fault::FolderVanishes ? moved : folder;
    EXPECT_EQ(contents(left + QLatin1Char('/') + name), QByteArray("old"));
    EXPECT_EQ(entries(left), name.toStdString()) << "a temporary file was left behind";
    EXPECT_FALSE(fault.fault == Fault::FolderVanishes && QFileInfo::exists(folder));
}

INSTANTIATE_TEST_SUITE_P(WritersAndFaults, WriteFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kWriters),
                                            ::testing::ValuesIn(kFaults)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

// A long continuous print to PDF stopped part-way by a signal: with Ctrl-C and SIGTERM the tool
// says so and ends with 128 + the signal's number; with any signal, SIGKILL too, the old PDF
// stays and no temporary file is left in the folder. Catches: a named temporary PDF (megabytes)
// left behind by a killed run, and a run that goes on after Ctrl-C.
TEST(CliInterrupted, KilledPdfJobLeavesOnlyTheOldFile)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("rows.csv"));
    QByteArray rows;
    for (int i = 0; i < 40000; ++i)
        rows += QStringLiteral("100-%1,東京都千代田区%1,ビル,山田 太郎%1,03\r\n").arg(i).toUtf8();
    ASSERT_TRUE(writeFile(csv, rows));
    struct Row {
        int signal;
        int exitCode; // -1: killed
    };
    for (const Row& r : {Row{SIGTERM, 143}, Row{SIGINT, 130}, Row{SIGKILL, -1}}) {
        SCOPED_TRACE(r.signal);
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        ASSERT_TRUE(writeFile(pdf, "old"));
        QProcess cli;
        cli.start(QStringLiteral(NOBRISA_CLI),
                  {QStringLiteral("print"), QStringLiteral(NOBRISA_SAMPLES "/sample.dat"),
                   QStringLiteral("--csv"), csv, QStringLiteral("--all"), QStringLiteral("--pdf"),
                   pdf});
        ASSERT_TRUE(cli.waitForStarted());
        // Mid-write: a file of the process in the folder (whatever its name) holds 1 MB.
        const QString fds = QStringLiteral("/proc/%1/fd").arg(cli.processId());
        bool writing = false;
        for (int wait = 0; wait < 3000 && !writing && cli.state() == QProcess::Running; ++wait) {
            for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::System | QDir::Files))
                writing = writing || (fd.symLinkTarget().startsWith(dir.path()) &&
                                      fd.symLinkTarget() != csv && fd.size() > (1 << 20));
            QThread::msleep(10);
        }
        ASSERT_TRUE(writing) << "the job ended before it could be stopped";
        ::kill(pid_t(cli.processId()), r.signal);
        ASSERT_TRUE(cli.waitForFinished(60000));
        if (r.exitCode < 0) {
            EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);
        } else {
            EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(cli.exitCode(), r.exitCode);
            EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(u"中断しました"));
        }
        EXPECT_EQ(contents(pdf), QByteArray("old"));
        EXPECT_EQ(entries(dir.path()), "out.pdf, rows.csv");
    }
}

// A named temporary file is deleted by removeAll() (what the tool's signal handler calls) while
// it is registered, and no longer once its registration ended.
TEST(RemoveOnInterrupt, RemovesWhatIsRegisteredNow)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("registration-ended"));
    const QString spool = dir.filePath(QStringLiteral("spool"));
    ASSERT_TRUE(writeFile(kept, {}) && writeFile(spool, {}));
    {
        RemoveOnInterrupt ended(kept);
    }
    RemoveOnInterrupt registered(spool);
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGTERM, [](int) {
            RemoveOnInterrupt::removeAll();
            ::_exit(0);
        });
        ::raise(SIGTERM);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(entries(dir.path()), "registration-ended");
}

} // namespace
} // namespace nobrisa
