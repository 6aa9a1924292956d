#pragma once
// The main window's pixel rules: the core speaks in rows and seconds, and
// these turn them into places in the window and back.
//
// The list picture shows ten rows `RowHeight` pixels apart; the playing-row
// marker `PlayIco` sits 2 pixels below its row's top. The time track
// `socl` fills in proportion to the position (length + 1 s, so that the
// fill never quite reaches the end); a press on it seeks.

#include <optional>

namespace tavo {

inline constexpr int kRowsPerPage = 10;
inline constexpr int kPlayMarkerOffset = 2;

// The row of the viewed page under (x, y), a point of a list picture
// `listWidth` wide showing `rows` rows: -1 for the free space (and for a
// point on the picture's edge or outside it).
int RowAt(int x, int y, int listWidth, int rowHeight, int rows);

// The marker's top, in pixels below the list picture's top.
inline int PlayMarkerTop(int row, int rowHeight) { return row * rowHeight + kPlayMarkerOffset; }

// The progress fill of a track `trackWidth` pixels wide, within [0, trackWidth]
// (0 for a position or length that is not a number).
int ProgressFill(int trackWidth, double length, double position);

struct SeekTarget {
    int fillWidth = 0;       // the progress fill, pixels
    double position = 0.0;   // seconds
};

// Seeking on the time track: a press (or a drag with the left button held)
// at x pixels on a track `width` pixels wide moves the progress fill to x
// and the song to x / (width / duration) seconds. Only while a song plays or
// is paused (`playState` as the media player reports it: 2 paused, 3
// playing), only for 0 < x < width, and only once the song's length is
// known.
std::optional<SeekTarget> SeekOnTrack(int x, int width, double duration, int playState);

}  // namespace tavo
