// The window printing through a real CUPS spooler that fails under it: killed after the window
// has started, or stopped (SIGSTOP: its socket still takes connections, nothing answers) in the
// middle of a continuous print of 1,000 rows. tests/e2e/spooler_e2e.sh starts a private spooler
// for each test and names its queue and the daemon's process id; without them the tests skip.

#include "tform1fixture.h"

#include "platform/qtprinterdevice.h"
#include "ui/numberbox.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <arpa/inet.h>
#include <cups/cups.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iostream>
#include <utility>

namespace nobrisa::test {
namespace {

class TForm1OnSpooler : public TForm1Test {
protected:
    void SetUp() override
    {
        mQueue = qEnvironmentVariable("NOBRISA_E2E_QUEUE");
        mSpooler = qEnvironmentVariableIntValue("NOBRISA_E2E_CUPSD_PID");
        if (mQueue.isEmpty() || mSpooler <= 0)
            GTEST_SKIP() << "NOBRISA_E2E_QUEUE and NOBRISA_E2E_CUPSD_PID name no test spooler";
        ASSERT_TRUE(device.selectPrinter(mQueue));
    }
    void TearDown() override
    {
        // A stopped spooler goes on, so that the script can end it.
        if (mSpooler > 0)
            ::kill(mSpooler, SIGCONT);
    }

    std::unique_ptr<TForm1> makeWindow()
    {
        return std::make_unique<TForm1>(context, device, prompts);
    }

    // Whether the spooler's port (CUPS_SERVER, an IPv4 address and a port) takes a connection.
    static bool spoolerListening()
    {
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server.section(QLatin1Char(':'), 1).toUShort());
        inet_pton(AF_INET, server.section(QLatin1Char(':'), 0, 0).toLatin1().constData(),
                  &address.sin_addr);
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const bool taken =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return taken;
    }

    QString status(const TForm1& form) { return widget<QLabel>(form, "HintPanel")->text(); }

    QtPrinterDevice device;
    QString mQueue;
    pid_t mSpooler = 0;
};

// Catches: a spooler stopped after the window started reported as a removed printer (to be
// replaced in the printer setup, which then lists none) or as a refusal with a reason that
// misleads ("No such file or directory"), and a window that cannot print afterwards.
TEST_F(TForm1OnSpooler, SpoolerGoneSinceStartUpIsNamedAndTheWindowPrintsOn)
{
    auto form = makeWindow();
    for (const char* name : {"CheckBox1", "CheckBox2"})
        widget<QCheckBox>(*form, name)->setChecked(true);
    widget<QLineEdit>(*form, "Ekouza1")->setText("00120");
    widget<QPlainTextEdit>(*form, "Ekanyu")->setPlainText("日本語教育振興会");

    ASSERT_EQ(::kill(mSpooler, SIGKILL), 0);
    for (int i = 0; i < 50 && spoolerListening(); ++i)
        QTest::qWait(100);
    ASSERT_FALSE(spoolerListening());

    QElapsedTimer clock;
    clock.start();
    action(*form, "Print1")->trigger();
    const qint64 took = clock.elapsed();
    ASSERT_EQ(prompts.errors.size(), 1);
    const QString said = prompts.errors[0];
    EXPECT_TRUE(said.contains(QStringLiteral("プリンタ「%1」").arg(mQueue))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("印刷サービス（CUPS、%1）に接続できません")
                                  .arg(qEnvironmentVariable("CUPS_SERVER"))))
        << said.toStdString();
    EXPECT_LT(took, 5000);
    EXPECT_EQ(status(*form), said);
    EXPECT_FALSE(device.isPrinting());
    std::cout << "[ measured ] spooler gone: reported after " << took << " ms\n";

    // The window goes on: the same slip prints to a PDF.
    const QString pdf = dir.filePath(QStringLiteral("after.pdf"));
    device.setPdfOutput(QString());
    prompts.saveAnswers.push_back(pdf);
    action(*form, "Print1")->trigger();
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_EQ(widget<QPlainTextEdit>(*form, "Ekanyu")->toPlainText(),
              QStringLiteral("日本語教育振興会"));
}

// Catches: a spooler that stops answering in the middle of a job freezing the window for
// minutes (libcups waits a minute for each answer, and asks more than once); a job the user was
// told had been stopped printed anyway once the spooler runs again (a small job's request waits
// whole in the spooler's socket), so that printing again prints it twice; and a printer left
// unable to print once the spooler answers again.
TEST_F(TForm1OnSpooler, SpoolerSilentInTheMiddleOfAJobEndsItInBoundedTimeAndPrintsNothingLater)
{
    auto form = makeWindow();
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentWidget(widget(*form, "TabSheet6"));
    int reprinted = 0;
    for (const auto& [rowCount, stopAt] : {std::pair{1000, 500}, std::pair{4, 3}}) {
        SCOPED_TRACE(rowCount);
        QByteArray rows;
        for (int r = 1; r <= rowCount; ++r)
            rows += QStringLiteral("100-%1,東京都%2番地,,会員%2,03-0000-0000\n")
                        .arg(r, 4, 10, QLatin1Char('0'))
                        .arg(r)
                        .toUtf8();
        prompts.openAnswers.push_back(writeFile(QStringLiteral("members.csv"), rows));
        action(*form, "ToolButton17")->trigger();
        widget<NumberBox>(*form, "SEbegin")->setText(QStringLiteral("1"));
        widget<NumberBox>(*form, "SEend")->setText(QString::number(rowCount));

        bool stopped = false;
        prompts.onProgress = [&, stopAt = stopAt](int done) {
            if (done == stopAt && !stopped)
                stopped = ::kill(mSpooler, SIGSTOP) == 0;
        };
        prompts.errors.clear();
        QElapsedTimer clock;
        clock.start();
        action(*form, "ToolButton16")->trigger();
        const qint64 took = clock.elapsed();
        ASSERT_TRUE(stopped);
        ::kill(mSpooler, SIGCONT);
        ASSERT_EQ(prompts.errors.size(), 1);
        const QString said = prompts.errors[0];
        EXPECT_TRUE(said.contains(QStringLiteral("プリンタ「%1」").arg(mQueue)))
            << said.toStdString();
        EXPECT_TRUE(said.contains(QStringLiteral("応答しない"))) << said.toStdString();
        EXPECT_FALSE(device.isPrinting());
        // Drawing the pages takes a few seconds on a slow machine; the wait adds ten.
        EXPECT_LT(took, 30000);
        std::cout << "[ measured ] spooler silent: job of " << rowCount << " rows ended after "
                  << took << " ms\n";

        // The spooler runs again: the stopped job stays unprinted, and the next print goes
        // through.
        QTest::qWait(2000);
        cups_job_t* jobs = nullptr;
        const int jobCount = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, mQueue.toUtf8().constData(), 0,
                                          CUPS_WHICHJOBS_ALL);
        cupsFreeJobs(jobCount, jobs);
        EXPECT_EQ(jobCount, reprinted);
        prompts.onProgress = nullptr;
        widget<NumberBox>(*form, "SEend")->setText(QStringLiteral("2"));
        action(*form, "ToolButton16")->trigger();
        EXPECT_EQ(prompts.errors.size(), 1);
        EXPECT_GT(device.lastJobId(), 0);
        EXPECT_TRUE(status(*form).contains(QStringLiteral("2 枚印刷しました")))
            << status(*form).toStdString();
        ++reprinted;
    }
}

} // namespace
} // namespace nobrisa::test
