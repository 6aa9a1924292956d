#pragma once
// Fetching lists: the source selector's and the chart entry selector's
// handlers, the list download `QelDown1` and its completion, "another
// batch" (PageA 14), and the radio playlist's next batch fetched in the
// background while it plays.
//
// Every fetch is a request (platform/request_slot.h) and its download
// carries the request's identity; every selection replaces or cancels the
// request before it. Parsing a page lets pending events run, so the user may
// choose another source meanwhile: a page whose request is no longer the
// current one is dropped without a trace, and the parsers work on a scratch
// GetSongList so that the chart selectors and the radio addresses change
// only for a page that counts. The radio playlist's next batch is asked for
// with the song tag of the song that ended, and dropped when another song
// has started since.

#include "download/qel_down.h"
#include "platform/request_slot.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <filesystem>

namespace tavo {

class PlayerCore;
class Selector;

class ListFetcher : public QObject {
    Q_OBJECT
public:
    explicit ListFetcher(PlayerCore& core);

    QelDown QelDown1;    // the viewed list's pages and feeds
    QelDown RefillDown;  // the playing radio playlist's next batch
    std::int16_t FetchKind = 0;  // 0 a source's page or feed, 1 a chart entry's songs
    bool FetchOnSelect = true;   // a selection starts a load (false while going back to the playing list)

    void PHcombo_Click();
    void Combo2_Click();
    // PageA(14): another batch of the radio playlist, played from its first song.
    void AnotherBatch();
    // A period was chosen. The catalogue has filled the entries by now and a
    // period with entries has started its first entry's fetch; an entry page
    // still on its way for another period is dropped.
    void Combo1_Click();
    // The playing radio playlist's next batch, for the song `songTag` of
    // Playback (dropped when another song has started or playback stopped).
    // Only the play list and its addresses change; the viewed rows only
    // when they show that playlist.
    void Refill(RequestId songTag);
    void CancelRefill();
    // The next batch of the playing radio playlist is on its way.
    bool RefillPending() const { return refill_.Pending(); }

    // The download targets in the program folder.
    static std::filesystem::path TmpFile();
    static std::filesystem::path RefillFile();

private:
    void StartFetch(int selection);
    void OnListFinished(RequestId request, std::int32_t bytes, std::int16_t error);
    void OnRefillFinished(RequestId request, std::int32_t bytes, std::int16_t error);

    PlayerCore& c_;
    RequestSlot list_;    // the viewed list's fetch
    RequestSlot refill_;  // the next batch, keyed to the song tag it was asked for
    int requestSelection_ = -1;
    int requestPeriod_ = -1;  // the period of an entry page on its way
    bool playOnArrival_ = false;
};

}  // namespace tavo
