#include "app/list_files.h"

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

ListFile ReadListFile(const fs::path& file) {
    ListFile out;
    const auto lines = platform::ReadTextLines(file);
    if (!lines) return out;
    static const QString kFieldSep = QStringLiteral("<|>");
    for (const QString& raw : *lines) {
        if (out.entries.size() >= kMaxListEntries) break;
        const QString line = TrimSpaces(raw);
        if (line.isEmpty()) continue;
        const qsizetype sep = line.indexOf(kFieldSep);
        QString entry = sep < 0 ? line : line.left(sep);
        QString link = sep < 0 ? QString() : line.mid(sep + kFieldSep.size());
        const qsizetype next = link.indexOf(kFieldSep);
        if (next >= 0) link.truncate(next);
        entry.remove(kEntrySep);
        link.remove(kEntrySep);
        out.entries.append(entry);
        out.links.append(link);
    }
    return out;
}

}  // namespace tavo
