#pragma once
// The playing song's lyrics: playback names the song it starts, the lyrics
// finder looks in its order (the user's choice, the song's own file and
// tags, the cache, the lyrics service, the synced-lyrics library), and the
// answer goes into the lyrics model in one step.
//
//   synced lines   the model holds them, the lyric file's own [offset:]
//                  already applied to their times;
//   plain text     the model holds the lines, which no play position names,
//                  so they stay still;
//   instrumental,  the model stays empty and NotFound carries the text to
//   nothing found  show ("纯音乐，请欣赏", "没有找到“…”的歌词").
//
// Each Begin() is keyed to the song tag playback gives the start: an answer
// for an earlier song, or one that arrives after Cancel() (stop, another
// song), is dropped. The user's own pick for the song playing (the finder's
// Choose) is the one answer taken without being asked for: it replaces what
// is shown at once.
//
// Nothing here waits on the network: Begin() returns at once, and a library
// that cannot be reached ends in NotFound without holding playback up.

#include "lyrics/core/lyrics_finder.h"
#include "lyrics/core/lyrics_model.h"
#include "platform/request_slot.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>

namespace tavo {

class SongLyrics : public QObject {
    Q_OBJECT
public:
    // `finder` gives the finder on first use; it and `model` must outlive this object.
    SongLyrics(LyricsModel& model, std::function<LyricsFinder&()> finder, QObject* parent = nullptr);

    // Starts finding the lyrics of `name`, the song tagged `tag`, opened at
    // `address` (a local path or file: address lets the song's own lyric
    // file and tags answer first). Empties the model.
    void Begin(const QString& name, const QString& address, RequestId tag);
    // Drops what is in flight; the lines stay.
    void Cancel();
    // Empties the lines and drops what is in flight.
    void Clear();

    bool Finding() const { return find_.Pending(); }
    // The tag of the song whose lyrics are shown or found (0 after Cancel).
    RequestId SongTag() const { return tag_; }
    const LyricsSong& Song() const { return song_; }
    // The last answer's shape (kNone before one arrived).
    LyricsShape Shape() const { return shape_; }
    LyricsOrigin Origin() const { return origin_; }

    LyricsFinder& Finder();

Q_SIGNALS:
    // The lines of `name` are in the model.
    void Found(const QString& name);
    // No lines for `name`; `text` says why (instrumental or not found).
    void NotFound(const QString& name, const QString& text);

private:
    void OnAnswered(const LyricsAnswer& answer);

    LyricsModel& model_;
    std::function<LyricsFinder&()> makeFinder_;
    LyricsFinder* finder_ = nullptr;
    LyricsSong song_;
    RequestId tag_ = 0;
    RequestSlot find_;  // the finder's request for the song
    LyricsShape shape_ = LyricsShape::kNone;
    LyricsOrigin origin_ = LyricsOrigin::kNowhere;
};

// The file a song plays from when `address` is a local path or a file:
// address; empty for anything on the network.
std::filesystem::path LocalSongFile(const QString& address);

}  // namespace tavo
