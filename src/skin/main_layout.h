#pragma once
// Where the main window's controls sit, in logical pixels: the layout the
// window is built with and the shipped skins are drawn for. A skin's
// background picture is stretched over whatever size the window has, so a
// skin drawn for this layout still fits a window laid out otherwise.
//
// The calendar strip (month buttons PageA 10..13, weekday header, six rows
// of day cells, the lunar and festival lines) takes the lower part of the
// window; a skin that turns the calendar off gets a shorter window without
// it.

#include "skin/skin_painter.h"

#include <QRect>
#include <QSize>

#include <array>

namespace tavo {

struct MainLayout {
    QSize window;
    QRect title;      // the title strip label, dragged to move the window
    QRect phcombo, combo1, combo2;
    QRect songLine;   // Label6
    QRect list;       // Picture1: ten rows
    int rowHeight = 0;
    QRect pageLabel;  // Label4
    QRect track;      // socl, the time track
    QRect volume;     // YBG, the vertical volume track
    std::array<QRect, kPageButtons> pageA{};
    std::array<QRect, kPlayButtons> playS{};
    // The calendar strip: YMlabel and PageA 10..13 on its first line, then
    // the weekday header, 6 x 7 day cells and two caption lines. Empty when
    // the calendar is off.
    QRect calendar;
    QRect monthLabel;  // YMlabel
    QRect weekHeader;  // Label5
    QRect days;        // the 42 day cells, 7 columns x 6 rows
    QRect lunarLine;   // NLlabel
    QRect festivalLine;  // Label7
    QRect link;        // Label1, in the bottom band

    // What the skin painter needs, with the lyrics window's size.
    SkinLayout ForSkin(QSize lyrics) const;
};

MainLayout MainWindowLayout(bool showCalendar);

}  // namespace tavo
