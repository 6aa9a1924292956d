#pragma once
// The synced-lyrics library's replies and requests, as pure functions.
//
// GET /api/get?track_name=&artist_name=&album_name=&duration= answers one
// track object:
//   {"id":1, "trackName":"", "artistName":"", "albumName":"",
//    "duration":233.0, "instrumental":false,
//    "plainLyrics":"..." or null, "syncedLyrics":"[00:01.00]..." or null}
// or, with HTTP 404, {"code":404,"name":"TrackNotFound","message":"..."}.
// GET /api/search?track_name=&artist_name= answers an array of such
// objects.
//
// A reply that is not JSON, has the wrong shape or a field of the wrong type
// is refused with a named error; lyric texts longer than a reply may be are
// refused as well.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace tavo {

enum class LibraryError {
    kNone,
    kNotJson,    // the bytes do not parse as JSON
    kWrongShape, // not an object (get) or not an array (search)
    kWrongType,  // a field has the wrong type or an impossible value
    kNotFound,   // the library's {"code":404,"name":"TrackNotFound"} answer
};

QString LibraryErrorText(LibraryError error);

inline constexpr int kMaxSearchResults = 20;    // results of a search that are looked at
inline constexpr int kNearestDurationS = 3;     // a search result this close in duration matches
inline constexpr qsizetype kMaxLibraryText = 256 * 1024;  // one lyric text, in UTF-16 units

struct LibraryTrack {
    std::int64_t id = 0;
    QString trackName;
    QString artistName;
    QString albumName;
    double duration = 0;  // seconds; 0 when unknown
    bool instrumental = false;
    QString plainLyrics;
    QString syncedLyrics;

    bool HasLyrics() const { return instrumental || !syncedLyrics.isEmpty() || !plainLyrics.isEmpty(); }
};

struct LibraryGetReply {
    LibraryError error = LibraryError::kNone;
    LibraryTrack track;
};
// The reply of /api/get (the body of a 404 included).
LibraryGetReply ParseLibraryGet(const QByteArray& json);

struct LibrarySearchReply {
    LibraryError error = LibraryError::kNone;
    std::vector<LibraryTrack> tracks;  // at most kMaxSearchResults, in the reply's order
};
LibrarySearchReply ParseLibrarySearch(const QByteArray& json);

// The result whose duration is nearest `durationS`, within
// kNearestDurationS, among those with lyrics; -1 when none is. With an
// unknown duration (0 or less) the first result with lyrics.
int NearestByDuration(const std::vector<LibraryTrack>& tracks, int durationS);

// What is asked for: title and artist as cleaned for a lyrics request, the
// album when known, the duration in whole seconds when known (0: unknown).
struct LibraryQuery {
    QString title;
    QString artist;
    QString album;
    int durationS = 0;
};
// The query for a song's display name ("title ┈ artist" or a bare title,
// split as the lyrics request splits it), with bracketed parts such as
// "(Live)", "（伴奏）", "[MV]" or "【官方】" removed from title and artist.
LibraryQuery LibraryQueryFor(const QString& displayName, const QString& album = QString(), int durationS = 0);

// "/api/get?track_name=...&artist_name=...&album_name=...[&duration=N]" (the
// album may be empty; the duration is left out when unknown),
// values percent-encoded as UTF-8.
QString LibraryGetPath(const LibraryQuery& query);
// "/api/search?track_name=...[&artist_name=...]".
QString LibrarySearchPath(const LibraryQuery& query);

}  // namespace tavo
