#include "app/play_list.h"

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
    if (origin == AddressOrigin::Favourites && QDir::isAbsolutePath(a) && !a.contains(QLatin1String("://")))
        return true;
    const QUrl url(a);
    if (!url.isValid()) return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) return !url.host().isEmpty();
    if (scheme == QLatin1String("mms") || scheme == QLatin1String("rtsp"))
        return origin == AddressOrigin::RadioFile && !url.host().isEmpty();
    if (scheme == QLatin1String("file")) return origin == AddressOrigin::Favourites && url.isLocalFile();
    return false;
}

}  // namespace tavo
