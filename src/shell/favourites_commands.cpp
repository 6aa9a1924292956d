#include "shell/favourites_commands.h"

#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "app/favourites_file.h"
#include "app/local_import.h"

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

// A path that the line format cannot hold: a line break would split the
// line, a separator would cut the name or the link short.
bool Storable(const QString& path) {
    return !path.isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r')) &&
           !path.contains(QStringLiteral("<|>")) && !path.contains(QStringLiteral("{@}"));
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

void FavouritesCommands::M_M_MySongRightS_BDF() {
    const QStringList files = ChooseFiles ? ChooseFiles() : QStringList();
    if (files.isEmpty()) return;
    QStringList lines;
    int skipped = 0;
    int unreadable = 0;
    for (const QString& path : files) {
        if (!Storable(path)) {
            ++skipped;
            continue;
        }
        // Named from its tags; a file that cannot be read as music is left out.
        if (const std::optional<QString> line = ReadLocalSongLine(platform::QStringToPath(path)))
            lines.append(*line);
        else
            ++unreadable;
    }
    if (!lines.isEmpty() && !FavouritesEditor(host_.FavouritesPath()).Append(lines)) {
        WriteFailed(host_);
        return;
    }
    if (skipped > 0)
        platform::Messages().Show(QStringLiteral("有 %1 个文件的路径含有换行或列表分隔符，无法加入收藏列表。").arg(skipped),
                                  host_.AppTitle(), MsgButtons::Ok, MsgIcon::Information);
    if (unreadable > 0)
        platform::Messages().Show(QStringLiteral("有 %1 个文件无法读取为音乐，没有加入收藏列表。").arg(unreadable),
                                  host_.AppTitle(), MsgButtons::Ok, MsgIcon::Information);
    if (lines.isEmpty()) return;
    // The favourites are on view (this menu belongs to them): show what was
    // added; the play list follows when it is this list.
    if (host_.SourceIndex() == 0 || host_.YNPlaySongList()) host_.MySongList();
    if (host_.YNPlaySongList()) host_.Play_List();
}

}  // namespace tavo
