#include "app/list_fetch.h"

#include "app/play_list.h"
#include "app/player_core.h"
#include "app/status_texts.h"
#include "lyrics/lyrics_view.h"
#include "platform/ansi_text.h"
#include "platform/program_folder.h"

#include <stdexcept>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

const QString kChartSongStart = QStringLiteral("checked='checked' name='Checkbox' value='");
const QString kChartSongEnd = QStringLiteral("'>");


}  // namespace

fs::path ListFetcher::TmpFile() { return platform::InProgramFolder("tmp.txt"); }
fs::path ListFetcher::RefillFile() { return platform::InProgramFolder("refill.tmp"); }

ListFetcher::ListFetcher(PlayerCore& core) : c_(core) {
    connect(&QelDown1, &QelDown::DLEnded, this, &ListFetcher::OnListFinished);
    connect(&RefillDown, &QelDown::DLEnded, this, &ListFetcher::OnRefillFinished);
}

void ListFetcher::PHcombo_Click() {
    // The page on its way belongs to the selection before.
    list_.Cancel();
    QelDown1.CancelDownload();
    const int sel = c_.Selection();
    const SourceKind kind = KindOfSource(sel);
    GetSongList& gsl = c_.gsl;
    // The selectors and buttons that belong to the new source.
    c_.ui.playingRow = -1;
    c_.ui.PageACaption[4] = gsl.PHcombo.Text();
    c_.ui.PageAVisible[14] = kind == SourceKind::RadioPlaylist;
    const bool chart = kind == SourceKind::Chart;
    c_.ui.PageAVisible[5] = c_.ui.PageAVisible[6] = chart;
    c_.ui.Combo1Visible = c_.ui.Combo2Visible = chart;
    c_.Touch();
    if (!chart) {
        const bool keep = FetchOnSelect;
        FetchOnSelect = false;  // clearing the chart selectors fetches nothing
        if (gsl.Combo1.ListIndex() != -1) gsl.Combo1.SetListIndex(-1);
        if (gsl.Combo2.ListIndex() != -1) gsl.Combo2.SetListIndex(-1);
        FetchOnSelect = keep;
    }
    // The radio playlist that plays is shown again rather than fetched anew.
    const PlayList& play = c_.playback.play;
    if (play.Kind() == SourceKind::RadioPlaylist && kind == SourceKind::RadioPlaylist && !c_.list.Reloading() && play.Count() > 0) {
        FetchOnSelect = false;
        c_.list.ReloadPlayList();
        return;
    }
    // Fetch the new source's list, or read its list file.
    if (!FetchOnSelect) return;
    if (kind == SourceKind::Favourites) {
        c_.list.MySongList();
    } else if (kind == SourceKind::RadioFile) {
        c_.songLyrics.Clear();
        c_.list.radioList();
    } else if (kind != SourceKind::None) {
        playOnArrival_ = false;
        StartFetch(sel);
    }
}

void ListFetcher::AnotherBatch() {
    playOnArrival_ = true;
    StartFetch(c_.Selection());
}

// A new fetch leaves nothing of the list before it: no rows, no entries to
// page to, no chart periods or entries to choose.
void ListFetcher::StartFetch(int selection) {
    list_.Cancel();
    QelDown1.CancelDownload();
    QString address;
    try {
        address = c_.gsl.SourceAddress(selection);
    } catch (const std::out_of_range&) {
        return;
    }
    c_.gsl.Combo1.Clear();
    c_.gsl.Combo2.Clear();
    c_.gsl.ChartPeriodLinks.clear();
    c_.gsl.ChartEntries.clear();
    c_.list.Clear();
    FetchKind = 0;
    requestSelection_ = selection;
    QelDown1.setRequest(list_.Begin());
    QelDown1.setFileURL(address);
    QelDown1.setSaveFileName(platform::PathToQString(TmpFile()));
    QelDown1.BeginDownload();
    // A fetch that failed to start has already shown its error.
    if (QelDown1.Downloading()) c_.SetLoadLabel(texts::kListBusy, true);
}

void ListFetcher::Combo1_Click() {
    if (FetchKind != 1 || !QelDown1.Downloading() || requestPeriod_ == c_.gsl.Combo1.ListIndex()) return;
    list_.Cancel();
    QelDown1.CancelDownload();
    c_.SetLoadLabel(QString(), false);
}

void ListFetcher::Combo2_Click() {
    const int entry = c_.gsl.Combo2.ListIndex();
    c_.ui.PageACaption[6] = c_.gsl.Combo2.Text();
    c_.Touch();
    if (!FetchOnSelect || entry < 0 || KindOfSource(c_.Selection()) != SourceKind::Chart) return;
    list_.Cancel();
    QelDown1.CancelDownload();
    c_.list.Clear();
    FetchKind = 1;
    requestSelection_ = c_.Selection();
    requestPeriod_ = c_.gsl.Combo1.ListIndex();
    // A link that would leave the chart site is refused: nothing is fetched.
    const QString address = c_.gsl.ChartEntryAddress(entry);
    if (address.isEmpty()) {
        c_.SetLoadLabel(texts::kRefusedLink, true);
        return;
    }
    QelDown1.setRequest(list_.Begin());
    QelDown1.setFileURL(address);
    QelDown1.setSaveFileName(platform::PathToQString(TmpFile()));
    QelDown1.BeginDownload();
    if (QelDown1.Downloading()) c_.SetLoadLabel(texts::kEntryBusy, true);
}

void ListFetcher::OnListFinished(RequestId mine, std::int32_t, std::int16_t error) {
    if (!list_.Answers(mine)) return;
    const fs::path F = TmpFile();
    const int sel = requestSelection_;
    ListView& view = c_.list;
    // A failed download: the error, and no list.
    if (error != 0) {
        c_.SetLoadLabel(texts::kListError, true);
        view.LoadEntries({});
        view.GoPage();
        return;
    }
    bool stillBusy = false;
    bool play = false;
    if (FetchKind == 1) {
        // A chart entry's songs.
        const QString text = c_.gsl.ParseChartSongPage(F, kChartSongStart, kChartSongEnd);
        platform::RemoveFile(F);
        if (!list_.Answers(mine)) return;
        view.loadGetSongList(text);
        view.GoPage();
        play = c_.AutoPlay;
    } else if (KindOfSource(sel) == SourceKind::Chart) {
        // A chart's periods. Choosing the first period chooses its first
        // entry, which fetches that entry's songs.
        GetSongList page;
        page.ParseChartIndex(F);
        platform::RemoveFile(F);
        if (!list_.Answers(mine)) return;
        c_.gsl.ChartPeriodLinks = page.ChartPeriodLinks;
        c_.gsl.Combo1.SetItems(page.Combo1.Items());
        if (c_.gsl.Combo1.ListCount() > 0) c_.gsl.Combo1.SetListIndex(0);
        // The first entry's step (FetchKind 1) has set the busy label to its
        // own state: fetching, refused or failed.
        stillBusy = FetchKind == 1;
    } else if (KindOfSource(sel) == SourceKind::RadioFeed) {
        // A radio feed.
        const QString text = c_.gsl.ParseXmlFeed(F);
        platform::RemoveFile(F);
        if (!list_.Answers(mine)) return;
        view.loadGetSongList(text);
        view.GoPage();
        play = c_.AutoPlay;
    } else if (KindOfSource(sel) == SourceKind::RadioPlaylist) {
        // The radio playlist, with its addresses.
        GetSongList page;
        const QString text = page.ParseJsonPlaylist(F);
        platform::RemoveFile(F);
        if (!list_.Answers(mine)) return;
        c_.gsl.RadioUrls = page.RadioUrls;
        view.loadGetSongList(text);
        view.GoPage();
        play = c_.AutoPlay || playOnArrival_;
        playOnArrival_ = false;
    } else {
        platform::RemoveFile(F);
    }
    // A parse that yields no entry leaves the empty list, not the busy label;
    // a chart index leaves it to its first entry's step.
    if (!stillBusy) c_.SetLoadLabel(c_.ui.LoadLabel, false);
    if (play && view.Count() > 0) {
        c_.AutoPlay = false;
        view.PlayViewed(0);
    }
}

void ListFetcher::Refill(RequestId songTag) {
    RefillDown.CancelDownload();
    refill_.Hold(songTag);
    RefillDown.setRequest(songTag);
    RefillDown.setFileURL(c_.gsl.SourceAddress(2));
    RefillDown.setSaveFileName(platform::PathToQString(RefillFile()));
    RefillDown.BeginDownload();
}

void ListFetcher::CancelRefill() {
    refill_.Cancel();
    RefillDown.CancelDownload();
}

// `mine` is the song tag this batch was asked for: a refill started while
// the page is read below (the user pressed next again) has another.
void ListFetcher::OnRefillFinished(RequestId mine, std::int32_t, std::int16_t error) {
    if (!refill_.Take(mine)) return;
    const fs::path F = RefillFile();
    if (mine != c_.playback.SongTag()) {
        platform::RemoveFile(F);
        return;
    }
    if (error != 0) {
        c_.SetStatus(texts::kListError);
        return;
    }
    GetSongList page;
    PlayList next;
    next.entries = SplitListText(page.ParseJsonPlaylist(F));
    platform::RemoveFile(F);
    if (mine != c_.playback.SongTag()) return;  // the user moved on while it was read
    next.links = page.RadioUrls.mid(0, next.Count());
    next.source = 2;
    if (next.Count() == 0) {
        c_.SetStatus(texts::kNothingPlayable);
        return;
    }
    // Shown only where the playing playlist is what the user looks at.
    const bool shown = KindOfSource(c_.Selection()) == SourceKind::RadioPlaylist && !QelDown1.Downloading();
    if (shown) {
        c_.gsl.RadioUrls = next.links;
        c_.list.LoadEntries(next.entries);
    }
    c_.AutoPlay = false;
    // The play list is set once, by playback; the page follows it.
    c_.playback.PlayNewBatch(std::move(next));
    if (shown) c_.list.GoPage();
}

}  // namespace tavo
