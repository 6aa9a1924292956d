#pragma once
// "搜索歌词": the synced-lyrics library's results for the playing song
// (title, artist, album, duration, synced or not). The user picks one, or
// loads a ".lrc" file instead; the choice is remembered for the song (the
// finder keeps it and shows it at once).

#include "lyrics/core/lrclib_client.h"
#include "lyrics/core/lyrics_finder.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tavo {

inline constexpr qint64 kMaxLrcFileBytes = 1024 * 1024;

// The text of a lyric file: UTF-8 (with or without a byte-order mark),
// UTF-16 with a byte-order mark, otherwise GB18030. nullopt for a file that
// is missing, unreadable or over kMaxLrcFileBytes.
std::optional<QString> ReadLrcFile(const std::filesystem::path& file);

// The lyric text a library track gives: synced, else plain, else the
// instrumental marker.
QString LyricTextOf(const LibraryTrack& track);

class LyricsSearchDialog : public QDialog {
    Q_OBJECT
public:
    // `finder` must outlive the dialog; `libraryBase` is LyricsLibrary=.
    LyricsSearchDialog(LyricsFinder* finder, const QString& libraryBase, LyricsSong song, QWidget* parent = nullptr);

    // Asks the library again for the song.
    void Search();
    // Uses the selected result for the song. False without one.
    bool UseSelected();
    // Uses a lyric file for the song. False when it cannot be read.
    bool LoadFile(const std::filesystem::path& file);

    // Asks for the ".lrc" file to load; by default the system's file dialog.
    std::function<std::optional<std::filesystem::path>()> askFile;

    const std::vector<LibraryTrack>& Tracks() const { return tracks_; }
    QTreeWidget* Results() const { return results_; }
    QLabel* Status() const { return status_; }

Q_SIGNALS:
    void ResultsShown();

private:
    void OnListed(std::uint64_t request, const std::vector<LibraryTrack>& tracks);
    void OnFailed(std::uint64_t request, const QString& reason, bool unreachable);

    LyricsFinder* finder_;
    LyricsLibraryClient library_;
    LyricsSong song_;
    std::uint64_t request_ = 0;
    std::vector<LibraryTrack> tracks_;
    QTreeWidget* results_;
    QPushButton* use_;
    QPushButton* load_;
    QLabel* status_;
};

}  // namespace tavo
