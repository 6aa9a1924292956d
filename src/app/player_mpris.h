#pragma once
// The player as the desktop's media controls see it (MPRIS): state and song
// read from the player core and its media player, commands sent through the
// same handlers as the window's buttons.

#include "platform/core/mpris_target.h"

#include <QObject>
#include <QString>

#include <functional>

namespace tavo {

class PlayerCore;

namespace platform {
class MprisService;
}

// The song's title and artists from a display text "title ┈ artist"; a
// text without the separator is all title.
void SplitDisplayText(const QString& display, QString* title, QStringList* artists);

class PlayerMpris : public QObject, public platform::MprisTarget {
    Q_OBJECT
public:
    struct Window {
        std::function<void()> raise;  // show the main window in front
        std::function<void()> quit;   // the program's exit
    };
    PlayerMpris(PlayerCore& core, Window window, QObject* parent = nullptr);

    // The file:// address of a song's cover from its address (empty: none);
    // asked once per address the player opens.
    void SetCoverSource(std::function<QString(const QString& songUrl)> source) { coverSource_ = std::move(source); }

    // Tells `service` of every change of state or song from now on.
    void Watch(platform::MprisService& service);

    platform::MprisStatus Status() const override;
    platform::MprisTrack Track() const override;
    qint64 PositionUs() const override;
    double Volume() const override;
    platform::MprisAbilities Can() const override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void SetPositionUs(qint64 us) override;
    void SetVolume(double volume) override;
    void Raise() override;
    void Quit() override;

private:
    // Notes the song's cover, then tells the bus what changed.
    void Update();

    PlayerCore& core_;
    Window window_;
    platform::MprisService* service_ = nullptr;
    int songSerial_ = 0;  // one more for every new current song
    std::function<QString(const QString&)> coverSource_;
    QString coverFor_;  // the address whose cover `artUrl_` is
    QString artUrl_;
};

}  // namespace tavo
