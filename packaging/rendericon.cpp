// Renders the program's SVG icon to a square PNG of a given size, for the icon theme's fixed
// sizes (desktops that do not scale SVG icons pick these).
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    QTextStream err(stderr);
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1) {
        err << "usage: rendericon IN.svg SIZE OUT.png\n";
        return 1;
    }
    QImageReader reader(args[1]);
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (image.isNull() || !image.save(args[3], "PNG")) {
        err << "rendericon: " << args[1] << " -> " << args[3] << ": " << reader.errorString()
            << '\n';
        return 1;
    }
    return 0;
}
