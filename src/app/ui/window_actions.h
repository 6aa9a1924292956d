#pragma once
// What the desktop asks of the main window from outside it: a second start
// or the media controls bring it to the front, the media controls end the
// program.

namespace tavo {

class MainForm;

// Shows the main window in front, restored if it was minimised or hidden.
void RaiseMainWindow(MainForm& window);

// Ends the program through its one exit path: save steps, tray icon
// removed, event loop ended.
void ExitProgram(MainForm& window);

}  // namespace tavo
