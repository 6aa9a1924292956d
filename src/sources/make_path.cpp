// Creating a folder path, as the skin loader does for a missing skin folder.
#include "sources/get_song_list.h"

#include "platform/ansi_text.h"

#include <system_error>

namespace tavo {

// Both "/" and "\" separate components (paths built by joining with "\"
// arrive here too). The "drive" is the root of an absolute path; a relative
// path has none. When the path holds a "." anywhere, its last component is
// taken as a file name and not created. File system errors are ignored.
bool MakePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.contains(QLatin1String("//"))) p.replace(QLatin1String("//"), QLatin1String("/"));
    p.remove(QChar(u'\0'));
    if (!p.startsWith(QLatin1Char('/'))) return false;

    QString rest = p.mid(1);
    if (rest.contains(QLatin1Char('.'))) rest.truncate(qMax<qsizetype>(rest.lastIndexOf(QLatin1Char('/')), 0));
    std::error_code ec;
    if (std::filesystem::is_directory(platform::QStringToPath(QLatin1Char('/') + rest), ec)) return true;

    QString current;
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        current += QLatin1Char('/') + part;
        const auto folder = platform::QStringToPath(current);
        if (!std::filesystem::is_directory(folder, ec)) std::filesystem::create_directory(folder, ec);
    }
    return true;
}

}  // namespace tavo
