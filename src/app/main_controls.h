#pragma once
// What the main window's logic shares with the window: what the window
// shows, in songs, rows and seconds (the window turns them into pixels),
// and the hooks through which other parts of the program (splash, skin,
// tray and menus, calendar strip) attach.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace tavo {

inline const QString kAppTitle = QStringLiteral("Tavo音乐盒2010");
inline const QString kDefaultSkin = QStringLiteral("蓝色科技");

// What the window shows (the controls the logic writes). The logic raises
// PlayerCore::Changed once per turn of the event loop after writing here.
struct MainControls {
    QString Label3;           // title strip
    QString Label6;           // song / status line
    QString Label6ToolTip;
    QString LoadLabel;        // busy label over the list
    bool LoadLabelVisible = false;
    QString Label4 = QStringLiteral("1/1");  // page label
    QString socl;             // time text, also the progress track
    // The progress track's fill: the playing position against the length,
    // in seconds; shown only for songs with a length (not the radio file).
    bool progressShown = false;
    double position = 0.0;
    double length = 0.0;
    // The playing-row marker `PlayIco`: the playing song's row on the
    // viewed page (0 to 9), or -1 when it is not on the page.
    int playingRow = -1;
    std::array<bool, 7> PlaySVisible{true, true, true, true, true, true, false};
    std::array<bool, 16> PageAVisible{};
    std::array<QString, 16> PageACaption{};
    bool Combo1Visible = false;
    bool Combo2Visible = false;
    QStringList rows;         // the rows drawn in the list picture
    QString YMlabel;          // calendar strip month "YYYY.MM"
};

// The hooks. An empty one does nothing.
struct MainHooks {
    // Start-up steps, in the order the load handler calls them.
    std::function<void()> ShowSplash;
    std::function<void()> SetDefaultSkinColours;
    std::function<void(const QStringList& skins)> FillSkinMenu;
    std::function<void()> ApplySkin;
    std::function<void(bool closeQuits, bool runPlay)> SetTrayChecks;
    std::function<void()> StartFadeTimer;
    std::function<void(int volume)> PlaceVolumeKnob;
    std::function<void()> UpApp;

    // Window actions.
    std::function<void()> HideMain;
    std::function<void()> MinimizeMain;
    // Whether a tray icon can bring a hidden window back (the close button
    // minimises instead of hiding when it cannot). Unset reads as false.
    std::function<bool()> TrayAvailable;
    // Opening a selector's drop-down (PageA 4, 5, 6 with 0, 1, 2).
    std::function<void(int which)> ShowDropDown;

    // The list's right-click menus, at a point of the list picture:
    // "M_RightClick" on a row of an online list, "M_MySongRight" on a
    // favourites row, "M_MySongRightS" on the favourites' free space
    // (ListView::RowMenu says which). SelIndex holds the row's list index
    // when the menu opens on a row.
    std::function<void(const QString& menu, QPoint at)> PopupListMenu;
    // The settings button PageA(9): the tray's settings menu at the mouse.
    std::function<void()> ShowSettingsMenu;
    // The calendar strip: PageA(10) and PageA(11) step a month back and
    // forward (-1, +1), PageA(12) returns to this month, PageA(13) opens the
    // calendar and notes window.
    std::function<void(int months)> CalendarMonthStep;
    std::function<void()> CalendarThisMonth;
    std::function<void()> OpenCalendar;
    // The end of every skin change: the calendar strip's month grid and day
    // captions for today, drawn again in the new skin's colours.
    std::function<void()> CalendarCaptions;

    // The end of the program (ExitPath::Exit calls them after the save
    // steps): the tray icon goes, then the program ends.
    std::function<void()> RemoveTrayIcon;
    std::function<void()> ExitProgram;
};

}  // namespace tavo
