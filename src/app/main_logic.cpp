#include "app/main_logic.h"

#include "calendar/notes_store.h"

#include "lyrics/lyric_timing.h"
#include "lyrics/lyrics_view.h"
#include "platform/ansi_text.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "sources/services.h"
#include "sources/text_codecs.h"

#include <QDate>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;
using platform::MediaPlayer;

namespace {

const QString kListBusy = QStringLiteral("正在获取列表，请稍后...");
const QString kEntryBusy = QStringLiteral("正在获取列表，请稍后......");
const QString kListError = QStringLiteral("获取列表出错，无法连接服务器");
const QString kSearching = QStringLiteral(" 正在获取链接...");
const QString kNoLink = QStringLiteral("无法获取歌曲链接。");
const QString kNoLocalLink = QStringLiteral("本地无歌曲链接，使用网络链接...");
const QString kNoNetLink = QStringLiteral("网络无法获取链接，转向下一首...");
const QString kPlayingPrefix = QStringLiteral("正在播放：");
const QString kChartSongStart = QStringLiteral("checked='checked' name='Checkbox' value='");
const QString kChartSongEnd = QStringLiteral("'>");
const QString kConfig = QStringLiteral("Config");

// Element i of a "{@}"-separated text; empty outside it.
QString Element(const QString& text, int i) {
    const QStringList parts = text.split(kEntrySep);
    return i >= 0 && i < parts.size() ? parts[i] : QString();
}

int PartCount(const QString& text) { return static_cast<int>(text.split(kEntrySep).size()); }

long long ConfigNumber(const QString& key) {
    return platform::SettingNumber(platform::Settings().GetSetting(kAppTitle, kConfig, key));
}

void RemoveFile(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
}

void Call(const std::function<void()>& f) {
    if (f) f();
}

}  // namespace

fs::path FavouritesFile() {
    const fs::path exact = platform::InProgramFolder("MySongList.txt");
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    for (const auto& entry : fs::directory_iterator(platform::ProgramFolder(), ec)) {
        const QString name = platform::PathToQString(entry.path().filename());
        if (name.compare(QStringLiteral("MySongList.txt"), Qt::CaseInsensitive) == 0) return entry.path();
    }
    return exact;
}

fs::path MainLogic::TmpFile() { return platform::InProgramFolder("tmp.txt"); }
fs::path MainLogic::SearchFile() { return platform::InProgramFolder("YQ.txt"); }

MainLogic::MainLogic(MediaPlayer& mmp, QObject* parent) : QObject(parent), mmp_(mmp) {
    setObjectName(QStringLiteral("mainLogic"));
    PlayTime.setInterval(200);
    connect(&PlayTime, &QTimer::timeout, this, &MainLogic::PlayTime_Timer);
    errPlayNext_.setSingleShot(true);
    connect(&errPlayNext_, &QTimer::timeout, this, &MainLogic::ErrPlayNext_Click);

    connect(&gsl.PHcombo, &Selector::ListIndexChanged, this, [this](int) { PHcombo_Click(); });
    connect(&gsl.Combo2, &Selector::ListIndexChanged, this, [this](int) { Combo2_Click(); });
    connect(&QelDown1, &QelDown::DLComplete, this, &MainLogic::QelDown1_DLComplete);
    connect(&QelDown1, &QelDown::DLError, this, &MainLogic::OnQelDown1Error);
    connect(&SongYQDown, &QelDown::DLComplete, this, &MainLogic::SongYQDown_DLComplete);
    connect(&SongYQDown, &QelDown::DLError, this, &MainLogic::OnSongYQDownError);
}

MainLogic::~MainLogic() = default;

void MainLogic::Touch() {
    if (touched_) return;
    touched_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            touched_ = false;
            Q_EMIT Changed();
        },
        Qt::QueuedConnection);
}

void MainLogic::SetLabel6(const QString& text) {
    ui.Label6 = text;
    Touch();
}

void MainLogic::SetLabel6AndLyrics(const QString& text) {
    SetLabel6(text);
    if (lrc_) lrc_->SetLabel1Text(text);
}

void MainLogic::SetLoadLabel(const QString& text, bool visible) {
    ui.LoadLabel = text;
    ui.LoadLabelVisible = visible;
    Touch();
}

QString MainLogic::PlayingName() const { return Element(PlayListText, PlayIndex); }

// ---------------------------------------------------------------- start-up

bool MainLogic::Form_Load() {
    // 1.
    AppVersion = QStringLiteral("1.0");
    // 2.
    Call(hooks.ShowSplash);
    // 3.
    AppTitle = kAppTitle;
    ui.Label3 = AppTitle;
    LinkSource = QStringLiteral("SeekUp");
    PlayIndex = -1;
    // 4.
    // The notes database is opened on demand; an empty one is made on first start.
    InitNotesDbPath();
    NotesDbPath = tavo::NotesDbPath;
    // 5.
    Call(hooks.SetDefaultSkinColours);
    CurrentSkin = platform::Settings().GetSetting(AppTitle, QStringLiteral("Skin"), QStringLiteral("name"));
    // 6.
    if (!LoadMenu()) return false;
    if (hooks.FillSkinMenu) hooks.FillSkinMenu(SkinFolders);
    Call(hooks.ApplySkin);
    // 7.
    RowTop = 2;
    RowHeight = static_cast<std::int16_t>(geo_.listHeight / 10);
    // 8.
    PageText.clear();
    OutList();
    // 9.
    ui.YMlabel = QDate::currentDate().toString(QStringLiteral("yyyy.MM"));
    LoadDone = True16;
    // 10.
    Call(hooks.StartFadeTimer);
    // 11.
    gsl.ChartSiteBase = Services().chartSite;
    gsl.BuildSourceCatalogue();
    // 12.
    const bool closeQuits = ConfigNumber(QStringLiteral("isClose")) != 0;
    AutoPlay = ConfigNumber(QStringLiteral("isRunPlay")) != 0;
    if (hooks.SetTrayChecks) hooks.SetTrayChecks(closeQuits, AutoPlay);
    // 13. A stored index outside the selector (a damaged setting) is taken
    // as the default.
    const long long stored = ConfigNumber(QStringLiteral("isPlayListIndex"));
    int index = stored == 0 ? 2 : static_cast<int>(std::clamp<long long>(stored - 1, -1, 1 << 20));
    if (index < 0 || index >= gsl.PHcombo.ListCount()) index = 2;
    gsl.PHcombo.SetListIndex(index);
    // 14.
    if (hooks.PlaceVolumeKnob) hooks.PlaceVolumeKnob(mmp_.settings().volume());
    Call(hooks.UpApp);
    Touch();
    return true;
}

bool MainLogic::LoadMenu() {
    const fs::path skinRoot = platform::InProgramFolder("skin");
    const QString message = QStringLiteral("缺少必须的皮肤文件，无法运行。请到 ") + Services().makerSite +
                            QStringLiteral("下载重新安装。");
    std::error_code ec;
    SkinFolders.clear();
    if (!fs::is_directory(skinRoot, ec)) {
        platform::Messages().Show(message, QStringLiteral("缺少皮肤"), platform::MsgButtons::Ok,
                                  platform::MsgIcon::Exclamation);
        return false;
    }
    for (const auto& entry : fs::directory_iterator(skinRoot, ec)) {
        std::error_code e2;
        if (entry.is_directory(e2)) SkinFolders.append(platform::PathToQString(entry.path().filename()));
    }
    std::sort(SkinFolders.begin(), SkinFolders.end());
    if (SkinFolders.isEmpty()) {
        platform::Messages().Show(message, QStringLiteral("缺少皮肤"), platform::MsgButtons::Ok,
                                  platform::MsgIcon::Exclamation);
        return false;
    }
    if (CurrentSkin.isEmpty() || !SkinFolders.contains(CurrentSkin))
        CurrentSkin = SkinFolders.contains(kDefaultSkin) ? kDefaultSkin : SkinFolders.first();
    return true;
}

void MainLogic::CloseButton() {
    if (ConfigNumber(QStringLiteral("isClose")) == 0) {
        Call(hooks.HideMain);
        IsShown = False16;
        return;
    }
    const auto answer = platform::Messages().Show(QStringLiteral("确定要退出") + AppTitle + QStringLiteral("？"),
                                                  QString(), platform::MsgButtons::OkCancel,
                                                  platform::MsgIcon::Question);
    if (answer != platform::MsgResult::Ok) return;
    Call(hooks.RemoveTrayIcon);
    Call(hooks.ExitProgram);
}

void MainLogic::MinimizeButton() { Call(hooks.MinimizeMain); }

// ---------------------------------------------------------------- lists

void MainLogic::loadGetSongList(const QString& text) {
    if (text.contains(kEntrySep)) {
        gsl.ListItems = text.split(kEntrySep);
        ui.LoadLabelVisible = false;
        Touch();
    } else {
        gsl.ListItems = QStringList{QString()};
    }
    gsl.CurPage = 0;
}

// One list file: every line trimmed, empty ones skipped, then split at
// "<|>" into entry and link. A line without "<|>" is an entry with an empty
// link; "{@}" (the list separator) cannot be part of either.
void MainLogic::ReadListFile(const fs::path& file, QString& links, QString& entries) const {
    const auto lines = platform::ReadTextLines(file);
    if (!lines) return;
    for (const QString& raw : *lines) {
        const QString line = TrimSpaces(raw);
        if (line.isEmpty()) continue;
        const qsizetype sep = line.indexOf(QStringLiteral("<|>"));
        QString entry = sep < 0 ? line : line.left(sep);
        QString link = sep < 0 ? QString() : line.mid(sep + 3);
        const qsizetype next = link.indexOf(QStringLiteral("<|>"));
        if (next >= 0) link.truncate(next);
        entry.remove(kEntrySep);
        link.remove(kEntrySep);
        entries += entry + kEntrySep;
        links += link + kEntrySep;
    }
}

// The favourites and the radio list alike: the busy label, the file read
// into the viewed list and its links, the first page shown. True when the
// file held at least one entry.
bool MainLogic::ShowListFile(const fs::path& file, QString& links) {
    links.clear();
    SetLoadLabel(kListBusy, true);
    QString entries;
    ReadListFile(file, links, entries);
    const bool any = entries.contains(kEntrySep);
    if (any) {
        gsl.ListItems = entries.split(kEntrySep);
        gsl.CurPage = 0;
    } else {
        gsl.ListItems = QStringList{QString()};
    }
    GoPage();
    return any;
}

void MainLogic::MySongList() {
    if (ShowListFile(FavouritesFile(), FavLinks) && AutoPlay) {
        Play_List();
        PlayIndex = 0;
        Go_Play();
    }
    ui.LoadLabelVisible = false;
    Touch();
}

void MainLogic::radioList() {
    if (ShowListFile(platform::InProgramFolder("radio.txt"), RadioLinks) && AutoPlay) {
        PlayIndex = 0;
        Play_List();
        ClickPlay();
        MMP_Play();
    }
    ui.LoadLabelVisible = false;
    Touch();
}

void MainLogic::GoPage() {
    PageText.clear();
    const int upper = static_cast<int>(gsl.ListItems.size()) - 1;
    for (int i = gsl.CurPage * 10; i <= gsl.CurPage * 10 + 9; ++i) {
        if (i >= upper) break;
        PageText += gsl.ListItems[i] + kEntrySep;
    }
    ClearListArea();
    OutList();
    const int pages = (upper - 1) / 10 + 1;
    ui.Label4 = QStringLiteral("%1/%2").arg(gsl.CurPage + 1).arg(pages);
    Touch();
    playIcoCheck();
    rdcheck();
}

void MainLogic::OutList() {
    if (PageText.isEmpty()) return;
    QStringList rows = PageText.split(kEntrySep);
    rows.removeLast();
    ui.rows = rows;
    Touch();
}

void MainLogic::ClearListArea() {
    ui.rows.clear();
    Touch();
}

int MainLogic::PageEntryCount() const {
    return PageText.isEmpty() ? 0 : static_cast<int>(PageText.split(kEntrySep).size()) - 1;
}

void MainLogic::Play_List() {
    PlayListText.clear();
    for (qsizetype i = 0; i + 1 < gsl.ListItems.size(); ++i) PlayListText += gsl.ListItems[i] + kEntrySep;
}

void MainLogic::ClickPlay() {
    PlaySource = static_cast<std::int16_t>(Selection());
    PlayingPeriod = static_cast<std::int16_t>(gsl.Combo1.ListIndex());
    PlayingEntry = static_cast<std::int16_t>(gsl.Combo2.ListIndex());
    PlayingPage = gsl.CurPage;
}

void MainLogic::rdcheck() {
    ui.PageAVisible[15] = PlayIndex != -1 &&
                          (gsl.CurPage != PlayingPage || gsl.Combo2.ListIndex() != PlayingEntry ||
                           gsl.Combo1.ListIndex() != PlayingPeriod || Selection() != PlaySource);
    Touch();
}

void MainLogic::ReloadPlayList() {
    reloading_ = true;
    gsl.ListItems = QStringList{QString()};
    gsl.PHcombo.SetListIndex(PlaySource);
    if (PlaySource > 2) {
        gsl.Combo1.SetListIndex(PlayingPeriod);
        gsl.Combo2.SetListIndex(PlayingEntry);
    }
    if (PlayListText.contains(kEntrySep)) {
        gsl.ListItems = PlayListText.split(kEntrySep);
        gsl.CurPage = PlayingPage;
    } else {
        PlayIndex = -1;
    }
    GoPage();
    FetchOnSelect = true;
    reloading_ = false;
}

void MainLogic::StartListFetch(int selection) {
    QelDown1.CancelDownload();
    QString address;
    try {
        address = gsl.SourceAddress(selection);
    } catch (const std::out_of_range&) {
        return;
    }
    QelDown1.setFileURL(address);
    QelDown1.setSaveFileName(platform::PathToQString(TmpFile()));
    FetchKind = 0;
    QelDown1.BeginDownload();
}

void MainLogic::PHcombo_Click() {
    const int sel = Selection();
    // 1.
    ui.PlayIcoVisible = false;
    ui.PageACaption[4] = gsl.PHcombo.Text();
    // 2.
    ui.PageAVisible[14] = sel == 2;
    // 3.
    const bool chart = sel >= 5;
    ui.PageAVisible[5] = ui.PageAVisible[6] = chart;
    ui.Combo1Visible = ui.Combo2Visible = chart;
    Touch();
    if (!chart) {
        const bool keep = FetchOnSelect;
        FetchOnSelect = false;  // clearing the chart selectors fetches nothing
        if (gsl.Combo1.ListIndex() != -1) gsl.Combo1.SetListIndex(-1);
        if (gsl.Combo2.ListIndex() != -1) gsl.Combo2.SetListIndex(-1);
        FetchOnSelect = keep;
    }
    // 5. The JSON playlist that plays is shown again rather than fetched anew
    // (only when there is a play list to show).
    if (PlaySource == 2 && sel == 2 && !reloading_ && PlayListText.contains(kEntrySep)) {
        FetchOnSelect = false;
        ReloadPlayList();
        return;
    }
    // 6.
    if (!FetchOnSelect) return;
    if (sel >= 2) {
        if (AutoPlay) PlaySource = static_cast<std::int16_t>(sel);
        // This fetch replaces a pending radio playlist refill, whose
        // completion would otherwise take this page for the playlist.
        RefillPending = false;
        StartListFetch(sel);
        PageText.clear();
        FetchKind = 0;
        ClearListArea();
        // A fetch that failed to start has already shown its error.
        if (QelDown1.Downloading()) SetLoadLabel(kListBusy, true);
    } else {
        // A list still on its way would replace the local list when it
        // arrives (a radio playlist refill goes on: it only plays).
        if (!RefillPending) QelDown1.CancelDownload();
        if (sel == 0) MySongList();
        if (sel == 1) {
            if (lrc_) lrc_->ClearLines();
            radioList();
        }
    }
}

void MainLogic::Combo2_Click() {
    ui.PageACaption[6] = gsl.Combo2.Text();
    Touch();
    if (!FetchOnSelect || gsl.Combo2.ListIndex() < 0) return;
    QelDown1.CancelDownload();
    FetchKind = 1;
    QelDown1.setFileURL(gsl.ChartEntryAddress(gsl.Combo2.ListIndex()));
    QelDown1.setSaveFileName(platform::PathToQString(TmpFile()));
    QelDown1.BeginDownload();
    ClearListArea();
    if (QelDown1.Downloading()) SetLoadLabel(kEntryBusy, true);
}

// A list download that ends in an error without a completion (redirect,
// failed read, file not written) is the failed completion.
void MainLogic::OnQelDown1Error(std::int32_t code, const QString&) {
    if (code == kDLStartFailed || code == kDLZeroBytes) return;  // a completion follows
    QelDown1_DLComplete(0, static_cast<std::int16_t>(code));
}

void MainLogic::QelDown1_DLComplete(std::int32_t, std::int16_t Error) {
    const fs::path F = TmpFile();
    // 1.
    if (Error != 0) {
        SetLoadLabel(kListError, true);
        loadGetSongList(QString());
        GoPage();
        return;
    }
    const int sel = Selection();
    bool entryFetchStarted = false;
    if (FetchKind == 0) {
        // 2.1 The JSON radio playlist goes on with a new batch.
        if (PlaySource == 2 && RefillPending) {
            loadGetSongList(gsl.ParseJsonPlaylist(F));
            if (sel == 2) GoPage();
            RemoveFile(F);
            PlayIndex = 0;
            Play_List();
            MMP_Play();
            AutoPlay = RefillPending = false;
            return;
        }
        if (sel > 4) {
            // 2.2 Filling the periods selects the first period and entry,
            // which fetches that entry's songs.
            FetchKind = 0;
            gsl.ParseChartIndex(F);
            RemoveFile(F);
            entryFetchStarted = FetchKind == 1 && QelDown1.Downloading();
        } else if (sel == 3 || sel == 4) {
            loadGetSongList(gsl.ParseXmlFeed(F));
            GoPage();
            RemoveFile(F);
            if (AutoPlay) {
                PlayIndex = 0;
                ClickPlay();
                Play_List();
                Go_Play();
            }
        } else if (sel == 2) {
            loadGetSongList(gsl.ParseJsonPlaylist(F));
            GoPage();
            RemoveFile(F);
            if (AutoPlay || RefillPending) {
                ClickPlay();
                PlayIndex = 0;
                Play_List();
                MMP_Play();
                AutoPlay = RefillPending = false;
            }
        } else {
            RemoveFile(F);
        }
    } else {
        // 3.
        loadGetSongList(gsl.ParseChartSongPage(F, kChartSongStart, kChartSongEnd));
        GoPage();
        RemoveFile(F);
        if (AutoPlay) {
            PlayIndex = 0;
            ClickPlay();
            Play_List();
            Go_Play();
        }
    }
    // A parse that yields no entry leaves the empty list, not the busy label;
    // a chart index keeps it while its first entry's songs are fetched.
    if (!entryFetchStarted) ui.LoadLabelVisible = false;
    Touch();
}

void MainLogic::PageA_Click(int index) {
    const int upper = static_cast<int>(gsl.ListItems.size()) - 1;
    const int pages = (upper - 1) / 10 + 1;
    switch (index) {
        case 0:
            gsl.CurPage = 0;
            GoPage();
            break;
        case 1:
            if (gsl.CurPage > 0) {
                --gsl.CurPage;
                GoPage();
            }
            break;
        case 2:
            if (gsl.CurPage + 1 < pages) {
                ++gsl.CurPage;
                GoPage();
            }
            break;
        case 3:
            gsl.CurPage = static_cast<std::int16_t>((upper - 1) / 10);
            GoPage();
            break;
        case 4:
        case 5:
        case 6:
            if (hooks.ShowDropDown) hooks.ShowDropDown(index - 4);
            break;
        case 7:
            CloseButton();
            break;
        case 8:
            MinimizeButton();
            break;
        case 14:
            RefillPending = true;
            StartListFetch(Selection());
            break;
        case 15:
            FetchOnSelect = false;
            ReloadPlayList();
            break;
        default:
            break;  // settings menu and calendar strip: elsewhere
    }
}

void MainLogic::Picture1_MouseDown(int button, int x, int y) {
    const int entries = PageEntryCount();
    if (RowHeight <= 0) return;
    const bool onRow = x > 0 && x < geo_.listWidth && y > 0 && y < entries * RowHeight;
    if (!onRow) return;
    const int row = y / RowHeight;
    const int listIndex = gsl.CurPage * 10 + row;
    const int sel = Selection();
    if (button == 1) {
        ui.PlayIcoVisible = false;
        Touch();
        PlayIndex = static_cast<std::int16_t>(listIndex);
        PlayStop();
        ClickPlay();
        Play_List();
        if (PlaySource == 1 || PlaySource == 2)
            MMP_Play();
        else
            Go_Play();
    } else if (button == 2) {
        // The pop-up menus belong to the tray window; the row is remembered
        // for their commands.
        if (sel >= 2 || sel == 0) SelIndex = listIndex;
    }
}

// ---------------------------------------------------------------- links

QString MainLogic::SearchQuery(const QString& displayText) {
    QString q = displayText;
    q.replace(kTitleArtistSep, QStringLiteral("+"));
    q.replace(QLatin1Char('_'), QLatin1Char('+'));
    q.replace(QLatin1Char('-'), QLatin1Char('+'));
    return UrlEncodeUtf8(q);
}

// "1", six decimals of one random number, six of another: 13 digits. The
// decimals are truncated, so a number close to 1 never carries into a
// seventh digit.
QString MainLogic::CallbackSuffix() {
    auto six = [] {
        const double a = QRandomGenerator::global()->generateDouble();
        const int v = std::clamp(static_cast<int>(std::floor(a * 1e6)), 0, 999999);
        return QStringLiteral("%1").arg(v, 6, 10, QLatin1Char('0'));
    };
    const QString a = six();
    return QStringLiteral("1") + a + six();
}

QString MainLogic::SearchAddress(const QString& host, const QString& displayText) {
    return host + QStringLiteral("/api/links?query=") + SearchQuery(displayText) +
           QStringLiteral("&jsoncallback=jsonp") + CallbackSuffix();
}

void MainLogic::Go_Play() {
    searchRetries_ = 0;
    errPlayNext_.stop();
    Go_PlayInternal();
}

void MainLogic::Go_PlayInternal() {
    SetLabel6AndLyrics(kSearching);
    const QString address = SearchAddress(Services().songSearch, PlayingName());
    RemoveFile(SearchFile());
    SongYQDown.CancelDownload();
    SongYQDown.setFileURL(address);
    SongYQDown.setSaveFileName(platform::PathToQString(SearchFile()));
    SongYQDown.BeginDownload();
}

void MainLogic::OnSongYQDownError(std::int32_t code, const QString&) {
    if (code == kDLStartFailed || code == kDLZeroBytes) return;  // a completion follows
    SongYQDown_DLComplete(0, static_cast<std::int16_t>(code));
}

// A search that failed and played no stored link: tried again a second
// later, at most three times, then the next song.
void MainLogic::SearchFailed() {
    SetLabel6AndLyrics(kNoLink);
    if (searchRetries_ < kMaxSearchRetries) {
        ++searchRetries_;
        errPlayNext_.start(SearchRetryMs);
        return;
    }
    searchRetries_ = 0;
    PlayNext();
}

void MainLogic::SongYQDown_DLComplete(std::int32_t, std::int16_t Error) {
    const int sel = Selection();
    if (Error != 0) {
        bool played = false;
        if (sel == 0) {
            const QString link = Element(FavLinks, PlayIndex);
            LinkCandidates = link + kEntrySep;
            if (!link.isEmpty()) {
                LinkIndex = 0;
                MMP_Play();
                played = true;
            }
        }
        if (!played) SearchFailed();
    } else if (LinkSource == QStringLiteral("SeekUp")) {
        searchRetries_ = 0;
        const QString reply = platform::ReadTextJoined(SearchFile());
        LinkCandidates = CutBetween(reply, QStringLiteral("\"url\":\""), QStringLiteral("\",\""));
        LinkCandidates.remove(QLatin1Char('"'));
        if (PlaySource == 0) {
            const QString stored = TrimSpaces(Element(FavLinks, PlayIndex));
            if (!stored.isEmpty())
                LinkCandidates = stored + kEntrySep + LinkCandidates;
            else
                SetLabel6AndLyrics(kNoLocalLink);
        }
        if (LinkCandidates.indexOf(kEntrySep) < 1) {
            SetLabel6AndLyrics(kNoNetLink);
            AutoPlay = false;
            RemoveFile(SearchFile());
            PlayNext();
            return;
        }
        LinkIndex = 0;
        if (AutoPlay) {
            ClickPlay();
            Play_List();
        }
        MMP_Play();
    }
    AutoPlay = false;
    RemoveFile(SearchFile());
}

void MainLogic::ErrPlayNext_Click() {
    PlayTime.stop();
    PlayTo();
    Go_PlayInternal();
}

// ---------------------------------------------------------------- playback

void MainLogic::MMP_Play() {
    QString url;
    if (PlaySource == 1)
        url = Element(RadioLinks, PlayIndex);
    else if (PlaySource == 2)
        url = PlayIndex >= 0 && PlayIndex < gsl.RadioUrls.size() ? gsl.RadioUrls[PlayIndex] : QString();
    else
        url = Element(LinkCandidates, LinkIndex);
    mmp_.setURL(url);
    if (PlaySource != 1 && lrc_) lrc_->DownLrcBegin();
    mmp_.controls().play();
    ui.PlayIcoTop = (PlayIndex % 10) * RowHeight + geo_.listTop + 2;
    ui.PlaySVisible[0] = false;
    if (lrc_) lrc_->SetPlayGlyph(true);
    ui.Label6ToolTip = kPlayingPrefix + PlayingName();
    if (lrc_) {
        lrc_->SetLabel1Text(ui.Label6);
        lrc_->SetSongToolTip(ui.Label6ToolTip);
    }
    Touch();
    PlayTime.start();
    playIcoCheck();
}

void MainLogic::PlayStop() {
    mmp_.controls().stop();
    ui.PlaySVisible[0] = true;
    if (lrc_) lrc_->SetPlayGlyph(false);
    PlayTime.stop();
    ui.Label6.clear();
    if (lrc_) lrc_->SetLabel1Text(QString());
    ui.socl.clear();
    ui.progressWidth = 0;
    ui.PlayIcoVisible = false;
    Touch();
}

void MainLogic::PlayNext() {
    PlayStop();
    const int last = PartCount(PlayListText) - 2;
    if (PlayIndex < last) {
        ++PlayIndex;
        if (PlaySource == 1 || PlaySource == 2)
            MMP_Play();
        else
            Go_Play();
        return;
    }
    if (PlaySource == 2) {
        RefillPending = true;
        StartListFetch(2);
        FetchKind = 0;
        PageText.clear();
    } else if (PlaySource == 0 || PlaySource > 2) {
        PlayIndex = 0;
        gsl.CurPage = 0;
        PlayTime.stop();
        Go_Play();
    }
}

void MainLogic::PlayLast() {
    PlayStop();
    if (PlayIndex > 0) {
        --PlayIndex;
        if (PlaySource == 1 || PlaySource == 2)
            MMP_Play();
        else
            Go_Play();
    }
}

void MainLogic::PlayS_Click(int Index) {
    switch (Index) {
        case 0:
            if (PlayIndex > -1) {
                mmp_.controls().play();
                ui.PlaySVisible[0] = false;
                PlayTime.start();
                ui.PlayIcoVisible = true;
                if (lrc_) lrc_->SetPlayGlyph(true);
            }
            break;
        case 1:
            PlayStop();
            break;
        case 2:
            PlayLast();
            break;
        case 3:
            PlayNext();
            break;
        case 4:
            mmp_.controls().pause();
            ui.PlaySVisible[0] = true;
            PlayTime.stop();
            if (lrc_) lrc_->SetPlayGlyph(false);
            break;
        case 5:
            ui.PlaySVisible[5] = false;
            ui.PlaySVisible[6] = true;
            mmp_.settings().setMute(true);
            if (lrc_) lrc_->SetMuteGlyph(true);
            break;
        case 6:
            ui.PlaySVisible[6] = false;
            ui.PlaySVisible[5] = true;
            mmp_.settings().setMute(false);
            if (lrc_) lrc_->SetMuteGlyph(false);
            break;
        default:
            break;
    }
    Touch();
}

void MainLogic::PlayTo() {
    if (PlayIndex > 0) {
        gsl.CurPage = PlayingPage = static_cast<std::int16_t>(PlayIndex / 10);
        if (YNPlaySongList()) GoPage();
    }
    rdcheck();
}

bool MainLogic::YNPlaySongPage() const {
    return gsl.CurPage == PlayingPage && YNPlaySongList();
}

bool MainLogic::YNPlaySongList() const {
    return gsl.Combo1.ListIndex() == PlayingPeriod && gsl.Combo2.ListIndex() == PlayingEntry &&
           Selection() == PlaySource;
}

bool MainLogic::YNPlaySong(int isPlayIndex) const { return YNPlaySongPage() && isPlayIndex == PlayIndex; }

void MainLogic::playIcoCheck() {
    ui.PlayIcoVisible = PlayIndex >= 0 && YNPlaySongPage();
    Touch();
}

void MainLogic::PlayTime_Timer() {
    const int state = mmp_.playState();
    const QString name = PlayingName();
    if (state == platform::kPlayPlaying) {
        const double duration = mmp_.currentMedia().duration();
        const double position = mmp_.controls().currentPosition();
        if (PlaySource != 1) {
            const double w = geo_.trackWidth / (duration + 1) * position;
            ui.progressWidth = std::isfinite(w) ? std::clamp(static_cast<int>(w), 0, geo_.trackWidth) : 0;
        }
        const QString posText = mmp_.controls().currentPositionString();
        ui.socl = QStringLiteral(" ") + posText + QStringLiteral(" / ") + mmp_.currentMedia().durationString() +
                  QStringLiteral("  ");
        if (PlaySource == 1) {
            SetLabel6AndLyrics(QStringLiteral(" ") + kPlayingPrefix + name);
        } else if (lrc_ && !lrc_->list1().isEmpty()) {
            const QStringList& lines = lrc_->list1();
            const int k = ListIdx(lines, posText, static_cast<int>(lines.size()));
            if (k != -1) {
                const QString text = LyricLineText(lines[k]);
                SetLabel6AndLyrics(text.isEmpty() ? kPlayingPrefix + name : text);
            }
        } else {
            SetLabel6AndLyrics(QStringLiteral(" ") + kPlayingPrefix + name);
        }
    } else {
        SetLabel6AndLyrics(QStringLiteral(" ") + mmp_.status() + QStringLiteral("  "));
    }
    Touch();
    // Failure watch: the next candidate, then the next song. A tick that
    // moved on does not also take the stop it caused for an end of song.
    if ((state == platform::kPlayUndefined || state == platform::kPlayWaiting || state == platform::kPlayReady) &&
        (PlaySource == 0 || PlaySource > 2)) {
        if (LinkIndex < PartCount(LinkCandidates) - 2) {
            ++LinkIndex;
            MMP_Play();
        } else {
            PlayNext();
        }
        return;
    }
    if (PlaySource != 1 && mmp_.playState() == platform::kPlayStopped) PlayNext();
}

}  // namespace tavo
