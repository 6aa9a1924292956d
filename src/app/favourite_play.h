#pragma once
// Playing a favourite by its link: what the player does with the first song
// it is handed (on its command line, by a second start, or dropped on its
// window) once that song is in the favourites.

#include <QString>

namespace tavo {

class PlayerCore;

// Shows the favourites (read again from the file), turns to the page of the
// entry whose link is `link` and plays it. False, and nothing played, when
// no entry has that link.
bool PlayFavourite(PlayerCore& core, const QString& link);

}  // namespace tavo
