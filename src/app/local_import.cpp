#include "app/local_import.h"

#include "platform/ansi_text.h"
#include "platform/core/tag_reader.h"
#include "app/favourites_file.h"

#include <QMetaObject>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

const QString kFieldSep = QStringLiteral("<|>");

// The files under `folder` an import takes, in walk order; symbolic links to
// folders are not followed, so a loop cannot trap the walk.
std::vector<fs::path> MusicFilesUnder(const fs::path& folder, const std::atomic<bool>& cancel, bool& truncated) {
    std::vector<fs::path> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (cancel.load(std::memory_order_relaxed)) break;
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || !IsMusicFileName(it->path())) continue;
        if (static_cast<int>(files.size()) >= kMaxImportFiles) {
            truncated = true;
            break;
        }
        files.push_back(it->path());
    }
    return files;
}

}  // namespace

bool IsMusicFileName(const fs::path& file) {
    static const QSet<QString> kExts = {"mp3", "flac", "ogg", "opus", "m4a", "aac",
                                        "wav", "ape", "wma", "wv",   "dsf"};
    const QString ext = platform::PathToQString(file.extension()).mid(1).toLower();
    return kExts.contains(ext);
}

QString LocalSongName(const QString& title, const QString& artist, const QString& path) {
    if (title.trimmed().isEmpty()) return LocalFileDisplayName(path);
    if (artist.trimmed().isEmpty()) return title.trimmed();
    return title.trimmed() + QStringLiteral(" ┈ ") + artist.trimmed();
}

QString LocalSongLine(const QString& name, const QString& path, int durationMs) {
    QString line = FavouriteLine(name, path);
    if (durationMs > 0) line += kFieldSep + QString::number((durationMs + 500) / 1000);
    return line;
}

std::optional<QString> ReadLocalSongLine(const fs::path& file) {
    const platform::TagReadResult tags = platform::ReadTags(file);
    if (tags.error == platform::TagReadError::Missing || tags.error == platform::TagReadError::Unreadable)
        return std::nullopt;
    const QString path = platform::PathToQString(file);
    return LocalSongLine(LocalSongName(tags.info.title, tags.info.artist, path), path, tags.info.durationMs);
}

int FavouriteLineSeconds(const QString& line) {
    const qsizetype first = line.indexOf(kFieldSep);
    if (first < 0) return -1;
    const qsizetype second = line.indexOf(kFieldSep, first + kFieldSep.size());
    if (second < 0) return -1;
    bool ok = false;
    const int secs = line.mid(second + kFieldSep.size()).trimmed().toInt(&ok);
    return ok && secs >= 0 ? secs : -1;
}

bool IsRefusedPath(const QString& path) {
    return path.contains(kFieldSep) || path.contains(QStringLiteral("{@}")) || path.contains(QLatin1Char('\n')) ||
           path.contains(QLatin1Char('\r'));
}

void SortImportedSongs(std::vector<ImportedSong>& songs) {
    std::stable_sort(songs.begin(), songs.end(), [](const ImportedSong& a, const ImportedSong& b) {
        const int folder = a.path.parent_path().compare(b.path.parent_path());
        if (folder != 0) return folder < 0;
        const int ta = a.track > 0 ? a.track : INT32_MAX, tb = b.track > 0 ? b.track : INT32_MAX;
        if (ta != tb) return ta < tb;
        const QString na = platform::PathToQString(a.path.filename()), nb = platform::PathToQString(b.path.filename());
        const int byName = na.compare(nb, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : na < nb;
    });
}

QString ImportSummary(const ImportResult& r) {
    if (r.cancelled) return QStringLiteral("已取消添加本地文件夹，收藏列表没有改动。");
    if (r.found == 0) return QStringLiteral("这个文件夹里没有找到音乐文件。");
    QString text = QStringLiteral("已添加 %1 首歌曲").arg(r.lines.size());
    QStringList skipped;
    if (r.duplicates) skipped << QStringLiteral("%1 首已在收藏列表中").arg(r.duplicates);
    if (r.unreadable) skipped << QStringLiteral("%1 个文件无法读取").arg(r.unreadable);
    if (r.refused) skipped << QStringLiteral("%1 个文件的路径含有列表分隔符或换行，无法收藏").arg(r.refused);
    if (!skipped.isEmpty()) text += QStringLiteral("；跳过：") + skipped.join(QStringLiteral("，"));
    if (r.truncated) text += QStringLiteral("；文件太多，只取了前 %1 个").arg(kMaxImportFiles);
    return text + QStringLiteral("。");
}

ImportResult ImportFolder(const fs::path& folder, const QStringList& knownLinks, const std::atomic<bool>& cancel,
                          const std::function<void(int, int)>& progress) {
    ImportResult out;
    if (progress) progress(0, 0);
    const std::vector<fs::path> files = MusicFilesUnder(folder, cancel, out.truncated);
    out.found = static_cast<int>(files.size());
    // Where each known link first stands in the favourites.
    QHash<QString, qsizetype> knownAt;
    knownAt.reserve(knownLinks.size());
    for (qsizetype i = 0; i < knownLinks.size(); ++i)
        if (!knownAt.contains(knownLinks[i])) knownAt.insert(knownLinks[i], i);
    qsizetype firstKnown = -1;
    QSet<QString> seen;  // taken in this run
    std::vector<ImportedSong> songs;
    songs.reserve(files.size());
    int done = 0;
    for (const fs::path& file : files) {
        if (cancel.load(std::memory_order_relaxed)) break;
        if (progress) progress(done, out.found);
        ++done;
        const QString path = platform::PathToQString(file);
        if (IsRefusedPath(path)) {
            ++out.refused;
            continue;
        }
        if (const auto known = knownAt.constFind(path); known != knownAt.cend()) {
            ++out.duplicates;
            if (firstKnown < 0 || *known < firstKnown) firstKnown = *known;
            continue;
        }
        if (seen.contains(path)) {
            ++out.duplicates;
            continue;
        }
        const platform::TagReadResult tags = platform::ReadTags(file);
        if (tags.error == platform::TagReadError::Missing || tags.error == platform::TagReadError::Unreadable) {
            ++out.unreadable;
            continue;
        }
        seen.insert(path);
        const QString name = LocalSongName(tags.info.title, tags.info.artist, path);
        songs.push_back({file, tags.info.track, LocalSongLine(name, path, tags.info.durationMs)});
    }
    if (cancel.load(std::memory_order_relaxed)) {
        out.cancelled = true;
        return out;
    }
    if (progress) progress(out.found, out.found);
    SortImportedSongs(songs);
    if (firstKnown >= 0)
        out.firstLink = knownLinks[firstKnown];
    else if (!songs.empty())
        out.firstLink = platform::PathToQString(songs.front().path);
    out.lines.reserve(static_cast<qsizetype>(songs.size()));
    for (ImportedSong& s : songs) out.lines.append(std::move(s.line));
    return out;
}

LocalImport::LocalImport(QObject* parent) : QObject(parent) {}

LocalImport::~LocalImport() { StopWorker(); }

void LocalImport::StopWorker() {
    if (cancel_) cancel_->store(true);
    if (worker_.joinable()) worker_.join();
}

RequestId LocalImport::Start(const fs::path& folder, const QStringList& knownLinks) {
    StopWorker();
    const RequestId id = run_.Begin();
    last_ = id;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread([this, id, folder, knownLinks, cancel = cancel_] {
        using Clock = std::chrono::steady_clock;
        Clock::time_point last{};
        auto progress = [&](int done, int total) {
            // At most about ten reports a second reach the window.
            const auto now = Clock::now();
            if (done != total && now - last < std::chrono::milliseconds(100)) return;
            last = now;
            QMetaObject::invokeMethod(
                this, [this, id, done, total] { if (run_.Answers(id)) emit Progress(id, done, total); },
                Qt::QueuedConnection);
        };
        ImportResult result = ImportFolder(folder, knownLinks, *cancel, progress);
        result.id = id;
        QMetaObject::invokeMethod(this, [this, r = std::move(result)] { Deliver(r); }, Qt::QueuedConnection);
    });
    return id;
}

void LocalImport::Cancel() {
    if (cancel_) cancel_->store(true);
}

void LocalImport::Deliver(ImportResult result) {
    if (!run_.Take(result.id)) return;  // a run that was replaced
    if (worker_.joinable()) worker_.join();  // it has posted its last event
    // Cancelled after the last file was read: still nothing is added.
    if (cancel_ && cancel_->load() && !result.cancelled) {
        result.cancelled = true;
        result.lines.clear();
    }
    emit Finished(result);
}

}  // namespace tavo
