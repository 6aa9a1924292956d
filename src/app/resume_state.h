#pragma once
// The last song back after a restart: at exit the playing list's source,
// the song and the position are saved; at the next start, when the setting
// "isResume" of section "Config" is on (it is on until switched off), the
// song is selected again and, with automatic play on, resumed there.
//
// The song is found again by its entry text, not its index alone: the list
// may have changed between runs (a chart page, a favourites file edited).

#include <QString>
#include <QStringList>

#include <optional>

namespace tavo {

struct ResumePoint {
    int source = 0;       // source selector index of the playing list
    int period = -1;      // chart period and entry selections (-1: none)
    int entry = -1;
    int index = -1;       // the song's index in that list
    QString entryText;    // the song's entry as the list showed it
    QString link;         // its link, when the list has links (favourites, radio)
    int positionMs = 0;   // where it was at exit
};

// The setting, on when never saved.
bool ResumeEnabled();
void SetResumeEnabled(bool on);

// Saves the point, or clears it when `point` is nullopt (nothing playing).
void SaveResumePoint(const std::optional<ResumePoint>& point);
// The saved point; nullopt when none was saved, it is unreadable, or the
// setting is off.
std::optional<ResumePoint> LoadResumePoint();

// The row of `entries` the point names: its index when the entry there is
// still the same song, else the first row with the same entry (and link,
// when links are given); nullopt when the song is gone.
std::optional<int> ResumeRow(const ResumePoint& point, const QStringList& entries, const QStringList& links = {});

// Where to start playing: the saved position, or 0 when it is unknown or
// within the last seconds of a song of `durationMs` (0: length unknown).
int ResumePositionMs(const ResumePoint& point, int durationMs);

}  // namespace tavo
