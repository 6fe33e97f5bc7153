#pragma once

#include <QByteArray>
#include <QString>

#include <cups/cups.h>

#include <chrono>

namespace nobrisa {

// The requests the printer sends to the CUPS scheduler, each over a connection of its own whose
// every wait is bounded. libcups's shared connection waits a minute or more for each answer, so
// a spooler that had stopped answering froze the window and the command line at every print;
// here a connection that moves no byte for `timeout` ends its request with a message.
//
// `printer` is the name the user knows the queue by (it goes into the messages), `queue` the
// name CUPS takes (without an instance).
inline constexpr std::chrono::milliseconds kSpoolerTimeout{10000};

struct SpoolerAnswer {
    int jobId = 0; // the job CUPS took; 0 when it took none
    QString error; // empty when the request succeeded; else a message for the user
};

// Whether the queue exists on a spooler that answers: an empty error when it does.
SpoolerAnswer findQueue(const QString& printer, const QByteArray& queue,
                        std::chrono::milliseconds timeout = kSpoolerTimeout);

// Hands `file` (a PDF) to the queue as one job titled `title`, with the options given.
SpoolerAnswer spoolFile(const QString& printer, const QByteArray& queue, const QString& file,
                        const QByteArray& title, int optionCount, cups_option_t* options,
                        std::chrono::milliseconds timeout = kSpoolerTimeout);

} // namespace nobrisa
