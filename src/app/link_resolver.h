#pragma once
// Finding a song's play addresses: the song-search request through
// `SongYQDown`, its reply's "url" values as candidates, and the retries of a
// failed request.
//
// Every request carries the identity of the song it was made for
// (Playback's song tag), and so do its downloads; Resolve and Cancel drop
// the request in flight and any retry waiting, so a reply or a retry for an
// earlier song never reaches the current one, and the tag lets the
// receiver check once more. Failing
// requests are spaced at least FailGapMs apart, so that a list whose songs
// cannot be found is not searched back to back.

#include "download/qel_down.h"
#include "platform/request_slot.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <filesystem>

namespace tavo {

class LinkResolver : public QObject {
    Q_OBJECT
public:
    LinkResolver();

    // A song to find.
    struct Song {
        RequestId tag = 0;
        QString name;        // its display text
        QString storedLink;  // its own link when it comes from the favourites
        bool favourites = false;
    };

    QelDown SongYQDown;
    // The current song's addresses (only those the player may open, see
    // MayPlay) and the one being played.
    QStringList LinkCandidates;
    int LinkIndex = 0;
    QString LinkSource;  // the reply format understood: "SeekUp"

    // A failed request is tried again SearchRetryMs later, at most
    // kMaxSearchRetries times; then the song is given up.
    static constexpr int kMaxSearchRetries = 3;
    int SearchRetryMs = 1000;
    int FailGapMs = 1000;

    // Starts the search for `song`, dropping whatever was pending.
    void Resolve(const Song& song);
    // Drops the request in flight, its retry and its wait.
    void Cancel();
    // A request is in flight or waiting to be sent.
    bool Pending() const { return search_.Pending(); }
    int SearchRetries() const { return retries_; }

    // The candidate being played; the next one (false when none is left).
    QString Candidate() const { return LinkIndex >= 0 && LinkIndex < LinkCandidates.size() ? LinkCandidates[LinkIndex] : QString(); }
    bool NextCandidate();

    // The search request for a display text (a fresh callback suffix each time).
    static QString SearchAddress(const QString& host, const QString& displayText);
    static QString SearchQuery(const QString& displayText);
    static QString CallbackSuffix();
    static std::filesystem::path SearchFile();  // "YQ.txt"

Q_SIGNALS:
    void Status(const QString& text);
    // LinkCandidates hold at least one address; LinkIndex is 0.
    void Resolved(std::uint64_t tag);
    // No address for the song: move on.
    void Unresolvable(std::uint64_t tag);
    // The same song is about to be asked for again.
    void Retrying(std::uint64_t tag);

private:
    void Request();
    void OnFinished(RequestId request, std::int32_t bytes, std::int16_t error);
    void RequestFailed();
    void Done(bool found);

    Song song_;
    RequestSlot search_;  // holds the song's tag while it is searched for
    int retries_ = 0;
    QTimer retry_;
    QTimer gap_;
    QElapsedTimer lastFailure_;
};

}  // namespace tavo
