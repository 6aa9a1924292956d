#pragma once
// LyricsFinder: where the playing song's lyrics come from, in order:
//
//   1. the lyric the user chose by hand for the song (kept in the cache);
//   2. the song's own lyrics when it is a local file (a beside-file lyric or
//      its tags: the `localLyrics` function);
//   3. the lyrics cache;
//   4. the lyrics service (LrcFetcher, the service of services.ini's
//      Lyrics=);
//   5. the synced-lyrics library (LyricsLibraryClient).
//
// The first that has lyrics answers; a lyric found by 4 or 5 is kept in the
// cache. Steps 1 to 3 read files only; 4 and 5 ask the network and never
// hold playback up: Find() returns at once and the answer comes from the
// event loop. A library track marked instrumental answers "纯音乐，请欣赏";
// lyrics without time tags answer as plain text (shown as it is, not
// timed); when nothing has lyrics the answer is the not-found text of the
// lyrics window.
//
// Every answer carries the id Find() returned and the song's display name.
// A new Find(), Choose() for the song being found, or Cancel() drops
// whatever was in flight for the previous song: it answers nothing.

#include "lyrics/core/lrclib_client.h"
#include "lyrics/core/lyrics_cache.h"
#include "lyrics/core/lrc_fetcher.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace tavo {

// The song whose lyrics are wanted.
struct LyricsSong {
    LyricsSong() = default;
    LyricsSong(QString name_, std::filesystem::path localFile_ = {}, QString album_ = {}, int durationS_ = 0)
        : name(std::move(name_)), localFile(std::move(localFile_)), album(std::move(album_)), durationS(durationS_) {}

    QString name;                     // display name: "title ┈ artist" or a bare title
    std::filesystem::path localFile;  // the song's file when it plays from disk
    QString album;                    // when known
    int durationS = 0;                // whole seconds; 0 when unknown
};

enum class LyricsOrigin { kChoice, kLocal, kCache, kService, kLibrary, kNowhere };
enum class LyricsShape {
    kSynced,        // lines with time tags
    kPlain,         // lines without time tags: shown as text, not timed
    kInstrumental,  // no words to show
    kNone,          // nothing found
};

struct LyricsAnswer {
    RequestId request = 0;
    QString name;
    LyricsOrigin origin = LyricsOrigin::kNowhere;
    LyricsShape shape = LyricsShape::kNone;
    QStringList lines;  // the lyric lines, time tags kept (empty for kInstrumental and kNone)
    QString status;     // for kInstrumental and kNone: the text to show
};

// How a lyric text is read: lines at every line break, time tags kept; its
// shape (the instrumental marker, tagged lines, plain text); nullopt for a
// text with nothing but spaces.
struct LyricText {
    LyricsShape shape = LyricsShape::kNone;
    QStringList lines;
};
std::optional<LyricText> ReadLyricText(const QString& text);

// The text a cache file holds for an instrumental track.
inline constexpr char kInstrumentalMark[] = "[instrumental:true]";
QString InstrumentalText();  // "纯音乐，请欣赏"

using LocalLyricsFunction = std::function<std::optional<QString>(const std::filesystem::path& song)>;

struct LyricsFinderOptions {
    std::filesystem::path cacheFolder;  // empty: no cache
    bool askService = true;             // step 4
    QString libraryBase;                // step 5; empty: not asked
    LocalLyricsFunction localLyrics;    // step 2; empty: skipped
};

class LyricsFinder : public QObject {
    Q_OBJECT
public:
    explicit LyricsFinder(LyricsFinderOptions options, QObject* parent = nullptr);
    ~LyricsFinder() override;

    RequestId Find(const LyricsSong& song);
    void Cancel();
    // The song of the last Find().
    const LyricsSong& Song() const { return song_; }

    // Remembers the user's lyric for `song`; when it is the song of the last
    // Find(), answers it at once (origin kChoice) in place of anything in
    // flight.
    void Choose(const LyricsSong& song, const QString& text);

    LyricsCache* Cache() { return cache_.get(); }
    LyricsLibraryClient* Library() { return library_.get(); }
    LrcFetcher& Service() { return service_; }

Q_SIGNALS:
    void Answered(const tavo::LyricsAnswer& answer);

private:
    void FromFiles(RequestId request);
    void AskService();
    void AskLibrary();
    void OnServiceFound(const QString& name);
    void OnServiceNotFound(const QString& name);
    void OnLibraryFound(RequestId request, const LibraryTrack& track);
    void OnLibraryNotFound(RequestId request);
    bool Answer(LyricsOrigin origin, const QString& text);
    void AnswerNotFound();
    void StopNetwork();

    LyricsFinderOptions options_;
    std::unique_ptr<LyricsCache> cache_;
    std::unique_ptr<LyricsLibraryClient> library_;
    LyricsModel serviceLines_;  // the service's reply, before it answers
    LrcFetcher service_;
    LyricsSong song_;
    RequestSlot find_;        // the request being answered
    RequestSlot libraryAsk_;  // its question to the library, while asked
};

}  // namespace tavo
