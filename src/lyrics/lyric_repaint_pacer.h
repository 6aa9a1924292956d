#pragma once
// When the lyrics window repaints on its own: only while it is shown and
// the song plays. A moving look (karaoke fill, the rising five-line view)
// ticks at the screen's refresh rate; a still look ticks a few times a
// second, just often enough to notice that the next line has begun. Paused,
// stopped or hidden, nothing ticks.

#include <QObject>
#include <QTimer>

namespace tavo {

class LyricRepaintPacer : public QObject {
    Q_OBJECT
public:
    // A still look checks for a new line this often.
    static constexpr int kStillIntervalMs = 100;

    explicit LyricRepaintPacer(QObject* parent = nullptr);

    void SetVisible(bool visible);
    void SetPlaying(bool playing);
    // True while the look moves between line changes.
    void SetSmooth(bool smooth);
    // The screen's refresh rate in Hz; odd values (0, NaN, 1000) are read
    // as 60 and the rate is kept within 20..240.
    void SetRefreshRate(double hz);

    bool Running() const { return timer_.isActive(); }
    int IntervalMs() const { return timer_.interval(); }

Q_SIGNALS:
    void Tick();

private:
    void Update();

    QTimer timer_;
    bool visible_ = false;
    bool playing_ = false;
    bool smooth_ = false;
    int frameMs_ = 16;
};

}  // namespace tavo
