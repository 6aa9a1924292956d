#pragma once
// The main player window `main`: a frameless, skinned window holding every
// control of the player. It is thin glue: PlayerCore decides, the window
// shows `PlayerCore::ui` and hands user input to the core's handlers; the
// skin painter (skin_painter.h) builds every picture it shows, once per
// skin change.
//
// Its look: the skin's window picture with the frame bands, a rounded top
// outline (a window mask, so it needs no compositor), the page and playback
// buttons as skin buttons (`Command`) over pictures cut from the window, the
// song list with its hover highlight and fade, the time and volume tracks.
// It is dragged by its title strip.
//
// The calendar strip: the lower part of the window is the calendar's own
// widget (Calendar(), main_calendar.cpp), with the month label on its first
// line beside the month buttons PageA 10..13. A skin that turns the calendar
// off gets a shorter window without the strip.
//
// It is also what the lyrics window sees of the main window (LyricsHost).

#include "app/player_core.h"
#include "app/ui/skin_combo.h"
#include "app/ui/skinned_controls.h"
#include "lyrics/lyrics_host.h"
#include "skin/command.h"
#include "skin/main_layout.h"
#include "skin/skin_painter.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;

namespace tavo {

class CalendarStrip;
class WindowDrag;
class lrcBox;

class MainForm : public QWidget, public LyricsHost {
    Q_OBJECT
public:
    // `mmp` plays the sound; it must outlive the window.
    explicit MainForm(platform::MediaPlayer& mmp, QWidget* parent = nullptr);
    ~MainForm() override;

    PlayerCore& core() { return core_; }
    lrcBox& lyrics() { return *lrc_; }

    // The start-up: false when the program must end (the message is shown).
    bool Load();
    // What the splash does once loading is done: centre and show the window,
    // and the lyrics window when the setting asks for it.
    void ShowAfterLoad();

    // Switches to the skin `skin_Name` (a folder of the skin folder) and
    // paints every window from it: what the tray's skin menu calls, before
    // saving the name as the setting Skin/name.
    void goSkin(const QString& skin_Name);
    // Paints the windows from the current skin (SkinModule::CurrentSkin,
    // already loaded), then redraws the calendar captions.
    void ApplySkin();
    // The pictures of the last skin painting.
    const SkinPictures& Pictures() const { return pictures_; }

    // The calendar strip (hidden while the skin turns the calendar off).
    CalendarStrip* Calendar() const { return calendar_; }

    // Controls, by their names.
    Command* PageA(int i) const { return pageA_.at(static_cast<size_t>(i)); }
    Command* PlayS(int i) const { return playS_.at(static_cast<size_t>(i)); }
    SkinCombo* PHcombo() const { return phcombo_; }
    SkinCombo* Combo1() const { return combo1_; }
    SkinCombo* Combo2() const { return combo2_; }
    SkinList* Picture1() const { return picture1_; }
    QLabel* Label(int i) const;  // Label1, Label3, Label4, Label6
    QLabel* LoadLabel() const { return loadLabel_; }
    SkinTrack* socl() const { return socl_; }
    SkinTrack* YBG() const { return ybg_; }
    QWidget* PlayIco() const { return playIco_; }

    // The list picture's rows: ten fill it, `RowHeight` pixels apart, each
    // text `RowTop` pixels below its row's top.
    std::int16_t RowHeight = 25;
    std::int16_t RowTop = 2;
    // A press on the list picture at (x, y): button 1 (left) plays the row's
    // song, 2 (right) opens the row's menu there.
    void Picture1_MouseDown(int button, int x, int y);

    // LyricsHost
    void PlayS_Click(int Index) override { core_.PlayS_Click(Index); }
    bool IsPlaying() const override { return core_.playback.Status() == PlaybackStatus::Playing; }
    bool IsMuted() const override;
    QWidget* MainWindow() override { return this; }
    bool IsShown() const override { return core_.IsShown != 0; }
    void SetIsShown(bool shown) override { core_.IsShown = ToBool16(shown); }
    void ShowSettingsMenu(const QPoint& global) override {
        if (LyricsMenu) LyricsMenu(global);
    }
    int PlayPositionMs() const override;
    void SeekToMs(int positionMs) override;
    QString PlayingSong() const override { return core_.playback.PlayingName(); }
    QString SettingsName() const override { return core_.AppTitle.isEmpty() ? kAppTitle : core_.AppTitle; }
    // The lyrics window's right-click menu (the shell sets it).
    std::function<void(const QPoint& global)> LyricsMenu;
    // "搜索歌词…" of the lyrics window's menu (the shell sets it).
    std::function<void()> LyricsSearch;
    void SearchLyrics() override {
        if (LyricsSearch) LyricsSearch();
    }

    // Copies the core's controls onto the widgets (done after every change).
    void Sync();

protected:
    void paintEvent(QPaintEvent*) override;
    // A close request from the desktop (a key or the task bar) is the close
    // button: hide, or ask and exit.
    void closeEvent(QCloseEvent* e) override;

private Q_SLOTS:
    void ScreenChanged();

private:
    void BuildControls();
    void BindSelector(Selector& model, QComboBox* box);
    void PlaceControls(const MainLayout& l);
    void PlaceVolume(int volume);
    void SetVolumeFrom(QPoint at);
    void SeekTo(QPoint at);
    void ApplyColours(const SkinPictures& p);
    void ApplyFaces(const SkinPictures& p);
    // main_calendar.cpp
    void AttachCalendar();
    void PlaceCalendar(const MainLayout& l);

    platform::MediaPlayer& mmp_;
    PlayerCore core_;
    std::unique_ptr<lrcBox> lrc_;
    MainLayout layout_;
    SkinPictures pictures_;

    std::array<Command*, kPageButtons> pageA_{};
    std::array<Command*, kPlayButtons> playS_{};
    SkinCombo* phcombo_ = nullptr;
    SkinCombo* combo1_ = nullptr;
    SkinCombo* combo2_ = nullptr;
    SkinList* picture1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* loadLabel_ = nullptr;
    SkinTrack* socl_ = nullptr;
    SkinTrack* ybg_ = nullptr;
    QWidget* playIco_ = nullptr;
    CalendarStrip* calendar_ = nullptr;
    WindowDrag* drag_ = nullptr;
    int volume_ = 0;
};

}  // namespace tavo
