#pragma once

namespace nobrisa::cli {

// Ctrl-C (SIGINT), SIGTERM and SIGHUP end nobrisa-cli at once with the status 128 + the signal's
// number (130, 143, 129), as a shell reports a program a signal stopped, after deleting the named
// temporary files of the work in progress (a print job's spool file). The file being written
// is unnamed and goes with the process: the old file stays as it was and nothing half-written
// is left. A signal the caller ignores (nohup) stays ignored.
void exitCleanlyOnInterrupt();

} // namespace nobrisa::cli
