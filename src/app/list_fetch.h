#pragma once
// Fetching lists: the source selector's and the chart entry selector's
// handlers, the list download `QelDown1` and its completion, "another
// batch" (PageA 14), and the radio playlist's next batch fetched in the
// background while it plays.
//
// Every selection and every fetch bumps a generation. Parsing a page lets
// pending events run, so the user may choose another source meanwhile: a
// page whose generation is no longer the current one is dropped without a
// trace, and the parsers work on a scratch GetSongList so that the chart
// selectors and the radio addresses change only for a page that counts.

#include "download/qel_down.h"

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
    bool RefillPending = false;  // the next batch of the playing radio playlist is on its way

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
    void Refill(std::uint64_t songTag);
    void CancelRefill();

    // The download targets in the program folder.
    static std::filesystem::path TmpFile();
    static std::filesystem::path RefillFile();

private:
    void StartFetch(int selection);
    void OnListFinished(std::int32_t bytes, std::int16_t error);
    void OnRefillFinished(std::int32_t bytes, std::int16_t error);
    bool Stale(std::uint64_t generation) const { return generation != generation_; }

    PlayerCore& c_;
    std::uint64_t generation_ = 0;
    std::uint64_t requestGeneration_ = 0;  // what the download in QelDown1 was made for
    int requestSelection_ = -1;
    int requestPeriod_ = -1;  // the period of an entry page on its way
    bool playOnArrival_ = false;
    std::uint64_t refillTag_ = 0;
};

}  // namespace tavo
