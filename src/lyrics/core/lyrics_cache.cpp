#include "lyrics/core/lyrics_cache.h"

#include "platform/ansi_text.h"
#include "platform/program_folder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <system_error>
#include <vector>

namespace tavo {

namespace fs = std::filesystem;

namespace {

const char kFoundSuffix[] = ".lrc";
const char kChoiceSuffix[] = ".choice.lrc";
constexpr qsizetype kReadablePart = 48;

// Artist and title as one key: trimmed, case folded.
QString SongKey(const QString& artist, const QString& title) {
    return artist.trimmed().toCaseFolded() + QLatin1Char('\n') + title.trimmed().toCaseFolded();
}

std::optional<QString> ReadText(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec || size > static_cast<std::uintmax_t>(kMaxLyricsFileBytes)) return std::nullopt;
    QFile f(platform::PathToQString(file));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = f.read(kMaxLyricsFileBytes + 1);
    if (bytes.size() > kMaxLyricsFileBytes) return std::nullopt;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}

bool WriteText(const fs::path& file, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > kMaxLyricsFileBytes) return false;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    QSaveFile f(platform::PathToQString(file));
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool EndsWith(const std::string& s, const char* suffix) {
    const std::string t(suffix);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

bool IsFoundFile(const fs::path& p) {
    const std::string name = p.filename().string();
    return EndsWith(name, kFoundSuffix) && !EndsWith(name, kChoiceSuffix);
}

}  // namespace

LyricsCache::LyricsCache(fs::path folder, qint64 maxBytes) : folder_(std::move(folder)), maxBytes_(maxBytes) {}

fs::path LyricsCache::DefaultFolder() {
    return platform::XdgFolder("XDG_CACHE_HOME", ".cache") / "tavo-musicbox" / "lyrics";
}

QString LyricsCache::FileStem(const QString& artist, const QString& title) {
    QString readable;
    const QString joined = artist.trimmed().toCaseFolded() + QLatin1Char(' ') + title.trimmed().toCaseFolded();
    for (const QChar c : joined) {
        if (readable.size() >= kReadablePart) break;
        if (c.isLetterOrNumber() && !c.isSurrogate())
            readable += c;
        else if (!readable.isEmpty() && !readable.endsWith(QLatin1Char('_')))
            readable += QLatin1Char('_');
    }
    while (readable.endsWith(QLatin1Char('_'))) readable.chop(1);
    const QByteArray hash = QCryptographicHash::hash(SongKey(artist, title).toUtf8(), QCryptographicHash::Sha1);
    const QString tag = QString::fromLatin1(hash.toHex().left(16));
    return readable.isEmpty() ? tag : readable + QLatin1Char('-') + tag;
}

fs::path LyricsCache::FoundFile(const QString& artist, const QString& title) const {
    return folder_ / platform::QStringToPath(FileStem(artist, title) + QLatin1String(kFoundSuffix));
}

fs::path LyricsCache::ChoiceFile(const QString& artist, const QString& title) const {
    return folder_ / platform::QStringToPath(FileStem(artist, title) + QLatin1String(kChoiceSuffix));
}

std::optional<QString> LyricsCache::Choice(const QString& artist, const QString& title) const {
    return ReadText(ChoiceFile(artist, title));
}

std::optional<QString> LyricsCache::Read(const QString& artist, const QString& title) const {
    if (auto choice = Choice(artist, title)) return choice;
    const fs::path file = FoundFile(artist, title);
    auto text = ReadText(file);
    if (text) {
        // A read is a use: the bound removes the least recently used first.
        std::error_code ec;
        fs::last_write_time(file, fs::file_time_type::clock::now(), ec);
    }
    return text;
}

bool LyricsCache::Store(const QString& artist, const QString& title, const QString& text) {
    const fs::path file = FoundFile(artist, title);
    if (!WriteText(file, text)) return false;
    Trim(file);
    return true;
}

bool LyricsCache::Remember(const QString& artist, const QString& title, const QString& text) {
    return WriteText(ChoiceFile(artist, title), text);
}

qint64 LyricsCache::FoundBytes() const {
    qint64 total = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        std::error_code e2;
        if (entry.is_regular_file(e2) && IsFoundFile(entry.path())) total += static_cast<qint64>(entry.file_size(e2));
    }
    return total;
}

void LyricsCache::Trim(const fs::path& keep) {
    struct Entry {
        fs::path path;
        fs::file_time_type time;
        qint64 size;
    };
    std::vector<Entry> entries;
    qint64 total = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        std::error_code e2;
        if (!entry.is_regular_file(e2) || !IsFoundFile(entry.path())) continue;
        const qint64 size = static_cast<qint64>(entry.file_size(e2));
        entries.push_back({entry.path(), entry.last_write_time(e2), size});
        total += size;
    }
    if (total <= maxBytes_) return;
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.time < b.time; });
    for (const Entry& e : entries) {
        if (total <= maxBytes_) break;
        if (e.path == keep) continue;  // the lyric just found stays
        std::error_code e2;
        if (fs::remove(e.path, e2)) total -= e.size;
    }
}

}  // namespace tavo
