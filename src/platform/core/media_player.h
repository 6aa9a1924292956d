#pragma once
// The media player placed on the main window (`mmp`): it is handed one
// address at a time (a web address or a local file path), plays it as
// audio only, and reports its state. The logic only ever uses the members
// below, under their usual names:
//
//   URL                                   write: opens the address
//   controls().play() / pause() / stop()
//   controls().currentPosition()          seconds; setCurrentPosition seeks
//   controls().currentPositionString()    "mm:ss"
//   currentMedia().duration()             seconds
//   currentMedia().durationString()       "mm:ss"
//   playState()                           see PlayState
//   status()                              one short line of text
//   settings().mute() / setMute()
//   settings().volume() / setVolume()     0..100
//   streamTitle(), streamName()           what a radio stream says it plays
//
// Everything is read and written on the UI thread.

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <thread>

struct mpv_handle;
struct mpv_event;

namespace tavo::platform {

// playState values. Only 0, 1, 2, 3, 7 and 10 are acted on by the logic; 6
// and 9 are shown through status().
enum PlayState : int {
    kPlayUndefined = 0,
    kPlayStopped = 1,      // a normal end of file, or stopped
    kPlayPaused = 2,
    kPlayPlaying = 3,
    kPlayBuffering = 6,    // waiting for network data while playing
    kPlayWaiting = 7,      // no data for the no-data time: give up on it
    kPlayTransitioning = 9,  // opening a new address
    kPlayReady = 10,       // the address could not be opened, or failed
};

// mm:ss with two-digit minutes and seconds (more minute digits past 99);
// negative or unknown times read 00:00. Seconds are truncated.
QString FormatMinutesSeconds(double seconds);

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit MediaPlayer(QObject* parent = nullptr) : QObject(parent) {}
    ~MediaPlayer() override = default;

    class Controls {
    public:
        void play() { p_.Play(); }
        void pause() { p_.Pause(); }
        void stop() { p_.Stop(); }
        double currentPosition() const { return p_.Position(); }
        void setCurrentPosition(double seconds) { p_.Seek(seconds); }
        QString currentPositionString() const { return FormatMinutesSeconds(p_.Position()); }

    private:
        friend class MediaPlayer;
        explicit Controls(MediaPlayer& p) : p_(p) {}
        MediaPlayer& p_;
    };
    class CurrentMedia {
    public:
        double duration() const { return p_.Duration(); }
        QString durationString() const { return FormatMinutesSeconds(p_.Duration()); }

    private:
        friend class MediaPlayer;
        explicit CurrentMedia(MediaPlayer& p) : p_(p) {}
        MediaPlayer& p_;
    };
    class Settings {
    public:
        bool mute() const { return p_.Muted(); }
        void setMute(bool m) { p_.SetMuted(m); }
        int volume() const { return p_.Volume(); }
        void setVolume(int v) { p_.SetVolume(v); }

    private:
        friend class MediaPlayer;
        explicit Settings(MediaPlayer& p) : p_(p) {}
        MediaPlayer& p_;
    };

    virtual QString URL() const = 0;
    // Opens the address and starts it (playState reads 9 at once).
    virtual void setURL(const QString& url) = 0;
    virtual int playState() const = 0;
    virtual QString status() const = 0;
    // What a stream announces: the title of what it plays now (its
    // "icy-title") and its own name ("icy-name"); empty when it announces
    // nothing (every file, most streams). Cleared when a new address opens.
    virtual QString streamTitle() const { return {}; }
    virtual QString streamName() const { return {}; }

    Controls& controls() { return controls_; }
    CurrentMedia& currentMedia() { return media_; }
    Settings& settings() { return settings_; }

Q_SIGNALS:
    void PlayStateChange(int newState);
    // The stream's title or name changed (both as they are now).
    void StreamTitleChange(const QString& title, const QString& name);

protected:
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual double Position() const = 0;
    virtual void Seek(double seconds) = 0;
    virtual double Duration() const = 0;
    virtual bool Muted() const = 0;
    virtual void SetMuted(bool muted) = 0;
    virtual int Volume() const = 0;
    virtual void SetVolume(int volume) = 0;

private:
    Controls controls_{*this};
    CurrentMedia media_{*this};
    Settings settings_{*this};
};

struct MpvOptions {
    // The audio output ("null" in tests); empty lets the player choose, and
    // falls back to no sound when no device opens.
    QString audioOutput;
    // A stream that has delivered no data for this long while opening,
    // buffering or playing reads 7 (waiting).
    int noDataTimeoutMs = 15000;
    // The network layer's own timeout, in seconds.
    int networkTimeoutS = 20;
    int initialVolume = 50;
};

// The player over libmpv. The application must have set LC_NUMERIC to "C"
// (libmpv refuses to start otherwise); without a working libmpv every
// address reads 10 with the status "播放组件不可用".
//
// libmpv is opened (mpv_library.h) and started on a helper thread once the
// event loop runs (it takes about a tenth of a second); the first call that
// needs it starts it if need be and waits for it.
class MpvMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit MpvMediaPlayer(const MpvOptions& options = {}, QObject* parent = nullptr);
    ~MpvMediaPlayer() override;

    bool Available() {
        EnsureReady();
        return mpv_ != nullptr;
    }

    QString URL() const override { return url_; }
    void setURL(const QString& url) override;
    int playState() const override { return state_; }
    QString status() const override { return status_; }
    QString streamTitle() const override { return streamTitle_; }
    QString streamName() const override { return streamName_; }

protected:
    void Play() override;
    void Pause() override;
    void Stop() override;
    double Position() const override { return position_; }
    void Seek(double seconds) override;
    double Duration() const override { return duration_; }
    bool Muted() const override { return muted_; }
    void SetMuted(bool muted) override;
    int Volume() const override { return volume_; }
    void SetVolume(int volume) override;

private:
    static void Wakeup(void* self);
    void StartLoading();
    void EnsureReady();
    void Drain();
    void Handle(const mpv_event& event);
    void SetState(int state, const QString& status);
    void Load();
    void OnNoData();
    void SetStreamTitle(const QString& title, const QString& name);
    void ReadStreamTitle();

    MpvOptions options_;
    mpv_handle* mpv_ = nullptr;  // written by the start-up thread until it is joined
    bool loadStarted_ = false;
    std::thread starting_;
    std::atomic<bool> wakePending_{false};
    QTimer noData_;

    QString url_;
    int state_ = kPlayUndefined;
    QString status_;
    // The playlist entry of the address we opened last; events of any other
    // entry (the one it replaced) are ignored. -1 while none.
    long long entry_ = -1;
    bool loaded_ = false;
    bool paused_ = false;
    bool cacheWait_ = false;
    double position_ = 0;
    double duration_ = 0;
    bool muted_ = false;
    int volume_ = 50;
    QString streamTitle_;
    QString streamName_;
};

}  // namespace tavo::platform
