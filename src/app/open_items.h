#pragma once
// What the player is handed to open (on its command line, by a second start,
// or dropped on its window) as favourites: files become lines named from
// their tags, folders go to the folder import, playlist files add their
// entries, web addresses become lines that play the address. The first song
// handed over is the one to play.

#include <QStringList>

#include <filesystem>
#include <vector>

namespace tavo {

struct OpenPlan {
    QStringList lines;                         // favourites lines to append, in order
    std::vector<std::filesystem::path> folders;  // for the folder import, in order
    QString playFirst;      // link of the song to play: the first item's
    bool playFirstIsFolder = false;  // the first item was a folder: play its first import
    int duplicates = 0;     // already in the favourites (the first still plays)
    int unusable = 0;       // missing, not music, unreadable or unstorable
};

// `items` as ParseCommandLine gives them: absolute paths and web addresses.
// `knownLinks` are the links already in the favourites.
OpenPlan PlanOpen(const QStringList& items, const QStringList& knownLinks);

}  // namespace tavo
