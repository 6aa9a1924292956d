#include "shell/online_windows.h"

#include "app/list_files.h"
#include "app/player_core.h"
#include "app/station_audition.h"
#include "lyrics/ui/lyrics_search_dialog.h"
#include "platform/message_box.h"
#include "sources/ui/radio_directory_window.h"

#include <QWidget>

namespace tavo {

OnlineWindows::OnlineWindows(PlayerCore& core, QWidget* owner) : core_(core), owner_(owner) {}

OnlineWindows::~OnlineWindows() {
    delete search_.data();
    delete directory_.data();
}

RadioDirectoryWindow* OnlineWindows::Directory() const { return directory_.data(); }
LyricsSearchDialog* OnlineWindows::LyricsSearch() const { return search_.data(); }

void OnlineWindows::ShowDirectory() {
    if (!directory_) {
        directory_ = new RadioDirectoryWindow(&core_.online.Directory(), RadioFile(), owner_);
        directory_->setWindowFlag(Qt::Window);
        directory_->onListen = [this](const QString& name, const QString& address) {
            PlayStationNow(core_, name, address);
        };
        directory_->onAdded = [this] { StationListChanged(core_); };
        directory_->StartSearch();
    }
    directory_->show();
    directory_->raise();
    directory_->activateWindow();
}

void OnlineWindows::ShowLyricsSearch() {
    SongLyrics& lyrics = core_.songLyrics;
    // The lyrics searched for are those of the song that plays now.
    if (lyrics.SongTag() == 0 || lyrics.SongTag() != core_.playback.SongTag() || lyrics.Song().name.isEmpty()) {
        platform::Messages().Show(QStringLiteral("没有正在播放的歌曲，无法搜索歌词。"), QStringLiteral("搜索歌词"),
                                  platform::MsgButtons::Ok, platform::MsgIcon::Information);
        return;
    }
    if (search_) search_->close();
    search_ = new LyricsSearchDialog(&lyrics.Finder(), core_.online.LibraryBase(), lyrics.Song(), owner_);
    search_->setAttribute(Qt::WA_DeleteOnClose);
    search_->show();
    search_->raise();
    search_->activateWindow();
}

}  // namespace tavo
