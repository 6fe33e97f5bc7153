#include "cli/interrupt.h"

#include "cli/clitool.h"

#include "text/removeoninterrupt.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace nobrisa::cli {
namespace {

// Written as bytes: a signal handler may not build strings or take locks.
const char* interruptMessage(int signal) noexcept
{
    switch (signal) {
    case SIGINT:
        return "\nnobrisa-cli: 中断しました (Ctrl-C)。書きかけのファイルは残していません。\n";
    case SIGTERM:
        return "nobrisa-cli: 中断しました (SIGTERM)。書きかけのファイルは残していません。\n";
    default:
        return "nobrisa-cli: 中断しました (SIGHUP)。書きかけのファイルは残していません。\n";
    }
}

extern "C" void onInterrupt(int signal)
{
    RemoveOnInterrupt::removeAll();
    const char* message = interruptMessage(signal);
    if (::write(STDERR_FILENO, message, std::strlen(message)) < 0) {
        // nothing more can be said
    }
    ::_exit(Interrupted + signal);
}

} // namespace

void exitCleanlyOnInterrupt()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old = {};
        if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        // A second signal while the first is handled would cut the clean-up short.
        for (const int other : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace nobrisa::cli
