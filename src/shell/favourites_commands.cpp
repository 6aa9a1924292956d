#include "shell/favourites_commands.h"

#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "app/favourites_file.h"

namespace tavo {

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

void WriteFailed(const ShellHost& host) {
    platform::Messages().Show(QStringLiteral("无法写入收藏列表（%1），收藏列表没有改动。")
                                  .arg(platform::PathToQString(host.FavouritesPath())),
                              host.AppTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace

void FavouritesCommands::M_AddMySongList() {
    const int index = host_.SelIndex();
    if (index < 0 || index >= host_.ListCount()) return;
    if (!FavouritesEditor(host_.FavouritesPath()).Append({FavouriteLine(host_.ListItem(index))})) {
        WriteFailed(host_);
        return;
    }
    if (host_.PlaySource() == 0 && host_.YNPlaySongList()) {
        host_.MySongList();
        host_.Play_List();
    }
}

void FavouritesCommands::M_DelMySong() {
    const int index = host_.SelIndex();
    if (index < 0 || index >= host_.ListCount()) return;
    // Whether the favourites play, and where the removed entry lies against
    // the playing one, is settled before the reload moves the page.
    const bool playingList = host_.YNPlaySongList();
    const int playIndex = host_.PlayIndex();
    const bool removesPlaying = playingList && index == playIndex;
    const bool removesAbove = playingList && index < playIndex;

    switch (FavouritesEditor(host_.FavouritesPath()).RemoveAt(index, host_.ListItem(index))) {
        case FavouritesEditor::Removal::Changed:
            host_.MySongList();
            platform::Messages().Show(
                QStringLiteral("收藏列表已在别处被修改，已重新载入，没有移除任何歌曲。"), host_.AppTitle(),
                MsgButtons::Ok, MsgIcon::Information);
            return;
        case FavouritesEditor::Removal::WriteFailed:
            WriteFailed(host_);
            return;
        case FavouritesEditor::Removal::Removed:
            break;
    }
    host_.MySongList();
    if (removesPlaying) {
        host_.PlayStop();
    } else if (removesAbove) {
        host_.SetPlayIndex(playIndex - 1);
    }
    if (host_.YNPlaySongList()) host_.Play_List();
}

void FavouritesCommands::M_MySongClear() {
    const auto answer = platform::Messages().Show(QStringLiteral("确定要清空收藏列表吗？"), host_.AppTitle(),
                                                  MsgButtons::OkCancel, MsgIcon::Question);
    if (answer != MsgResult::Ok) return;
    const int index = host_.SelIndex();
    const bool removesPlaying = host_.YNPlaySongList() && index == host_.PlayIndex();
    if (!FavouritesEditor(host_.FavouritesPath()).Clear()) {
        WriteFailed(host_);
        return;
    }
    host_.MySongList();
    if (removesPlaying) host_.PlayStop();
}

}  // namespace tavo
