#pragma once

#include <QString>

namespace nobrisa {

// A temporary file with a name (a print job's spool file, a file being written on a file system
// without unnamed files) that must not outlive the program when a signal stops it. While the
// object lives, removeAll() deletes the file; the command-line tool calls it from its handler of
// Ctrl-C and SIGTERM. Up to eight files at a time are known; more are simply not removed.
class RemoveOnInterrupt final {
public:
    explicit RemoveOnInterrupt(const QString& path);
    ~RemoveOnInterrupt();
    RemoveOnInterrupt(const RemoveOnInterrupt&) = delete;
    RemoveOnInterrupt& operator=(const RemoveOnInterrupt&) = delete;

    // Deletes every file known now. Safe in a signal handler: it calls nothing but unlink(2).
    static void removeAll() noexcept;

private:
    int mSlot = -1;
};

} // namespace nobrisa
