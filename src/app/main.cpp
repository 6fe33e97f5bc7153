#include "platform/fonts.h"
#include "platform/qtprinterdevice.h"
#include "ui/appcontext.h"
#include "ui/prompts.h"
#include "ui/resources.h"
#include "ui/tform1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nobrisa"));
    nobrisa::initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/nobrisa.svg")));
    nobrisa::registerFaceSubstitutes();
    // The interface font is the proportional gothic of the Windows program, where installed.
    const QString uiFace = nobrisa::windowsFaceSubstitute(QStringLiteral("ＭＳ Ｐゴシック"));
    if (!uiFace.isEmpty())
        QApplication::setFont(QFont(uiFace, 9));

    nobrisa::QtPrinterDevice printer;
    nobrisa::QtPrompts prompts;
    nobrisa::TForm1 form(nobrisa::processContext(), printer, prompts);
    form.show();
    return QApplication::exec();
}
