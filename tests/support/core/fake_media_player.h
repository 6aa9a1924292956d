#pragma once
// A media player for logic tests: it plays nothing. Tests set the state it
// reports and read what the logic asked of it.

#include "platform/core/media_player.h"

#include <QStringList>

namespace tavo::test {

class FakeMediaPlayer : public platform::MediaPlayer {
public:
    QString URL() const override { return url; }
    // Opening an address reads "transitioning" at once, as the real one does.
    void setURL(const QString& u) override {
        url = u;
        urls.append(u);
        position = 0;
        Announce({}, {});  // a new address has said nothing yet
        SetState(platform::kPlayTransitioning);
    }
    int playState() const override { return state; }
    QString streamTitle() const override { return title; }
    QString streamName() const override { return name; }
    QString status() const override { return statusText; }

    void SetState(int s) {
        state = s;
        Q_EMIT PlayStateChange(s);
    }
    // What the stream says it plays (as the real player reports "icy-title"
    // and "icy-name"); told only when it changes.
    void Announce(const QString& t, const QString& n) {
        if (t == title && n == name) return;
        title = t;
        name = n;
        Q_EMIT StreamTitleChange(t, n);
    }

    QString url;
    QString title, name;
    QStringList urls;  // every address opened, in order
    int state = platform::kPlayUndefined;
    QString statusText = QStringLiteral("正在连接...");
    double position = 0;
    double duration = 0;
    bool muted = false;
    int volume = 50;
    int plays = 0, pauses = 0, stops = 0;

protected:
    void Play() override {
        ++plays;
        if (state == platform::kPlayPaused) SetState(platform::kPlayPlaying);
    }
    void Pause() override {
        ++pauses;
        SetState(platform::kPlayPaused);
    }
    void Stop() override {
        ++stops;
        SetState(platform::kPlayStopped);
    }
    double Position() const override { return position; }
    void Seek(double s) override { position = s; }
    double Duration() const override { return duration; }
    bool Muted() const override { return muted; }
    void SetMuted(bool m) override { muted = m; }
    int Volume() const override { return volume; }
    void SetVolume(int v) override { volume = v; }
};

}  // namespace tavo::test
