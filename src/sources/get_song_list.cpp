#include "sources/get_song_list.h"

namespace tavo {

GetSongList::GetSongList(QObject* parent) : QObject(parent) {
    connect(&Combo1, &Selector::ListIndexChanged, this, &GetSongList::SelectPeriod);
}

}  // namespace tavo
