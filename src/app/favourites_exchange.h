#pragma once
// Playlists and the favourites: an imported playlist becomes favourites
// lines, and the favourites become playlist entries for export.
//
// Nothing here writes a file: the caller appends the lines with the
// favourites' own atomic rewrite once the whole playlist has been read, and
// writes an export with WriteM3u8 or WriteXspf.

#include "sources/playlist_formats.h"

#include <QStringList>

#include <vector>

namespace tavo {

struct PlaylistImport {
    QStringList lines;   // favourites lines, in playlist order
    int duplicates = 0;  // already in the favourites, or twice in the playlist
    int refused = 0;     // locations the favourites cannot hold
};

// The favourites name of a playlist entry: title " ┈ " artist when the
// playlist names the song, the address itself for a web address without a
// title, the file-name rule for a path without one.
QString PlaylistEntryName(const PlaylistEntry& entry);

PlaylistImport FavouritesFromPlaylist(const std::vector<PlaylistEntry>& entries, const QStringList& knownLinks);

// The favourites as playlist entries: lines without a link (songs found by
// search) cannot be played from a playlist and are left out; `leftOut`
// counts them. "title ┈ artist" names split into title and artist.
std::vector<PlaylistEntry> PlaylistFromFavourites(const QStringList& entries, const QStringList& links,
                                                  const QList<int>& seconds, int* leftOut);

}  // namespace tavo
