// The shipped skins: their colours and looks.
#include "art.h"

namespace tavo::art {

namespace {

// A skin.ini colour line.
QString C(const char16_t* key, int r, int g, int b) {
    return QString::fromUtf16(key) + QStringLiteral("=%1,%2,%3").arg(r).arg(g).arg(b);
}

}  // namespace

QList<SkinArt> ShippedSkins() {
    QList<SkinArt> skins;

    // The default: deep blue, glowing edges, glass buttons.
    SkinArt blue;
    blue.name = QStringLiteral("蓝色科技");
    blue.picture = QStringLiteral("bg.png");
    blue.paintBackground = PaintBlueTech;
    blue.face = {QColor(0x3C, 0x9A, 0xFF), QColor(0x0A, 0x2C, 0x6C), QColor(0x7F, 0xC4, 0xFF), QColor(0x40, 0xC8, 0xFF), 130};
    // "…背景色" lines also set the window colour and "日历…" lines the
    // calendar switch: the plain "背景色" and "日历" lines come last.
    blue.ini = {
        C(u"标题文字色", 214, 234, 255),     C(u"页码文字色", 176, 208, 244),
        C(u"下拉框按扭文字色", 196, 226, 255), C(u"下拉框背景色", 12, 34, 74),
        C(u"下拉框文字色", 220, 236, 255),   C(u"日历文字色", 156, 188, 228),
        C(u"日历有记事文字色", 255, 196, 86), C(u"日历星期色", 110, 196, 255),
        C(u"日历今天背景色", 34, 128, 230),  C(u"日历今天文字色", 255, 255, 255),
        C(u"歌曲列表文字色", 232, 242, 255), QStringLiteral("背景图=bg.png"),
        C(u"头尾边框", 48, 132, 236),        C(u"浮动边框", 110, 190, 255),
        C(u"播放状态背景色", 64, 128, 210),  C(u"播放状态进度色", 40, 156, 255),
        C(u"音量状态背景色", 64, 128, 210),  C(u"音量状态色", 40, 156, 255),
        C(u"歌曲列表选中文字色", 255, 206, 96), C(u"歌词文字色", 170, 226, 255),
        C(u"背景色", 10, 30, 66),            QStringLiteral("日历=显示"),
    };
    skins.append(blue);

    // Light and warm: a morning sun over sand.
    SkinArt warm;
    warm.name = QStringLiteral("暖阳");
    warm.picture = QStringLiteral("bg.png");
    warm.paintBackground = PaintWarmSun;
    warm.face = {QColor(0xFF, 0xF4, 0xE2), QColor(0xEE, 0xA8, 0x62), QColor(0xC6, 0x80, 0x44), QColor(0xFF, 0xB0, 0x40), 170};
    warm.ini = {
        C(u"标题文字色", 112, 62, 26),        C(u"页码文字色", 120, 76, 40),
        C(u"下拉框按扭文字色", 150, 88, 40),  C(u"下拉框背景色", 255, 250, 242),
        C(u"下拉框文字色", 90, 54, 28),       C(u"日历文字色", 128, 96, 70),
        C(u"日历有记事文字色", 214, 84, 24),  C(u"日历星期色", 176, 104, 46),
        C(u"日历今天背景色", 232, 138, 60),   C(u"日历今天文字色", 255, 255, 255),
        C(u"歌曲列表文字色", 92, 60, 36),     QStringLiteral("背景图=bg.png"),
        C(u"头尾边框", 214, 140, 70),         C(u"浮动边框", 214, 140, 70),
        C(u"播放状态背景色", 214, 150, 96),   C(u"播放状态进度色", 240, 152, 72),
        C(u"音量状态背景色", 214, 150, 96),   C(u"音量状态色", 240, 152, 72),
        C(u"歌曲列表选中文字色", 204, 80, 20), C(u"歌词文字色", 168, 72, 16),
        C(u"背景色", 252, 236, 214),          QStringLiteral("日历=显示"),
    };
    skins.append(warm);

    // Graphite: no picture, the plain window colour, no calendar.
    SkinArt graphite;
    graphite.name = QStringLiteral("石墨");
    graphite.face = {QColor(0x56, 0x5F, 0x6B), QColor(0x22, 0x26, 0x2D), QColor(0x6A, 0x74, 0x80), QColor(0x3E, 0xD6, 0xC4), 90};
    graphite.ini = {
        C(u"标题文字色", 214, 220, 228),      C(u"页码文字色", 176, 184, 194),
        C(u"下拉框按扭文字色", 190, 198, 208), C(u"下拉框背景色", 56, 61, 70),
        C(u"下拉框文字色", 226, 230, 236),    C(u"日历文字色", 170, 176, 186),
        C(u"日历有记事文字色", 62, 214, 196), C(u"日历星期色", 140, 150, 162),
        C(u"日历今天背景色", 62, 190, 176),   C(u"日历今天文字色", 20, 24, 28),
        C(u"歌曲列表文字色", 234, 238, 242),  C(u"头尾边框", 8, 10, 14),
        C(u"浮动边框", 70, 214, 196),         C(u"播放状态背景色", 92, 100, 112),
        C(u"播放状态进度色", 62, 206, 190),   C(u"音量状态背景色", 92, 100, 112),
        C(u"音量状态色", 62, 206, 190),       C(u"歌曲列表选中文字色", 80, 226, 208),
        C(u"歌词文字色", 214, 244, 240),      C(u"背景色", 42, 46, 53),
        QStringLiteral("日历=隐藏"),
    };
    skins.append(graphite);
    return skins;
}

}  // namespace tavo::art
