#pragma once
// Stations from outside the lists: a station from the station directory is
// played at once ("试听") without becoming part of any list the user
// browses, and the station list is read again when a station was added to
// "radio.txt" while the user looks at it.

#include <QString>

namespace tavo {

class PlayerCore;

// Stops what plays and plays the station `name` at `address` (an address the
// directory gave, http or https) as a one-station list that no selector
// shows: no row of the viewed list is marked as playing, and the station,
// like any station, stays stopped when it ends. An address the player may
// not open is refused with the usual status text.
void PlayStationNow(PlayerCore& core, const QString& name, const QString& address);

// "radio.txt" changed: the station list is read again when it is the list
// shown, without starting anything; any other list is left alone.
void StationListChanged(PlayerCore& core);

}  // namespace tavo
