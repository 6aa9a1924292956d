#pragma once
// The main window's logic without the window: the one object that the
// window, the tray, the splash, the desktop bus and the tests hold. It owns
// the pieces, each about one thing:
//
//   StartUp       start-up and the close and minimise buttons (start_up.h)
//   ExitPath      the one way the program ends (exit_path.h)
//   ListView      the viewed list, its pages, the list files, going back to
//                 the playing list (list_view.h)
//   ListFetcher   the selectors' handlers and list downloads (list_fetch.h)
//   LinkResolver  the song search and its candidates (link_resolver.h)
//   Playback      playing, next, previous, stop, the watch loop
//                 (playback.h), holding the PlayList value (play_list.h)
//
// and it carries the main window's public names, so that the rest of the
// program can call `core.PlayNext()`, read `core.PlayIndex` or
// `core.SelIndex` as the windows are described. What the window shows lives
// in `ui`; every piece writes it and calls Touch(), and the window copies it
// onto its widgets when Changed() arrives. Other parts of the program attach
// through `hooks` (main_controls.h) and through Playback's signals.

#include "app/exit_path.h"
#include "app/link_resolver.h"
#include "app/list_fetch.h"
#include "app/list_view.h"
#include "app/main_controls.h"
#include "app/online_services.h"
#include "app/playback.h"
#include "app/start_up.h"
#include "lyrics/core/lyrics_model.h"
#include "lyrics/core/song_lyrics.h"
#include "platform/bool16.h"
#include "sources/get_song_list.h"

#include <QObject>

#include <cstdint>
#include <filesystem>

namespace tavo {

namespace platform {
class MediaPlayer;
}
class LyricsView;

class PlayerCore : public QObject {
    Q_OBJECT
    // First: the pieces below use them while they are built.
    platform::MediaPlayer& mmp_;
    LyricsView* lrc_ = nullptr;
    bool touched_ = false;

public:
    explicit PlayerCore(platform::MediaPlayer& mmp, QObject* parent = nullptr);
    ~PlayerCore() override;
    PlayerCore(const PlayerCore&) = delete;
    PlayerCore& operator=(const PlayerCore&) = delete;

    // The lyrics window (may be null: nothing is mirrored there).
    void SetLyricsView(LyricsView* view) { lrc_ = view; }
    LyricsView* Lyrics() const { return lrc_; }
    // The media player: position, duration, volume, seeking.
    platform::MediaPlayer& Player() { return mmp_; }

    MainHooks hooks;
    MainControls ui;

    // ---- members of the main window that other windows read and write
    Bool16 LoadDone = False16;
    QString AppTitle;
    Bool16 IsShown = False16;
    QString AppVersion;
    QString CurrentSkin;
    QStringList SkinFolders;  // captions of the skin menu items
    // Start playing when the next list arrives (setting isRunPlay).
    bool AutoPlay = false;

    // The catalogue, the selectors, the parsers' results and the viewed
    // list's entries (`ListItems`, `CurPage`).
    GetSongList gsl;

    // The playing song's lyric lines, and where they are found: playback
    // starts and cancels the search, the windows and the media controls show
    // the lines. The open services (station directory, lyrics finder).
    LyricsModel lyricLines;
    OnlineServices online;
    SongLyrics songLyrics;

    // ---- the pieces
    ExitPath exit;
    StartUp startUp;
    ListView list;
    ListFetcher fetch;
    LinkResolver links;
    Playback playback;

    // ---- the public names, onto the pieces
    std::int32_t& SelIndex;      // list index of the row last right-clicked
    std::int16_t& PlaySource;    // source selector index of the playing list
    int& PlayIndex;              // the playing song in the play list; -1 none
    QStringList& ListItems;      // the viewed list, trailing empty element included
    std::int16_t& CurPage;       // the viewed page, from 0

    bool Form_Load() { return startUp.Form_Load(); }
    bool LoadMenu() { return startUp.LoadMenu(); }
    void MySongList() { list.MySongList(); }
    void radioList() { list.radioList(); }
    void Play_List() { list.Play_List(); }
    void ClickPlay() { list.ClickPlay(); }
    void GoPage() { list.GoPage(); }
    void OutList() { list.OutList(); }
    void ReloadPlayList() { list.ReloadPlayList(); }
    void PageA_Click(int index);
    bool YNPlaySong(int isPlayIndex) const { return playback.YNPlaySong(isPlayIndex); }
    bool YNPlaySongPage() const { return playback.YNPlaySongPage(); }
    bool YNPlaySongList() const { return playback.YNPlaySongList(); }
    void PlayStop() { playback.PlayStop(); }
    void PlayNext() { playback.PlayNext(); }
    void PlayLast() { playback.PlayLast(); }
    void PlayS_Click(int Index) { playback.PlayS_Click(Index); }
    void MMP_Play() { playback.MMP_Play(); }
    void Go_Play() { playback.Go_Play(); }

    // ---- for the pieces
    // The source selector's index.
    int Selection() const { return gsl.PHcombo.ListIndex(); }
    // Something in `ui` changed: Changed() follows once this turn ends.
    void Touch();
    // The song label `Label6`, alone or mirrored on the lyrics window.
    void SetLabel6(const QString& text);
    void SetStatus(const QString& text);
    void SetLoadLabel(const QString& text, bool visible);

Q_SIGNALS:
    void Changed();
};

}  // namespace tavo
