#pragma once
// The main window's logic, without the window: start-up, the viewed list and
// the play list with their pages, finding a song's play addresses, playback
// and its 200 ms watch loop.
//
// What the window shows lives in `ui` (label texts, visible buttons, the
// rows drawn in the list picture, the progress fill); the logic writes it
// and raises Changed(), and the window copies it onto its widgets. Handlers
// are plain methods named after their control and event, so that tests can
// drive the logic as a user would, with a stand-in media player and lyrics
// window.

#include "download/qel_down.h"
#include "platform/bool16.h"
#include "sources/get_song_list.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace tavo {

namespace platform {
class MediaPlayer;
}
class LyricsView;

inline const QString kAppTitle = QStringLiteral("Tavo音乐盒2010");
inline const QString kDefaultSkin = QStringLiteral("蓝色科技");

// Where the list picture and the time track sit in the window, in pixels.
struct MainGeometry {
    int listLeft = 12;
    int listTop = 118;
    int listWidth = 306;
    int listHeight = 250;  // inner height: ten rows
    int trackWidth = 306;  // the time track `socl`
};

// What the window shows (the controls the logic writes).
struct MainControls {
    QString Label3;           // title strip
    QString Label6;           // song / status line
    QString Label6ToolTip;
    QString LoadLabel;        // busy label over the list
    bool LoadLabelVisible = false;
    QString Label4 = QStringLiteral("1/1");  // page label
    QString socl;             // time text, also the progress track
    int progressWidth = 0;    // the progress fill inside `socl`
    bool PlayIcoVisible = false;
    int PlayIcoTop = 0;
    std::array<bool, 7> PlaySVisible{true, true, true, true, true, true, false};
    std::array<bool, 16> PageAVisible{};
    std::array<QString, 16> PageACaption{};
    bool Combo1Visible = false;
    bool Combo2Visible = false;
    QStringList rows;         // the rows drawn in the list picture
    QString YMlabel;          // calendar strip month "YYYY.MM"
};

// Start-up steps that belong to other parts of the program (splash, skin
// painting, tray menus, update check, row fading). Empty ones do nothing.
struct MainHooks {
    std::function<void()> ShowSplash;
    std::function<void()> SetDefaultSkinColours;
    std::function<void(const QStringList& skins)> FillSkinMenu;
    std::function<void()> ApplySkin;
    std::function<void(bool closeQuits, bool runPlay)> SetTrayChecks;
    std::function<void()> StartFadeTimer;
    std::function<void(int volume)> PlaceVolumeKnob;
    std::function<void()> UpApp;
    // Window actions.
    std::function<void()> HideMain;
    std::function<void()> MinimizeMain;
    std::function<void()> RemoveTrayIcon;
    std::function<void()> ExitProgram;
    // Opening a selector's drop-down (PageA 4, 5, 6 with 0, 1, 2).
    std::function<void(int which)> ShowDropDown;
};

class MainLogic : public QObject {
    Q_OBJECT
public:
    MainLogic(platform::MediaPlayer& mmp, QObject* parent = nullptr);
    ~MainLogic() override;

    void SetLyricsView(LyricsView* view) { lrc_ = view; }
    void SetGeometry(const MainGeometry& g) { geo_ = g; }
    const MainGeometry& Geometry() const { return geo_; }
    MainHooks hooks;
    MainControls ui;

    // ---- start-up, settings and shutdown
    // The load handler: the start-up steps in their order. False when the
    // program must end (no skin): the message has been shown.
    bool Form_Load();
    // The skin check: lists the skin folders (sorted by name) and settles
    // CurrentSkin. False (after the message) when there is none.
    bool LoadMenu();
    QStringList SkinFolders;  // captions of the skin menu items

    Bool16 LoadDone = False16;
    QString AppTitle;
    Bool16 IsShown = False16;
    QString AppVersion;
    std::int16_t RowHeight = 25;
    QString CurrentSkin;
    std::filesystem::path NotesDbPath;

    // ---- lists and paging
    GetSongList gsl;  // catalogue, selectors, ListItems, CurPage
    QelDown QelDown1;
    QelDown SongYQDown;

    QString PageText;
    QString FavLinks;
    QString RadioLinks;
    QString PlayListText;
    std::int16_t PlaySource = 0;
    std::int16_t PlayingPeriod = -1;
    std::int16_t PlayingEntry = -1;
    std::int16_t PlayingPage = 0;
    std::int32_t SelIndex = 0;
    std::int16_t FetchKind = 0;
    bool FetchOnSelect = true;
    bool RefillPending = false;
    bool AutoPlay = false;
    std::int16_t RowTop = 2;

    void loadGetSongList(const QString& text);
    void MySongList();
    void radioList();
    void GoPage();
    void OutList();
    void ClearListArea();
    void Play_List();
    void ClickPlay();
    void rdcheck();
    void ReloadPlayList();

    void PHcombo_Click();
    void Combo2_Click();
    void QelDown1_DLComplete(std::int32_t Bytes, std::int16_t Error);
    void PageA_Click(int index);
    // A mouse press on the list picture (pixels); button 1 left, 2 right.
    void Picture1_MouseDown(int button, int x, int y);
    // The page's entry count (rows drawn).
    int PageEntryCount() const;

    // ---- link resolution
    QString LinkCandidates;
    std::int16_t LinkIndex = 0;
    QString LinkSource;
    // Search retries after a failed request, per song (at most kMaxSearchRetries).
    static constexpr int kMaxSearchRetries = 3;
    int SearchRetryMs = 1000;  // between two tries
    int SearchRetries() const { return searchRetries_; }

    void Go_Play();
    void SongYQDown_DLComplete(std::int32_t Bytes, std::int16_t Error);
    void ErrPlayNext_Click();
    // The song-search request for a display text (fresh callback suffix).
    static QString SearchAddress(const QString& host, const QString& displayText);
    static QString SearchQuery(const QString& displayText);
    static QString CallbackSuffix();

    // ---- playback
    std::int16_t PlayIndex = -1;
    QTimer PlayTime;  // the 200 ms watch

    void MMP_Play();
    void PlayNext();
    void PlayLast();
    void PlayStop();
    void PlayS_Click(int Index);
    void PlayTo();
    void playIcoCheck();
    bool YNPlaySong(int isPlayIndex) const;
    bool YNPlaySongPage() const;
    bool YNPlaySongList() const;
    void PlayTime_Timer();

    // The playing song's display text (element PlayIndex of the play list).
    QString PlayingName() const;
    // The song label `Label6` (the lyrics window writes it too).
    void SetLabel6(const QString& text);
    platform::MediaPlayer& Player() { return mmp_; }

    // ---- close and minimise buttons
    void CloseButton();
    void MinimizeButton();

    // The program folder's files used here.
    static std::filesystem::path TmpFile();
    static std::filesystem::path SearchFile();

Q_SIGNALS:
    // Something in `ui` changed (raised once per turn of the event loop).
    void Changed();

private:
    void Touch();
    void SetLabel6AndLyrics(const QString& text);
    void SetLoadLabel(const QString& text, bool visible);
    void StartListFetch(int selection);
    void OnQelDown1Error(std::int32_t code, const QString& text);
    void OnSongYQDownError(std::int32_t code, const QString& text);
    void SearchFailed();
    void Go_PlayInternal();
    void ReadListFile(const std::filesystem::path& file, QString& links, QString& entries) const;
    bool ShowListFile(const std::filesystem::path& file, QString& links);
    int Selection() const { return gsl.PHcombo.ListIndex(); }

    platform::MediaPlayer& mmp_;
    LyricsView* lrc_ = nullptr;
    MainGeometry geo_;
    bool touched_ = false;
    bool reloading_ = false;
    int searchRetries_ = 0;
    QTimer errPlayNext_;
};

// The favourites file: "MySongList.txt" in the program folder, whatever the
// letter case of the name on disk.
std::filesystem::path FavouritesFile();

}  // namespace tavo
