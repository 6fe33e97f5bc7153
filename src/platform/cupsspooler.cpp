#include "platform/cupsspooler.h"

#include <QFile>

#include <sys/socket.h>

#include <cstring>

namespace nobrisa {

namespace {

// A connection to the spooler the user's CUPS settings name (CUPS_SERVER, client.conf, or the
// local socket), as libcups's shared one would be, but with its own bound on every wait.
class Connection final {
public:
    Connection(const QString& printer, std::chrono::milliseconds timeout)
        : mPrinter(printer)
        , mTimeout(timeout)
    {
        mHttp = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             static_cast<int>(timeout.count()), nullptr);
        if (!mHttp) {
            // libcups's reason is no help here ("Host is down" for a local daemon not running);
            // where the spooler was looked for is.
            const QString server = QString::fromUtf8(cupsServer());
            mError = QStringLiteral("プリンタ「%1」で印刷できません。印刷サービス（CUPS、%2）に"
                                    "接続できません。\n%3")
                         .arg(printer,
                              server.startsWith(QLatin1Char('/'))
                                  ? server
                                  : server + QLatin1Char(':') + QString::number(ippPort()),
                              checkAndRetry());
            return;
        }
        // Each wait for the socket (an answer, or room to write the job) ends after `timeout`;
        // the callback then says not to wait again.
        httpSetTimeout(mHttp, static_cast<double>(timeout.count()) / 1000.0, &Connection::giveUp,
                       this);
    }
    ~Connection()
    {
        if (!mHttp)
            return;
        // A request given up on is reset rather than closed: closed, its bytes would wait in
        // the silent spooler's socket and, once it ran again, print the job the user was told
        // had been stopped (measured: a one-slip job printed three seconds after a stopped
        // spooler went on), and a second print would print it twice.
        if (mTimedOut) {
            const linger reset{1, 0};
            setsockopt(httpGetFd(mHttp), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        httpClose(mHttp);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* http() const { return mHttp; }
    // Set when the connection could not be made.
    QString error() const { return mError; }

    // Why the last request on the connection failed: the spooler fell silent, went away, or
    // answered with a refusal.
    QString failure() const
    {
        if (mTimedOut)
            return QStringLiteral("プリンタ「%1」の印刷サービス（CUPS）が %2 秒間応答しないため、"
                                  "印刷を中止しました。\n%3")
                .arg(mPrinter,
                     QString::number(static_cast<double>(mTimeout.count()) / 1000.0, 'g', 3),
                     checkAndRetry());
        const int socketError = httpError(mHttp);
        if (socketError != 0 || httpGetStatus(mHttp) == HTTP_STATUS_ERROR) {
            const QString reason = socketError != 0
                                       ? QString::fromLocal8Bit(std::strerror(socketError))
                                       : QString::fromUtf8(cupsLastErrorString());
            return QStringLiteral("プリンタ「%1」で印刷できません。印刷サービス（CUPS）との接続が"
                                  "切れました。\n%2\n%3")
                .arg(mPrinter, reason, checkAndRetry());
        }
        return QStringLiteral("プリンタ「%1」が印刷を受け付けませんでした。\n%2")
            .arg(mPrinter, QString::fromUtf8(cupsLastErrorString()));
    }

private:
    static QString checkAndRetry()
    {
        return QStringLiteral("印刷サービスが動いているか確かめて、もう一度印刷してください。");
    }

    static int giveUp(http_t*, void* self)
    {
        static_cast<Connection*>(self)->mTimedOut = true;
        return 0;
    }

    QString mPrinter;
    std::chrono::milliseconds mTimeout;
    http_t* mHttp = nullptr;
    QString mError;
    bool mTimedOut = false;
};

// The queue as the scheduler names it in requests (a class answers there as well).
void addPrinterUri(ipp_t* request, const QByteArray& queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
}

} // namespace

SpoolerAnswer findQueue(const QString& printer, const QByteArray& queue,
                        std::chrono::milliseconds timeout)
{
    const Connection connection(printer, timeout);
    if (!connection.http())
        return {0, connection.error()};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    addPrinterUri(request, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state");
    ipp_t* response = cupsDoRequest(connection.http(), request, "/");
    const ipp_status_t status = cupsLastError();
    ippDelete(response);
    if (response && status <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return {};
    if (response && status == IPP_STATUS_ERROR_NOT_FOUND)
        return {0, QStringLiteral("プリンタ「%1」が見つかりません。プリンタ設定で別のプリンタを"
                                  "選んでください。")
                       .arg(printer)};
    return {0, connection.failure()};
}

SpoolerAnswer spoolFile(const QString& printer, const QByteArray& queue, const QString& file,
                        const QByteArray& title, int optionCount, cups_option_t* options,
                        std::chrono::milliseconds timeout)
{
    const Connection connection(printer, timeout);
    if (!connection.http())
        return {0, connection.error()};
    // One Print-Job request, as lp sends it. cupsPrintFile2 would ask for the printer's details
    // and the default destination first, over libcups's shared connection and its long waits.
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    addPrinterUri(request, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.constData());
    cupsEncodeOptions2(request, optionCount, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, optionCount, options, IPP_TAG_JOB);
    // Posted to the queue's own resource, where an administrator's access rules for it apply.
    const QByteArray resource = "/printers/" + queue;
    ipp_t* response = cupsDoFileRequest(connection.http(), request, resource.constData(),
                                        QFile::encodeName(file).constData());
    const ipp_status_t status = cupsLastError();
    const int id = ippGetInteger(ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0);
    ippDelete(response);
    if (!response || status > IPP_STATUS_OK_EVENTS_COMPLETE || id <= 0)
        return {0, connection.failure()};
    return {id, {}};
}

} // namespace nobrisa
