#include "app/now_playing.h"

namespace tavo {

QString NowPlayingText(const QString& listedName, const QString& streamTitle) {
    const QString announced = streamTitle.trimmed();
    return announced.isEmpty() ? listedName : announced;
}

void SplitStreamTitle(const QString& streamTitle, QString* title, QStringList* artists) {
    artists->clear();
    const QString t = streamTitle.trimmed();
    const qsizetype at = t.indexOf(QLatin1String(" - "));
    const QString artist = at > 0 ? t.left(at).trimmed() : QString();
    const QString song = at > 0 ? t.mid(at + 3).trimmed() : QString();
    if (artist.isEmpty() || song.isEmpty()) {
        *title = t;
        return;
    }
    *title = song;
    artists->append(artist);
}

}  // namespace tavo
