#include "app/play_list.h"

#include "sources/addresses.h"
#include "sources/get_song_list.h"

#include <QDir>
#include <QUrl>

namespace tavo {

QStringList SplitListText(const QString& text) {
    if (!text.contains(kEntrySep)) return {};
    QStringList entries = text.split(kEntrySep);
    entries.removeLast();  // after the last "{@}"
    if (entries.size() > kMaxListEntries) entries.resize(kMaxListEntries);
    return entries;
}

QString JoinListText(const QStringList& entries) {
    QString text;
    for (const QString& e : entries) text += e + kEntrySep;
    return text;
}

bool MayPlay(const QString& address, AddressOrigin origin) {
    const QString a = address.trimmed();
    if (a.isEmpty()) return false;
    // Local files only from the favourites file, which the user writes.
    if (origin == AddressOrigin::Favourites) {
        if (QDir::isAbsolutePath(a) && !a.contains(QLatin1String("://"))) return true;
        if (QUrl(a).isLocalFile()) return true;
    }
    return IsPlayableNetworkAddress(a, origin == AddressOrigin::RadioFile);
}

}  // namespace tavo
