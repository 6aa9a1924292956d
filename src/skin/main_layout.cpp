#include "skin/main_layout.h"

namespace tavo {

namespace {

constexpr int kWidth = 330;
constexpr int kCalendarTop = 466;
constexpr int kCalendarHeight = 174;
constexpr int kBottomBand = 22;  // the frame's bottom band, with the link

}  // namespace

SkinLayout MainLayout::ForSkin(QSize lyrics) const {
    SkinLayout s;
    s.window = window;
    s.list = list;
    s.rowHeight = rowHeight;
    s.pageA = pageA;
    s.playS = playS;
    s.lyrics = lyrics;
    return s;
}

MainLayout MainWindowLayout(bool showCalendar) {
    MainLayout l;
    l.title = QRect(0, 0, 240, 30);
    // Settings, minimise and close at the right of the title strip.
    l.pageA[9] = QRect(250, 5, 22, 20);
    l.pageA[8] = QRect(273, 5, 22, 20);
    l.pageA[7] = QRect(296, 5, 22, 20);

    // Source selector, its "换一批" and drop-down buttons; period and entry.
    l.phcombo = QRect(12, 36, 228, 24);
    l.pageA[14] = QRect(242, 36, 52, 24);
    l.pageA[4] = QRect(296, 36, 22, 24);
    l.combo1 = QRect(12, 64, 126, 24);
    l.pageA[5] = QRect(140, 64, 22, 24);
    l.combo2 = QRect(166, 64, 128, 24);
    l.pageA[6] = QRect(296, 64, 22, 24);
    l.songLine = QRect(12, 92, 306, 22);

    l.list = QRect(12, 118, 306, 250);
    l.rowHeight = l.list.height() / 10;

    // Paging row.
    l.pageA[0] = QRect(12, 372, 40, 22);
    l.pageA[1] = QRect(54, 372, 40, 22);
    l.pageLabel = QRect(96, 372, 52, 22);
    l.pageA[2] = QRect(150, 372, 40, 22);
    l.pageA[3] = QRect(192, 372, 40, 22);
    l.pageA[15] = QRect(236, 372, 82, 22);

    l.track = QRect(12, 400, 306, 16);

    // Playback row, centred: play (pause on top of it), stop, previous,
    // next, mute (unmute on top of it), the volume track.
    l.playS[0] = QRect(65, 424, 33, 33);
    l.playS[1] = QRect(104, 424, 33, 33);
    l.playS[2] = QRect(143, 424, 33, 33);
    l.playS[3] = QRect(182, 424, 33, 33);
    l.playS[4] = l.playS[0];
    l.playS[5] = QRect(225, 428, 24, 24);
    l.playS[6] = l.playS[5];
    l.volume = QRect(258, 424, 8, 33);

    int bottom = kCalendarTop;
    if (showCalendar) {
        l.calendar = QRect(12, kCalendarTop, 306, kCalendarHeight);
        l.monthLabel = QRect(12, kCalendarTop, 70, 18);
        l.pageA[10] = QRect(86, kCalendarTop, 18, 18);
        l.pageA[11] = QRect(106, kCalendarTop, 18, 18);
        l.pageA[12] = QRect(126, kCalendarTop, 22, 18);
        l.pageA[13] = QRect(278, kCalendarTop, 40, 18);
        l.weekHeader = QRect(12, kCalendarTop + 22, 306, 16);
        l.days = QRect(12, kCalendarTop + 38, 306, 6 * 17);
        l.lunarLine = QRect(12, l.days.bottom() + 2, 306, 16);
        l.festivalLine = QRect(12, l.lunarLine.bottom() + 1, 306, 16);
        bottom = l.calendar.bottom() + 1;
    }
    l.window = QSize(kWidth, bottom + kBottomBand + (showCalendar ? 0 : 4));
    l.link = QRect(12, l.window.height() - kBottomBand + 2, 306, 18);
    return l;
}

}  // namespace tavo
