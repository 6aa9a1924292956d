#include "app/seek_track.h"

#include "platform/core/media_player.h"

namespace tavo {

std::optional<SeekTarget> SeekOnTrack(int x, int width, double duration, int playState) {
    if (playState != platform::kPlayPlaying && playState != platform::kPlayPaused) return std::nullopt;
    if (x <= 0 || x >= width || !(duration > 0)) return std::nullopt;
    return SeekTarget{x, x / (width / duration)};
}

}  // namespace tavo
