#pragma once
// The program folder: where the skins, list files, notes database and
// temporary download targets live.
//
// Resolved once, in this order:
//  1. $TAVO_HOME when set (tests point it at a temporary folder);
//  2. the executable's folder, when it holds a "skin" folder and is writable
//     (the build tree, or an unpacked portable copy);
//  3. the per-user data folder ($XDG_DATA_HOME/tavo-musicbox, by default
//     ~/.local/share/tavo-musicbox), created on first start and seeded from
//     the installed program data (skins, radio.txt, ...): <prefix>/share/
//     tavo-musicbox beside the installed executable's <prefix>/bin.

#include <QString>

#include <filesystem>

namespace tavo::platform {

// The resolved program folder (resolved on first call).
const std::filesystem::path& ProgramFolder();

// Replaces the program folder for the rest of the process (tests).
void SetProgramFolder(const std::filesystem::path& folder);

// program folder / relative, with the platform's separators.
std::filesystem::path InProgramFolder(const std::filesystem::path& relative);

// The resolution rules, with their inputs explicit (tested alone).
struct ProgramFolderInputs {
    QString tavoHome;                        // $TAVO_HOME, empty when unset
    std::filesystem::path executableFolder;  // folder of the running executable
    std::filesystem::path userDataFolder;    // per-user data folder
    std::filesystem::path installedData;     // installed seed data
};
std::filesystem::path ResolveProgramFolder(const ProgramFolderInputs& in);

// An XDG base folder: $variable when it holds an absolute path, otherwise
// $HOME/fallbackUnderHome.
std::filesystem::path XdgFolder(const char* variable, const char* fallbackUnderHome);

// Copies every file and folder of `from` that `to` does not have yet.
// Existing files in `to` are never replaced.
void SeedFolder(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tavo::platform
