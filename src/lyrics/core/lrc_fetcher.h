#pragma once
// The lyrics fetch: asks the lyrics service for one song's lyrics through
// its own download control `LrcDown`, and puts the lyric lines (`list1`) of
// the reply into the lyrics model.
//
// Only the newest fetch counts, and only while its song still plays: a
// reply that arrives after another fetch began, after the lines were
// cleared or the fetch cancelled, or after the player stopped, gave the
// song up or moved to another one (one without lyrics, such as a radio
// station) is dropped and changes nothing. A fetch is keyed to the song
// tag that playback gives every start and every stop, not to the song's
// name: the same song stopped and started again is another song here. The
// download carries the tag as its request identity.

#include "download/qel_down.h"
#include "lyrics/core/lyrics_model.h"
#include "platform/request_slot.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace tavo {

class LrcFetcher : public QObject {
    Q_OBJECT
public:
    // `playingNow` gives the tag of the song that plays now; the lines go
    // into `lines`, which must outlive the fetcher.
    LrcFetcher(LyricsModel& lines, std::function<RequestId()> playingNow, QObject* parent = nullptr);

    // Starts fetching the lyrics of `name`, the song tagged `tag`: the model
    // is emptied, "lrc.tmp" in the program folder is deleted, any earlier
    // fetch is dropped.
    void Begin(const QString& name, RequestId tag);
    // Drops the fetch in flight; the lines stay.
    void Cancel();
    // Empties the lines and drops the fetch in flight.
    void Clear();

    const LyricsModel& Lines() const { return lines_; }
    bool Fetching() const { return fetch_.Pending(); }
    // The song tag of the latest fetch begun (0 before the first).
    RequestId SongTag() const { return tag_; }
    QelDown& LrcDown() { return lrcDown_; }

Q_SIGNALS:
    // The fetch for `name` ended: with its lines in the model, or without lyrics.
    void Found(const QString& name);
    void NotFound(const QString& name);

private:
    void OnFinished(RequestId request, std::int32_t bytes, std::int16_t error);

    std::function<RequestId()> playingNow_;
    LyricsModel& lines_;
    QelDown lrcDown_;
    RequestSlot fetch_;  // the song tag of the fetch in flight
    QString name_;       // and its song
    RequestId tag_ = 0;  // the tag of the latest fetch begun
};

}  // namespace tavo
