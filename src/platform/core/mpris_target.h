#pragma once
// What the desktop's media controls (MPRIS) see of the player and may ask of
// it. The player implements it over its own logic; the bus side
// (mpris_service.h) knows nothing else of the player.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace tavo::platform {

enum class MprisStatus { Stopped, Playing, Paused };

struct MprisTrack {
    // Tells songs apart: letters, digits and '_' only. Empty: no song.
    QString id;
    QString title;
    QStringList artists;
    qint64 lengthUs = 0;  // 0 when unknown
    QString url;
    QString lyricLine;    // the lyrics line shown now, empty when none
    QString lyricText;    // the song's whole lyric text (LRC form); when known it is
                          // what xesam:asText carries, and lyricLine stays empty
    QString artUrl;       // file:// address of the song's cover, empty when none

    bool operator==(const MprisTrack&) const = default;
};

struct MprisAbilities {
    bool play = false;
    bool pause = false;
    bool next = false;
    bool previous = false;
    bool seek = false;

    bool operator==(const MprisAbilities&) const = default;
};

class MprisTarget {
public:
    virtual ~MprisTarget() = default;

    virtual MprisStatus Status() const = 0;
    virtual MprisTrack Track() const = 0;
    virtual qint64 PositionUs() const = 0;
    virtual double Volume() const = 0;  // 0 to 1
    virtual MprisAbilities Can() const = 0;

    // Commands. Each is done only where Can() allows it; the bus side checks.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;
    virtual void Previous() = 0;
    virtual void SetPositionUs(qint64 us) = 0;  // within the song
    virtual void SetVolume(double volume) = 0;  // 0 to 1
    virtual void Raise() = 0;
    virtual void Quit() = 0;
};

}  // namespace tavo::platform
