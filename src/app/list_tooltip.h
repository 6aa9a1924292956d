#pragma once
// The tool tip of a row of the viewed list: its entry, and for a favourite
// whose line carries a duration (the local songs), that duration.

#include <QDateTime>
#include <QHash>
#include <QString>

namespace tavo {

class PlayerCore;

// Seconds as "m:ss", or "h:mm:ss" from an hour on.
QString DurationText(int seconds);

class ListToolTip {
public:
    explicit ListToolTip(PlayerCore& core) : c_(core) {}

    // The tip of row `row` of the viewed page (from 0); empty off the rows.
    QString Row(int row);

private:
    // A favourite's duration by its link, -1 when unknown; the favourites
    // file is read again only when it has changed.
    int Seconds(const QString& link);

    PlayerCore& c_;
    QHash<QString, int> seconds_;
    QDateTime modified_;
    qint64 size_ = -1;
};

}  // namespace tavo
