// Renders the program's pictures for where SVG cannot be drawn.
//
//   platterbook_icons SVG OUTPUT_DIR      the icon at the sizes the desktop's
//                                         icon theme wants (OUTPUT_DIR/<size>.png)
//   platterbook_icons --art ART_DIR OUTPUT_DIR
//                                         every picture of ART_DIR at the scales
//                                         a screen may have (<name>@<scale>.png),
//                                         with the resource list art.qrc, for a
//                                         build whose Qt has no SVG
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

bool render(QSvgRenderer& picture, QSize size, const QString& path)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter);
    painter.end();
    return image.save(path);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--art") {
        const QDir art(QString::fromLocal8Bit(argv[2]));
        const QString out = QString::fromLocal8Bit(argv[3]);
        QDir().mkpath(out);
        QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/art\">\n";
        for (const QString& name : art.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
            QSvgRenderer picture(art.filePath(name));
            if (!picture.isValid())
                return 1;
            for (const char* scale : {"1", "1.25", "1.5", "2"}) {
                const QString file =
                    QStringLiteral("%1@%2.png").arg(QFileInfo(name).completeBaseName(), scale);
                const QSizeF at = QSizeF(picture.defaultSize()) * QByteArray(scale).toDouble();
                if (!render(picture, at.toSize(), out + u'/' + file))
                    return 1;
                qrc += "    <file>" + file.toUtf8() + "</file>\n";
            }
        }
        QFile list(out + QStringLiteral("/art.qrc"));
        return list.open(QIODevice::WriteOnly) && list.write(qrc + "</qresource>\n</RCC>\n") > 0
                   ? 0
                   : 1;
    }
    if (argc < 3)
        return 2;
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    if (!picture.isValid())
        return 1;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        if (!render(picture, QSize(size, size),
                    QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size)))
            return 1;
    return 0;
}
