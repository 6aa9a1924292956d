#include "app/online_services.h"

#include "sources/services.h"

namespace tavo {

OnlineServices::OnlineServices(LocalLyricsFunction localLyrics, QObject* parent)
    : QObject(parent), localLyrics_(std::move(localLyrics)) {}

OnlineServices::~OnlineServices() = default;

RadioDirectory& OnlineServices::Directory() {
    if (!directory_) {
        RadioDirectoryOptions o;
        o.base = Services().radioDirectory;
        o.serverListFile = RadioDirectory::DefaultServerListFile();
        directory_ = std::make_unique<RadioDirectory>(o);
    }
    return *directory_;
}

LyricsFinder& OnlineServices::Finder() {
    if (!finder_) {
        LyricsFinderOptions o;
        o.cacheFolder = LyricsCache::DefaultFolder();
        o.libraryBase = LibraryBase();
        o.localLyrics = localLyrics_;
        finder_ = std::make_unique<LyricsFinder>(o);
    }
    return *finder_;
}

QString OnlineServices::LibraryBase() const { return Services().lyricsLibrary; }

}  // namespace tavo
