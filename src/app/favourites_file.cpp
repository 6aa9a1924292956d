#include "app/favourites_file.h"

#include "app/list_files.h"
#include "platform/ansi_text.h"
#include "platform/bounded_file.h"
#include "sources/get_song_list.h"
#include "sources/text_codecs.h"

#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

const QString kFieldSep = QStringLiteral("<|>");

enum class ReadResult { Missing, Read, Failed };

ReadResult ReadExisting(const fs::path& file, QByteArray& bytes) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return ec ? ReadResult::Failed : ReadResult::Missing;
    // A file over the list files' limit is not read, and so never rewritten
    // from a part of it.
    platform::BoundedRead read = platform::ReadFileUpTo(file, kMaxListFileBytes);
    if (read.error != platform::BoundedReadError::None) return ReadResult::Failed;
    bytes = std::move(read.bytes);
    return ReadResult::Read;
}

}  // namespace

QString LocalFileDisplayName(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString fileName = path.mid(slash + 1);
    QString name = fileName.left(fileName.indexOf(QLatin1Char('.')));
    // A name that starts with a dot would be empty: keep the whole name.
    if (TrimSpaces(name).isEmpty()) name = fileName;
    for (QChar c : {QLatin1Char('_'), QLatin1Char('-'), QLatin1Char('~')}) name.replace(c, kTitleArtistSep);
    const QString twice = kTitleArtistSep + kTitleArtistSep;
    while (name.contains(twice)) name.replace(twice, kTitleArtistSep);
    return name;
}

QString FavouriteLine(const QString& name, const QString& link) {
    return ListSafeText(name) + kFieldSep + link;
}

QString FavouriteEntry(const QString& line) {
    const std::optional<ListRecord> record = ParseListLine(line);
    return record ? record->entry : QString();
}

std::vector<FavouritesEditor::Line> FavouritesEditor::Lines() const {
    std::vector<Line> out;
    QByteArray bytes;
    if (ReadExisting(file_, bytes) != ReadResult::Read) return out;
    for (QByteArrayView raw : platform::SplitTextLines(bytes)) {
        QString text = platform::DecodeTextLine(raw);
        if (TrimSpaces(text).isEmpty()) continue;
        out.push_back({raw.toByteArray(), std::move(text)});
    }
    return out;
}

bool FavouritesEditor::Append(const QStringList& lines) const {
    QByteArray bytes;
    if (ReadExisting(file_, bytes) == ReadResult::Failed) return false;
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r')) bytes.append("\r\n");
    for (const QString& line : lines) {
        bytes.append(line.toUtf8());
        bytes.append("\r\n");
    }
    return platform::WriteFileAtomically(file_, bytes);
}

FavouritesEditor::Removal FavouritesEditor::RemoveAt(int index, const QString& shownEntry) const {
    const std::vector<Line> lines = Lines();
    if (index < 0 || index >= static_cast<int>(lines.size()) ||
        FavouriteEntry(lines[static_cast<size_t>(index)].text) != shownEntry)
        return Removal::Changed;
    QByteArray bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(i) == index) continue;
        bytes.append(lines[i].raw);
        bytes.append("\r\n");
    }
    bytes.append("\r\n");
    return platform::WriteFileAtomically(file_, bytes) ? Removal::Removed : Removal::WriteFailed;
}

bool FavouritesEditor::Clear() const {
    std::error_code ec;
    fs::remove(file_, ec);
    return !ec;
}

}  // namespace tavo
