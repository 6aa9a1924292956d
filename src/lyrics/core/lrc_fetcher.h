#pragma once
// The lyrics fetch without a window: asks the lyrics service for one song's
// lyrics through its own download control `LrcDown`, and keeps the lyric
// lines (`list1`) of the reply.
//
// Only the newest fetch counts, and only while its song still plays: a
// reply that arrives after another fetch began, after the lines were
// cleared, or after the player moved to another song (one without lyrics,
// such as a radio station) is dropped and changes nothing.

#include "download/qel_down.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace tavo {

class LrcFetcher : public QObject {
    Q_OBJECT
public:
    // `playingNow` gives the display name of the song that plays now.
    explicit LrcFetcher(std::function<QString()> playingNow, QObject* parent = nullptr);

    // Starts fetching the lyrics of `name`: the lines are emptied, "lrc.tmp"
    // in the program folder is deleted, any earlier fetch is dropped.
    void Begin(const QString& name);
    // Empties the lines and drops the fetch in flight.
    void Clear();

    const QStringList& Lines() const { return lines_; }
    bool Fetching() const { return fetching_; }
    QelDown& LrcDown() { return lrcDown_; }

Q_SIGNALS:
    // The fetch for `name` ended: with its lines stored, or without lyrics.
    void Found(const QString& name);
    void NotFound(const QString& name);

private:
    void OnFinished(std::int32_t bytes, std::int16_t error);

    std::function<QString()> playingNow_;
    QelDown lrcDown_;
    QStringList lines_;
    bool fetching_ = false;
    QString name_;  // the song of the fetch in flight
};

}  // namespace tavo
