#pragma once
// What a stream says it plays, as the song text: a station announces the
// title of what it plays now ("icy-title", often "Artist - Title"), and
// that stands for the song wherever the song text shows (the main window's
// lyric label, the lyrics window, the desktop's media controls) for as long
// as the stream says so. A stream that announces nothing keeps the name the
// station has in its list.
//
// The player has already made the announcement safe to show (decoded,
// control characters gone, bounded in length).

#include <QString>
#include <QStringList>

namespace tavo {

// The song text: the stream's title when it has one, else `listedName`.
QString NowPlayingText(const QString& listedName, const QString& streamTitle);

// The media controls' title and artists from a stream title: "Artist -
// Title" splits at the first " - " (both sides non-empty); anything else is
// all title.
void SplitStreamTitle(const QString& streamTitle, QString* title, QStringList* artists);

}  // namespace tavo
