#pragma once
// The synced-lyrics library's client: finds one song's lyrics, or lists the
// library's candidates for a song so the user can pick one.
//
// Finding: GET /api/get with title, artist, album and whole-second duration;
// when that has no lyrics (404 TrackNotFound, any other HTTP error, a track
// without lyrics), GET /api/search with title and artist, taking the result
// nearest in duration (within 3 s). When neither finds the song and its
// title or artist holds Han characters, the same two steps run once more
// with the text in the other script (simplified <-> traditional). A request
// that gets no reply at all (no network, a refused connection, no answer in
// time) ends the search at once: a library that cannot be reached is not
// asked again for the same song.
//
// Every request carries User-Agent and Lrclib-Client naming the program;
// a reply over 1 MB is refused as it arrives. Every answer carries the id
// Find() or List() returned; a new call or Cancel() drops the one in
// flight, which then answers nothing.

#include "download/web_query.h"
#include "lyrics/lrclib_reply.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace tavo {

inline constexpr qint64 kMaxLibraryReplyBytes = 1024 * 1024;
inline constexpr int kLibraryTimeoutMs = 8000;

class LyricsLibraryClient : public QObject {
    Q_OBJECT
public:
    // `base` is the library's scheme, host and port (LyricsLibrary= of
    // services.ini), without a trailing slash.
    explicit LyricsLibraryClient(QString base, QObject* parent = nullptr);

    std::uint64_t Find(const LibraryQuery& query);
    std::uint64_t List(const LibraryQuery& query);
    void Cancel();

    WebQuery& Query() { return web_; }

Q_SIGNALS:
    void Found(std::uint64_t request, const tavo::LibraryTrack& track);
    // `reason` is for a status line; `unreachable` when no reply came.
    void NotFound(std::uint64_t request, const QString& reason, bool unreachable);
    void Listed(std::uint64_t request, const std::vector<tavo::LibraryTrack>& tracks);
    void ListFailed(std::uint64_t request, const QString& reason, bool unreachable);

private:
    enum class Step { kIdle, kGet, kSearch, kList };

    void Ask(Step step);
    void OnAnswered(const WebAnswer& answer);
    void OnGet(const WebAnswer& answer);
    void OnSearch(const WebAnswer& answer);
    void OnList(const WebAnswer& answer);
    void TryOtherScript(const QString& reason);
    void Fail(const QString& reason, bool unreachable);

    QString base_;
    WebQuery web_;
    Step step_ = Step::kIdle;
    std::uint64_t request_ = 0;   // the id the caller holds
    LibraryQuery query_;          // what the step in flight asks for
    LibraryQuery asked_;          // what the caller asked for
    bool otherScriptTried_ = false;
};

}  // namespace tavo
