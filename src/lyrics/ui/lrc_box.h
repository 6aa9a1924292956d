#pragma once
// The lyrics window `lrcBox`: a frameless strip that stays above other
// windows and shows one line (`Label1`), the lyric line being sung or a
// status text, beside six small glyph buttons (`minbar`) for the player.
// The player core fetches the playing song's lyrics and picks the line to
// show as the song plays (LyricsModel); this window shows it.
//
// The mouse: dragging with the left button moves the window, a double-click
// shows or hides the main window, the right button opens the settings menu.
// The window turns translucent once the mouse has left it (checked every
// 100 ms by `Timer1`) and opaque again when the mouse comes back.
//
// Given the core's lyric lines (SetLyricLines), the text area (LrcStage)
// draws the song's lyric by the play position in the user's look
// (LyricOptions, kept in the settings store): one line as always, two lines,
// or five lines where a click on a line seeks to it; karaoke fill; the
// translation under its line. It repaints on its own only while shown and
// playing (LyricRepaintPacer). Locked, the window lets the mouse through to
// what is under it. The user's offset for the playing song moves by half a
// second from the menu or the keys "+" and "-".

#include "lyrics/lyric_clock.h"
#include "lyrics/lyric_options.h"
#include "lyrics/lyric_repaint_pacer.h"
#include "lyrics/lyrics_host.h"
#include "lyrics/lyrics_view.h"
#include "lyrics/ui/lrc_glyph_button.h"
#include "lyrics/ui/lyric_look_dialog.h"

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

#include <QPointer>

class QLabel;
class QPainter;

namespace tavo {

class LrcMenu;
class LrcStage;
class LyricsModel;

// How a skin paints the lyrics window: its background picture stretched
// over the window (or the plain colour `back` without one), a one-pixel
// frame, and the colour of the lyric line and the glyphs.
struct LrcSkin {
    QImage background;
    QColor back;
    QColor frame;
    QColor text;
};

// Places a window above all others (true) or back among them (false),
// leaving its place and size alone. Returns nonzero when it was made
// topmost, 0 otherwise.
int SetTopMostWindow(QWidget* hWnd, bool Topmost);

class lrcBox : public QWidget, public LyricsView {
    Q_OBJECT
public:
    static constexpr int kMinbarCount = 6;
    static constexpr int kOpaque = 255;
    static constexpr int kTranslucent = 180;

    // `host` is the main window; it must outlive this window.
    explicit lrcBox(LyricsHost* host, QWidget* parent = nullptr);
    ~lrcBox() override;

    // LyricsView
    QString Label1Text() const override;
    void SetLabel1Text(const QString& text) override;
    void SetSongToolTip(const QString& text) override;
    void SetPlayGlyph(bool playing) override;
    void SetMuteGlyph(bool muted) override;
    void ShowLyrics(bool show) override;

    // The glyph buttons' actions, by index (0 play/pause, 1 stop, 2 previous,
    // 3 next, 4 mute/unmute, 5 show or hide the main window).
    void minbar_Click(int Index);
    // The translucency check: translucent, and the check stops, once the
    // cursor is outside the window.
    void Timer1_Timer();

    // Controls, for the main window and for tests.
    QLabel* Label1() const { return label1_; }
    LrcGlyphButton* minbar(int Index) const { return minbar_.at(static_cast<size_t>(Index)); }
    QTimer& Timer1() { return timer1_; }
    // Opacity as 0..255.
    int Opacity() const;

    // Paints the window from a skin from now on.
    void SetSkin(const LrcSkin& skin);

    // The lines to draw: the core's model of the playing song's lyric
    // (outlives this window), or null for none.
    void SetLyricLines(const LyricsModel* lines);
    // The look: applied at once, saved with SaveLook.
    const LyricOptions& Look() const { return look_; }
    void SetLook(const LyricOptions& look);
    // Saves the look in the settings store; a failed save is reported.
    bool SaveLook();
    bool IsLocked() const { return look_.locked; }
    void SetLocked(bool locked);  // applied and saved
    // Moves the playing song's offset by `deltaMs`, saves it and shows it
    // for a moment; returns the offset now.
    int ShiftOffset(int deltaMs);
    int UserOffsetMs() const { return userOffsetMs_; }
    // Reads the time again and repaints as needed (the pacer's tick).
    void Follow();
    void OpenLookDialog();
    LyricLookDialog* LookDialog() const { return lookDialog_.data(); }

    LrcStage* Stage() const { return stage_; }
    LrcMenu* Menu() const { return menu_; }
    const LyricRepaintPacer& Pacer() const { return pacer_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void SetOpacity(int alpha);
    void Hovered();  // the mouse is over the window, no button dragging
    void PlaceAtTop();
    void ShowLabel1();  // Label1's text, cut to fit
    void LinesChanged();  // the model's lines were replaced
    void FitToLook();
    void PaintBackground(QPainter& p) const;
    QString SettingsName() const;

    const LyricsModel* lines_ = nullptr;
    LrcStage* stage_ = nullptr;
    LrcMenu* menu_ = nullptr;
    QPointer<LyricLookDialog> lookDialog_;
    LyricOptions look_;
    LyricRepaintPacer pacer_;
    LyricClock clock_;
    QString song_;         // the song whose offset userOffsetMs_ holds
    bool playing_ = false;  // as the player last said
    int userOffsetMs_ = 0;

    LyricsHost* host_;
    QLabel* label1_ = nullptr;
    std::array<LrcGlyphButton*, kMinbarCount> minbar_{};
    QTimer timer1_;

    LrcSkin skin_;
    QImage back_;  // the background as last drawn
    bool skinned_ = false;
    bool muted_ = false;

    QString label1Text_;
    bool mouseLeft_ = false;
    bool dragging_ = false;
    bool systemMove_ = false;
    QPoint dragOffset_;
};

}  // namespace tavo
