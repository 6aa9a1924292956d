#pragma once
// The main player window `main`: a frameless window of fixed size holding
// every control of the player, laid out so that a skin can later paint it
// without moving anything. It is thin glue: PlayerCore decides, the window
// shows `PlayerCore::ui` and hands user input to the core's handlers.
//
// It is also what the lyrics window sees of the main window (LyricsHost).

#include "app/player_core.h"
#include "lyrics/lyrics_host.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QFrame;

namespace tavo {

class lrcBox;

// The list picture: ten rows of text; presses go to the core.
class ListPicture : public QWidget {
    Q_OBJECT
public:
    ListPicture(PlayerCore& core, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    PlayerCore& core_;
};

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

    // Controls, by their names.
    QPushButton* PageA(int i) const { return pageA_.at(static_cast<size_t>(i)); }
    QPushButton* PlayS(int i) const { return playS_.at(static_cast<size_t>(i)); }
    QComboBox* PHcombo() const { return phcombo_; }
    QComboBox* Combo1() const { return combo1_; }
    QComboBox* Combo2() const { return combo2_; }
    ListPicture* Picture1() const { return picture1_; }
    QLabel* Label(int i) const;  // Label1, Label3, Label4, Label6
    QLabel* LoadLabel() const { return loadLabel_; }
    QLabel* socl() const { return socl_; }
    QWidget* ProgressFill() const { return progress_; }
    QLabel* PlayIco() const { return playIco_; }

    // LyricsHost
    QString CurrentSongName() const override;
    void SetSongLabel(const QString& text) override;
    void PlayS_Click(int Index) override { core_.PlayS_Click(Index); }
    bool IsMuted() const override;
    QWidget* MainWindow() override { return this; }
    bool IsShown() const override { return core_.IsShown != 0; }
    void SetIsShown(bool shown) override { core_.IsShown = ToBool16(shown); }
    void ShowSettingsMenu(const QPoint& global) override {
        if (LyricsMenu) LyricsMenu(global);
    }
    // The lyrics window's right-click menu (the shell sets it).
    std::function<void(const QPoint& global)> LyricsMenu;

    // Copies the core's controls onto the widgets (done after every change).
    void Sync();

protected:
    // A close request from the desktop (a key or the task bar) is the close
    // button: hide, or ask and exit.
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    void BindSelector(Selector& model, QComboBox* box);
    void PlaceVolume(int volume);
    bool eventFilter(QObject* watched, QEvent* e) override;

    platform::MediaPlayer& mmp_;
    PlayerCore core_;
    std::unique_ptr<lrcBox> lrc_;

    std::array<QPushButton*, 16> pageA_{};
    std::array<QPushButton*, 7> playS_{};
    QComboBox* phcombo_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    ListPicture* picture1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* loadLabel_ = nullptr;
    QLabel* socl_ = nullptr;
    QWidget* progress_ = nullptr;
    QLabel* playIco_ = nullptr;
    QLabel* ymLabel_ = nullptr;
    QFrame* ybg_ = nullptr;
    QWidget* volumeFill_ = nullptr;
    QStringList drawnRows_;  // what the list picture last painted
};

}  // namespace tavo
