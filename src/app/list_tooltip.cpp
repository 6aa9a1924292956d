#include "app/list_tooltip.h"

#include "app/favourites_file.h"
#include "app/list_files.h"
#include "app/local_import.h"
#include "app/player_core.h"
#include "platform/ansi_text.h"

#include <QFileInfo>

namespace tavo {

QString DurationText(int seconds) {
    const QLatin1Char zero('0');
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, zero)
            .arg(seconds % 60, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, zero);
}

QString ListToolTip::Row(int row) {
    if (row < 0 || row >= c_.list.PageEntryCount()) return {};
    const int index = c_.gsl.CurPage * 10 + row;
    const QString entry = c_.list.Entry(index);
    if (entry.isEmpty() || KindOfSource(c_.Selection()) != SourceKind::Favourites) return entry;
    const int seconds = Seconds(c_.list.FavLinks.value(index));
    return seconds < 0 ? entry : entry + QStringLiteral("\n时长：") + DurationText(seconds);
}

int ListToolTip::Seconds(const QString& link) {
    if (link.isEmpty()) return -1;
    const std::filesystem::path file = FavouritesFile();
    const QFileInfo info(platform::PathToQString(file));
    if (info.lastModified() != modified_ || info.size() != size_) {
        modified_ = info.lastModified();
        size_ = info.size();
        seconds_.clear();
        if (size_ <= kMaxListFileBytes) {
            for (const FavouritesEditor::Line& line : FavouritesEditor(file).Lines()) {
                const int secs = FavouriteLineSeconds(line.text);
                const std::optional<ListRecord> record = ParseListLine(line.text);
                if (secs >= 0 && record && !record->link.isEmpty()) seconds_.insert(record->link, secs);
            }
        }
    }
    return seconds_.value(link, -1);
}

}  // namespace tavo
