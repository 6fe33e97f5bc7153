#include "platform/allocator.h"
#include "platform/fonts.h"
#include "platform/qtprinterdevice.h"
#include "ui/appcontext.h"
#include "ui/prompts.h"
#include "ui/resources.h"
#include "ui/tform1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    nobrisa::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nobrisa"));
    nobrisa::initResources();
    // The program speaks Japanese whatever the desktop's language: Qt's own dialogs (files,
    // print setup, input boxes, message buttons) follow it when Qt's Japanese texts are installed.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
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
