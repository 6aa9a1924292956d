#pragma once
// Start-up and the window buttons that end or hide it: the load handler
// with its steps in their order, the skin check, the close and minimise
// buttons.

namespace tavo {

class PlayerCore;

class StartUp {
public:
    explicit StartUp(PlayerCore& core) : c_(core) {}

    // The load handler: the start-up steps in their order, with the hooks
    // of MainHooks where other parts of the program take over. False when
    // the program must end (no skin): the message has been shown.
    bool Form_Load();
    // The skin check: lists the skin folders (sorted by name) into
    // SkinFolders and settles CurrentSkin. False (after the message) when
    // there is none.
    bool LoadMenu();
    // The close button PageA(7): hide (or minimise without a tray), or ask
    // and exit through ExitPath (CloseButtonAction, window_rules.h).
    void CloseButton();
    // The minimise button PageA(8).
    void MinimizeButton();

private:
    PlayerCore& c_;
};

}  // namespace tavo
