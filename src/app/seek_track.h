#pragma once
// Seeking on the time track `socl`: a press (or a drag with the left button
// held) at x pixels on a track `width` pixels wide moves the progress fill
// to x and the song to x / (width / duration) seconds. Only while a song
// plays or is paused, only for 0 < x < width, and only once the song's
// length is known.

#include <optional>

namespace tavo {

struct SeekTarget {
    int fillWidth = 0;       // the progress fill, pixels
    double position = 0.0;   // seconds
};

// `playState` as the media player reports it (2 paused, 3 playing).
std::optional<SeekTarget> SeekOnTrack(int x, int width, double duration, int playState);

}  // namespace tavo
