#include "app/list_files.h"

#include "platform/bounded_file.h"

#include "app/play_list.h"
#include "platform/ansi_text.h"
#include "platform/program_folder.h"
#include "sources/get_song_list.h"
#include "sources/text_codecs.h"

#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

fs::path FavouritesFile() {
    const fs::path exact = platform::InProgramFolder("MySongList.txt");
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    for (const auto& entry : fs::directory_iterator(platform::ProgramFolder(), ec)) {
        const QString name = platform::PathToQString(entry.path().filename());
        if (name.compare(QStringLiteral("MySongList.txt"), Qt::CaseInsensitive) == 0) return entry.path();
    }
    return exact;
}

fs::path RadioFile() { return platform::InProgramFolder("radio.txt"); }

std::optional<ListRecord> ParseListLine(const QString& raw) {
    static const QString kFieldSep = QStringLiteral("<|>");
    const QString line = TrimSpaces(raw);
    if (line.isEmpty()) return std::nullopt;
    const qsizetype sep = line.indexOf(kFieldSep);
    ListRecord r{sep < 0 ? line : line.left(sep), sep < 0 ? QString() : line.mid(sep + kFieldSep.size())};
    const qsizetype next = r.link.indexOf(kFieldSep);
    if (next >= 0) r.link.truncate(next);
    r.entry.remove(kEntrySep);
    r.link.remove(kEntrySep);
    return r;
}

ListFile ReadListFile(const fs::path& file) {
    ListFile out;
    const platform::BoundedRead read = platform::ReadFileUpTo(file, kMaxListFileBytes);
    out.tooLarge = read.error == platform::BoundedReadError::TooLarge;
    if (read.error != platform::BoundedReadError::None) return out;
    const QStringList lines = platform::DecodeTextLines(read.bytes);
    for (const QString& raw : lines) {
        if (out.entries.size() >= kMaxListEntries) break;
        std::optional<ListRecord> r = ParseListLine(raw);
        if (!r) continue;
        out.entries.append(std::move(r->entry));
        out.links.append(std::move(r->link));
    }
    return out;
}

}  // namespace tavo
