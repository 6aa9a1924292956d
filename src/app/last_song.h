#pragma once
// The last song back after a restart ("记住上次播放", on until switched off).
//
// At exit SaveLastSong (one of the exit path's save steps) saves the playing
// list's source, the song and the position. At start-up ResumeSourceAtStart
// shows that song's list instead of the default one and holds automatic
// play back; once the list has arrived the song's page is shown and, when
// automatic play was on, the song plays from where it was. The lists that
// are fetched by a chart's period and entry are not brought back: the
// default list shows as before.

#include "app/resume_state.h"

#include <QObject>

#include <cstdint>
#include <optional>

namespace tavo {

class PlayerCore;

// What plays now as a point to save; nullopt when no song is chosen.
std::optional<ResumePoint> CurrentResumePoint(PlayerCore& core);
// Saves it (clears the saved point when nothing is chosen or the setting is off).
void SaveLastSong(PlayerCore& core);

// Start-up, once the settings are read: the source to show first, the
// saved song's when it comes back, else `defaultIndex`.
int ResumeSourceAtStart(PlayerCore& core, int defaultIndex);

// Waits for the saved song's list and brings the song back; it deletes
// itself when done, when the user chooses another list, or after a minute.
class LastSongBack : public QObject {
    Q_OBJECT
public:
    LastSongBack(PlayerCore& core, ResumePoint point);

private:
    void Check();
    void Apply();
    void Finish();

    PlayerCore& c_;
    ResumePoint point_;
    bool autoPlay_;
    std::uint64_t seekTag_ = 0;  // the song to seek once it plays
};

}  // namespace tavo
