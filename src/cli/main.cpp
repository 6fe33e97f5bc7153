#include "cli/clitool.h"
#include "cli/interrupt.h"
#include "platform/allocator.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    // A batch tool must run on a machine without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    nobrisa::keepFreedMemoryForReuse();
    nobrisa::cli::exitCleanlyOnInterrupt();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("nobrisa-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    return nobrisa::cli::run(args, out, err);
}
