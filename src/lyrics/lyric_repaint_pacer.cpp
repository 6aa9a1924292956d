#include "lyrics/lyric_repaint_pacer.h"

#include <algorithm>
#include <cmath>

namespace tavo {

LyricRepaintPacer::LyricRepaintPacer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &LyricRepaintPacer::Tick);
    Update();
}

void LyricRepaintPacer::SetVisible(bool visible) {
    visible_ = visible;
    Update();
}

void LyricRepaintPacer::SetPlaying(bool playing) {
    playing_ = playing;
    Update();
}

void LyricRepaintPacer::SetSmooth(bool smooth) {
    smooth_ = smooth;
    Update();
}

void LyricRepaintPacer::SetRefreshRate(double hz) {
    if (!std::isfinite(hz) || hz < 1 || hz > 1000) hz = 60;
    hz = std::min(std::max(hz, 20.0), 240.0);
    frameMs_ = std::max(1, static_cast<int>(std::lround(1000.0 / hz)));
    Update();
}

void LyricRepaintPacer::Update() {
    const int interval = smooth_ ? frameMs_ : kStillIntervalMs;
    if (timer_.interval() != interval) timer_.setInterval(interval);
    const bool run = visible_ && playing_;
    if (run && !timer_.isActive()) timer_.start();
    if (!run && timer_.isActive()) timer_.stop();
}

}  // namespace tavo
