#include "shell/shell_art.h"

#include <QStringList>

namespace tavo {

namespace {

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

QString IconFile(int size) { return QStringLiteral(":/shell/icon-%1.png").arg(size); }

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : kIconSizes) icon.addFile(IconFile(size), QSize(size, size));
    return icon;
}

QPixmap ProgramIconPixmap(int size) {
    int drawn = kIconSizes[std::size(kIconSizes) - 1];
    for (int s : kIconSizes) {
        if (s >= size) {
            drawn = s;
            break;
        }
    }
    const QPixmap pixmap(IconFile(drawn));
    return drawn == size ? pixmap : pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QPixmap WelcomePicture() { return QPixmap(QStringLiteral(":/shell/welcome.png")); }
QPixmap AboutPicture() { return QPixmap(QStringLiteral(":/shell/about.png")); }

QFont TitleFont(int pixelSize, int weight) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

QFont AddressFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace tavo
