#pragma once
// The favourites commands of the list menus: add the right-clicked song,
// remove it, clear the list, add local files. Each opens, changes and closes
// the favourites file (FavouritesEditor) and then brings the viewed list, the
// play list and the playing-row marker up to date through the ShellHost.
//
// No widgets: the file dialog is a function the tray window supplies.

#include "shell/shell_host.h"

#include <QStringList>

#include <functional>

namespace tavo {

class FavouritesCommands {
public:
    explicit FavouritesCommands(ShellHost& host) : host_(host) {}

    // The files the user chose to add (full paths); empty when cancelled.
    std::function<QStringList()> ChooseFiles;

    // "添加到我的收藏": the right-clicked entry of the viewed list.
    void M_AddMySongList();
    // "移除这首歌曲": the right-clicked favourite, if the file still holds it
    // at that place; otherwise the list is reloaded and nothing is removed.
    void M_DelMySong();
    // "清空列表" (after the user confirms).
    void M_MySongClear();
    // "添加本地文件".
    void M_M_MySongRightS_BDF();

private:
    ShellHost& host_;
};

}  // namespace tavo
