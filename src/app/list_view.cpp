#include "app/list_view.h"

#include "app/list_fetch.h"
#include "app/play_list.h"
#include "app/player_core.h"
#include "app/status_texts.h"
#include "lyrics/lyrics_view.h"

#include <algorithm>

namespace tavo {

int ListView::Count() const { return std::max(0, static_cast<int>(c_.gsl.ListItems.size()) - 1); }

QString ListView::Entry(int i) const { return i >= 0 && i < Count() ? c_.gsl.ListItems[i] : QString(); }

QStringList ListView::Entries() const { return c_.gsl.ListItems.mid(0, Count()); }

QStringList ListView::Links() const {
    switch (KindOfSource(c_.Selection())) {
        case SourceKind::Favourites: return FavLinks;
        case SourceKind::RadioFile: return RadioLinks;
        case SourceKind::RadioPlaylist: return c_.gsl.RadioUrls;
        default: return {};
    }
}

void ListView::loadGetSongList(const QString& text) { LoadEntries(SplitListText(text)); }

void ListView::LoadEntries(const QStringList& entries) {
    QStringList items = entries.mid(0, kMaxListEntries);
    if (!items.isEmpty()) {
        c_.ui.LoadLabelVisible = false;
        c_.Touch();
    }
    items.append(QString());
    c_.gsl.ListItems = std::move(items);
    c_.gsl.CurPage = 0;
}

void ListView::Clear() {
    c_.gsl.ListItems = QStringList{QString()};
    c_.gsl.CurPage = 0;
    GoPage();
}

// The favourites and the radio list alike: the busy label, the file read
// into the viewed list and its links, the first page shown. True when the
// file held at least one entry.
bool ListView::ShowListFile(const ListFile& file, QStringList& links) {
    links = file.links;
    LoadEntries(file.entries);
    GoPage();
    if (file.tooLarge) c_.SetStatus(texts::kListFileTooLarge);
    return !file.entries.isEmpty();
}

// Starting to play when a list arrives. The favourites and the radio list
// leave AutoPlay as it is: the song search clears it once it completes.
void ListView::AutoStart() {
    if (c_.AutoPlay) PlayViewed(0);
}

void ListView::MySongList() {
    FavLinks.clear();
    c_.SetLoadLabel(texts::kListBusy, true);
    if (ShowListFile(ReadListFile(FavouritesFile()), FavLinks)) AutoStart();
    c_.SetLoadLabel(c_.ui.LoadLabel, false);
}

void ListView::radioList() {
    RadioLinks.clear();
    c_.SetLoadLabel(texts::kListBusy, true);
    if (ShowListFile(ReadListFile(RadioFile()), RadioLinks)) AutoStart();
    c_.SetLoadLabel(c_.ui.LoadLabel, false);
}

void ListView::GoPage() {
    const int n = Count();
    const int first = c_.gsl.CurPage * 10;
    PageText.clear();
    for (int i = first; i < std::min(first + 10, n); ++i) PageText.append(c_.gsl.ListItems[i]);
    ClearListArea();
    OutList();
    c_.ui.Label4 = QStringLiteral("%1/%2").arg(c_.gsl.CurPage + 1).arg((n - 1) / 10 + 1);
    c_.Touch();
    c_.playback.playIcoCheck();
    rdcheck();
}

void ListView::OutList() {
    if (PageText.isEmpty()) return;
    c_.ui.rows = PageText;
    c_.Touch();
}

void ListView::ClearListArea() {
    c_.ui.rows.clear();
    c_.Touch();
}

void ListView::Play_List() {
    PlayList& play = c_.playback.play;
    play.entries = Entries();
    play.links = Links().mid(0, Count());
}

void ListView::ClickPlay() {
    PlayList& play = c_.playback.play;
    play.source = static_cast<std::int16_t>(c_.Selection());
    play.period = static_cast<std::int16_t>(c_.gsl.Combo1.ListIndex());
    play.entry = static_cast<std::int16_t>(c_.gsl.Combo2.ListIndex());
    play.page = c_.gsl.CurPage;
    play.chart = play.Kind() == SourceKind::Chart ? ChartSelection{c_.gsl.Combo1.Items(), c_.gsl.ChartPeriodLinks} : ChartSelection{};
}

void ListView::PlayViewed(int index) {
    ClickPlay();
    Play_List();
    c_.playback.StartSong(index);
}

// "Back to the playing list" shows while a song is chosen and the viewed
// page is not its page.
void ListView::rdcheck() {
    c_.ui.PageAVisible[15] = c_.PlayIndex != -1 && !c_.playback.YNPlaySongPage();
    c_.Touch();
}

void ListView::ReloadPlayList() {
    reloading_ = true;
    const PlayList& play = c_.playback.play;
    c_.gsl.ListItems = QStringList{QString()};
    // The selector's change handler runs but fetches nothing (FetchOnSelect
    // is false); the chart selectors get their content back.
    c_.gsl.PHcombo.SetListIndex(play.source);
    if (play.Kind() == SourceKind::Chart) {
        c_.gsl.ChartPeriodLinks = play.chart.periodLinks;
        c_.gsl.Combo1.SetItems(play.chart.periods);
        c_.gsl.Combo1.SetListIndex(play.period);
        c_.gsl.Combo2.SetListIndex(play.entry);
    }
    // The links beside the entries are the playing list's own.
    if (play.Kind() == SourceKind::Favourites) FavLinks = play.links;
    if (play.Kind() == SourceKind::RadioFile) RadioLinks = play.links;
    if (play.Kind() == SourceKind::RadioPlaylist) c_.gsl.RadioUrls = play.links;
    if (play.Count() > 0) {
        c_.gsl.ListItems = play.entries;
        c_.gsl.ListItems.append(QString());
        c_.gsl.CurPage = play.page;
    } else {
        c_.PlayIndex = -1;
    }
    GoPage();
    c_.SetLoadLabel(c_.ui.LoadLabel, false);
    c_.fetch.FetchOnSelect = true;
    reloading_ = false;
}

void ListView::PageA_Click(int index) {
    const int n = Count();
    const int pages = (n - 1) / 10 + 1;
    std::int16_t& page = c_.gsl.CurPage;
    switch (index) {
        case 0:
            page = 0;
            break;
        case 1:
            if (page <= 0) return;
            --page;
            break;
        case 2:
            if (page + 1 >= pages) return;
            ++page;
            break;
        case 3:
            page = static_cast<std::int16_t>((n - 1) / 10);
            break;
        case 15:
            c_.fetch.FetchOnSelect = false;
            ReloadPlayList();
            return;
        default:
            return;
    }
    GoPage();
}

void ListView::PlayRow(int row) {
    if (row < 0 || row >= PageEntryCount()) return;
    c_.ui.playingRow = -1;
    c_.Touch();
    c_.playback.PlayStop();
    PlayViewed(c_.gsl.CurPage * 10 + row);
}

QString ListView::RowMenu(int row) {
    const bool onRow = row >= 0 && row < PageEntryCount();
    QString menu;
    switch (KindOfSource(c_.Selection())) {
        case SourceKind::Favourites:
            menu = onRow ? QStringLiteral("M_MySongRight") : QStringLiteral("M_MySongRightS");
            break;
        case SourceKind::RadioFile:
            menu = QStringLiteral("M_RadioRight");
            break;
        case SourceKind::None:
            break;
        default:
            if (onRow) menu = QStringLiteral("M_RightClick");
            break;
    }
    if (!menu.isEmpty() && onRow) SelIndex = c_.gsl.CurPage * 10 + row;
    return menu;
}

}  // namespace tavo
