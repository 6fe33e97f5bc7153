#pragma once

#include <QStringList>
#include <QTextStream>

namespace nobrisa::cli {

// Exit codes of nobrisa-cli.
enum ExitCode : int {
    Ok = 0,
    Usage = 1,        // bad arguments
    FileError = 2,    // the setting file is missing or cannot be read
    PrinterError = 3, // unknown printer, or no printer and no --pdf
    PrintFailed = 4,  // the job, the PDF, the picture or the exported file could not be written
    // Stopped by a signal: this plus the signal's number (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP).
    Interrupted = 128,
};

// Runs the command line (without the program name); messages go to `out` and `err`.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

// The commands run() dispatches to, each given the arguments after its name.
int facsimileCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int exportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace nobrisa::cli
