// tavo-skin-art <skin folder>: writes every shipped skin into its folder
// under <skin folder> (skin.ini, the background picture and the button
// faces, each also as "@2x"). Deterministic: the same build writes the same
// pictures.
#include "art.h"

#include "platform/ansi_text.h"
#include "skin/main_layout.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace tavo;

namespace {

bool Save(const QImage& img, const fs::path& file) {
    // Straight (not premultiplied) alpha, as PNG stores it.
    const QImage out = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!out.save(platform::PathToQString(file), "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

QImage Background(const art::SkinArt& skin, QSize size, int scale) {
    QImage img(size * scale, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);
    skin.paintBackground(p, size);
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavo-skin-art <skin folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    // The pictures are drawn for the window with its calendar strip.
    const QSize window = MainWindowLayout(true).window;
    bool ok = true;
    for (const art::SkinArt& skin : art::ShippedSkins()) {
        const fs::path folder = root / platform::QStringToPath(skin.name);
        fs::create_directories(folder);
        ok &= platform::WriteTextLines(folder / "skin.ini", skin.ini);
        for (int scale : {1, 2}) {
            const std::string suffix = scale == 2 ? "@2x" : "";
            if (skin.paintBackground) {
                const fs::path pic = folder / platform::QStringToPath(skin.picture);
                ok &= Save(Background(skin, window, scale), pic.parent_path() / (pic.stem().string() + suffix + pic.extension().string()));
            }
            const struct {
                const char* name;
                art::FaceState state;
            } faces[] = {{"A", art::FaceState::Normal}, {"B", art::FaceState::Lit}, {"C", art::FaceState::Pressed}};
            for (const auto& f : faces)
                ok &= Save(art::GlassFace(skin.face, f.state, 33, scale), folder / (std::string(f.name) + suffix + ".png"));
        }
        std::printf("%s\n", skin.name.toUtf8().constData());
    }
    return ok ? 0 : 1;
}
