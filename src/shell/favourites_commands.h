#pragma once
// The favourites commands of the list menus: add the right-clicked song,
// remove it, clear the list. Each opens, changes and closes
// the favourites file (FavouritesEditor) and then brings the viewed list, the
// play list and the playing-row marker up to date through the ShellHost.

#include "shell/shell_host.h"

namespace tavo {

class FavouritesCommands {
public:
    explicit FavouritesCommands(ShellHost& host) : host_(host) {}

    // "添加到我的收藏": the right-clicked entry of the viewed list.
    void M_AddMySongList();
    // "移除这首歌曲": the right-clicked favourite, if the file still holds it
    // at that place; otherwise the list is reloaded and nothing is removed.
    void M_DelMySong();
    // "清空列表" (after the user confirms).
    void M_MySongClear();

private:
    ShellHost& host_;
};

}  // namespace tavo
