#pragma once
// The open services of one run, as services.ini names them: the station
// directory (RadioDirectory=) and the lyrics finder with its cache and the
// synced-lyrics library (LyricsLibrary=). Made on first use, on the UI
// thread; each lives as long as this object.

#include "lyrics/core/local_lyrics.h"
#include "lyrics/core/lyrics_finder.h"
#include "sources/core/radio_directory.h"

#include <QObject>

#include <memory>

namespace tavo {

class OnlineServices : public QObject {
    Q_OBJECT
public:
    // `localLyrics` finds a local song's own lyrics (empty: none are looked
    // for); by default its lyric file beside it, then its tags.
    explicit OnlineServices(LocalLyricsFunction localLyrics = FindLocalLyrics, QObject* parent = nullptr);
    ~OnlineServices() override;

    RadioDirectory& Directory();
    LyricsFinder& Finder();
    // The library's address, for the by-hand search.
    QString LibraryBase() const;

private:
    LocalLyricsFunction localLyrics_;
    std::unique_ptr<RadioDirectory> directory_;
    std::unique_ptr<LyricsFinder> finder_;
};

}  // namespace tavo
