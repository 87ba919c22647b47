// Build step: writes the program icon for the desktop's icon theme, as
// quor.svg and quor-<size>.png in the folder given, from the same painting
// code as the window icon.
#include "app/app_icon.h"
#include "svg_recorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

namespace {

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QSaveFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "can't make %s\n", qPrintable(out.path()));
        return 1;
    }

    quor::SvgRecorder svg(QSize(32, 32));
    {
        QPainter p(&svg);
        quor::paintQuorIcon(p, 32);
    }
    if (!svg.complete()) {
        std::fprintf(stderr, "the icon paints something the SVG file can't hold\n");
        return 1;
    }
    if (!writeFile(out.filePath(QStringLiteral("quor.svg")), svg.svg())) {
        std::fprintf(stderr, "can't write quor.svg\n");
        return 1;
    }

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            quor::paintQuorIcon(p, size);
        }
        const QString name = out.filePath(QStringLiteral("quor-%1.png").arg(size));
        if (!image.save(name, "PNG")) {
            std::fprintf(stderr, "can't write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
