#pragma once
// What a playing radio station shows as its song: the title its stream
// sends for what plays now ("icy-title", often "artist - title"), or, while
// it sends none, the station's own name from the list.

#include <QString>

namespace tavo {

// The song text of the main window's label and the lyrics window:
// "stream title（station）", or the station alone.
QString StationSongText(const QString& station, const QString& streamTitle);

// The media controls' title and artist for a station: the stream's title
// and the station, or the station as the title with no artist.
struct StationTrack {
    QString title;
    QString artist;
};
StationTrack StationTrackFor(const QString& station, const QString& streamTitle);

}  // namespace tavo
