#include "app/favourite_play.h"

#include "app/player_core.h"

namespace tavo {

bool PlayFavourite(PlayerCore& c, const QString& link) {
    if (link.isEmpty()) return false;
    // Automatic play would start the list's first song as it arrives.
    const bool autoPlay = c.AutoPlay;
    c.AutoPlay = false;
    if (c.Selection() != 0)
        c.gsl.PHcombo.SetListIndex(0);
    else
        c.MySongList();
    c.AutoPlay = autoPlay;
    const int row = static_cast<int>(c.list.FavLinks.indexOf(link));
    if (row < 0 || row >= c.list.Count()) return false;
    c.gsl.CurPage = static_cast<std::int16_t>(row / 10);
    c.GoPage();
    c.list.PlayViewed(row);
    return true;
}

}  // namespace tavo
