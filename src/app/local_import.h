#pragma once
// Adding a folder of music to the favourites.
//
// The scan (a recursive walk of the folder) and the tag reading run on a
// worker thread; the window thread receives the progress now and then and
// the result once, as favourites lines ready to append. Each run has an
// id; the progress and the result carry it, and only the latest run's are
// delivered, so an import that was replaced or cancelled never reaches the
// list.
//
// A favourites line of a song with a title tag reads title " ┈ " artist
// (the title alone without an artist); without a title the file-name rule
// of the favourites applies. The duration in whole seconds follows as a
// third field, "name<|>path<|>seconds", which the list reader ignores (it
// takes the link up to the next "<|>"); the list's tooltip shows it.

#include "platform/request_slot.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace tavo {

inline constexpr int kMaxImportFiles = 100000;

// True for the names of the music files an import takes: mp3 flac ogg opus
// m4a aac wav ape wma wv dsf, in any letter case.
bool IsMusicFileName(const std::filesystem::path& file);

// The favourites name of a local song: title " ┈ " artist from its tags,
// the title alone without an artist, the file-name rule without a title.
QString LocalSongName(const QString& title, const QString& artist, const QString& path);

// The favourites line of a local song, with its duration when known.
QString LocalSongLine(const QString& name, const QString& path, int durationMs);

// The favourites line of one music file, named from its tags; nullopt when
// the file is missing or cannot be read as music.
std::optional<QString> ReadLocalSongLine(const std::filesystem::path& file);

// The duration a favourites line carries, in seconds; -1 when it has none.
int FavouriteLineSeconds(const QString& line);

// True when a path cannot be stored in the favourites: it holds a list
// separator ("<|>", "{@}") or a line break.
bool IsRefusedPath(const QString& path);

struct ImportResult {
    quint64 id = 0;
    QStringList lines;    // favourites lines to append, in import order
    int found = 0;        // music files found under the folder
    int duplicates = 0;   // already in the favourites (or twice in this run)
    int unreadable = 0;   // vanished or not readable as music
    int refused = 0;      // paths the favourites cannot hold
    bool cancelled = false;  // cancelled: `lines` is empty
    bool truncated = false;  // more than kMaxImportFiles files: the first ones taken
    // The song to play when the folder was opened to play: of the folder's
    // songs already in the favourites, the one listed first there; else the
    // first line added. Empty when the folder holds no song.
    QString firstLink;
};

// The one message an import ends with: how many songs were added and how
// many were skipped, and why.
QString ImportSummary(const ImportResult& result);

// One import, start to end, on the calling thread. `knownLinks` are the
// links already in the favourites. `cancel` is polled between files;
// `progress(done, total)` is called as files are read (total is 0 while the
// folder is still being walked).
ImportResult ImportFolder(const std::filesystem::path& folder, const QStringList& knownLinks,
                          const std::atomic<bool>& cancel, const std::function<void(int, int)>& progress = {});

// Sorts songs by folder, then track number (songs without one after the
// numbered ones), then file name.
struct ImportedSong {
    std::filesystem::path path;
    int track = 0;
    QString line;
};
void SortImportedSongs(std::vector<ImportedSong>& songs);

// Runs ImportFolder on a worker thread for the window thread.
class LocalImport : public QObject {
    Q_OBJECT
public:
    explicit LocalImport(QObject* parent = nullptr);
    ~LocalImport() override;

    // Starts an import, replacing (cancelling) one that runs. Returns its id.
    RequestId Start(const std::filesystem::path& folder, const QStringList& knownLinks);
    // Cancels the running import; its result arrives with `cancelled` set
    // (also when the worker had already read every file).
    void Cancel();
    bool IsRunning() const { return run_.Pending(); }
    RequestId CurrentId() const { return last_; }

signals:
    void Progress(quint64 id, int done, int total);
    void Finished(const tavo::ImportResult& result);

private:
    void Deliver(ImportResult result);
    void StopWorker();

    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    RequestSlot run_;     // the run whose result is awaited (a cancelled one too)
    RequestId last_ = 0;  // the latest run started
};

}  // namespace tavo
