#pragma once
// Decisions of the main window that need no window: what the close button
// does, the volume track's mapping, whether the lyrics window shows at
// start. The windows (main, tray, skin) call these.

namespace tavo {

// What the close button PageA(7) does, from the setting Config/isClose (its
// numeric value) and whether a tray icon exists to bring a hidden window
// back: 0 hides to the tray, or minimises when there is no tray (a hidden
// window could not be reached again); anything else asks and exits.
enum class CloseAction { HideToTray, Minimise, AskToExit };
CloseAction CloseButtonAction(long long isClose, bool trayAvailable);

// The vertical volume track of height `trackHeight` pixels. A press `y`
// pixels below the track's top sets the volume (H - y) / (H / 100), rounded
// to the nearest integer with halves to even: the top gives 100, the bottom
// 0 (presses outside the track count as its nearest end).
int VolumeFromPress(int trackHeight, int y);
// The fill that shows volume `volume` runs from this many pixels below the
// track's top down to its bottom: H - Int(H / 100 × volume).
int VolumeFillTop(int trackHeight, int volume);

// The setting Config/LrcShow: whether the lyrics window shows at start.
bool LrcShowAtStart();

}  // namespace tavo
