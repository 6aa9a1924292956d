// tavo-icon-art: writes the program's icon into a folder (normally
// data/icons): tavo-musicbox.svg and tavo-musicbox-<N>.png for the sizes a
// desktop asks for.
#include "icon_svg.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool WriteText(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(text.toUtf8()) >= 0 && f.flush();
}

bool WritePng(const QString& path, const QString& svg, int size) {
    QSvgRenderer renderer(svg.toUtf8());
    if (!renderer.isValid()) return false;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&p);
    p.end();
    return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing into images needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavo-icon-art OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    using tavo::art::IconDetail;
    const QString full = tavo::art::IconSvg(IconDetail::Full);
    const QString small = tavo::art::IconSvg(IconDetail::Small);
    bool ok = WriteText(out + QStringLiteral("/tavo-musicbox.svg"), full);
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = WritePng(out + QStringLiteral("/tavo-musicbox-%1.png").arg(size), size <= 32 ? small : full, size) && ok;
    if (!ok) std::fprintf(stderr, "tavo-icon-art: could not write every file into %s\n", argv[1]);
    return ok ? 0 : 1;
}
