#include "platform/program_folder.h"

#include "platform/ansi_text.h"


#include <optional>
#include <system_error>
#include <unistd.h>

namespace tavo::platform {

namespace fs = std::filesystem;

fs::path XdgFolder(const char* variable, const char* fallbackUnderHome) {
    const QByteArray xdg = qgetenv(variable);
    if (!xdg.isEmpty() && xdg.startsWith('/')) return fs::path(xdg.toStdString());
    const QByteArray home = qgetenv("HOME");
    return fs::path(home.isEmpty() ? std::string("/tmp") : home.toStdString()) / fallbackUnderHome;
}

namespace {

std::optional<fs::path>& Resolved() {
    static std::optional<fs::path> folder;
    return folder;
}

bool IsWritableFolder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec) && ::access(p.c_str(), W_OK) == 0;
}

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

fs::path UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") / "tavo-musicbox"; }

// The installed program data: beside an installed executable
// (<prefix>/bin -> <prefix>/share/tavo-musicbox), so that a package
// unpacked anywhere finds its own; else where the build meant to install it.
fs::path InstalledData(const fs::path& executableFolder) {
    std::error_code ec;
    const fs::path beside = executableFolder.parent_path() / "share" / "tavo-musicbox";
    if (!executableFolder.empty() && fs::is_directory(beside / "skin", ec)) return beside;
    return fs::path(TAVO_DATA_INSTALL_DIR);
}

}  // namespace

void SeedFolder(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (!fs::is_directory(from, ec)) return;
    fs::create_directories(to, ec);
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::path rel = fs::relative(it->path(), from, ec);
        if (ec) break;
        const fs::path target = to / rel;
        std::error_code e2;
        if (it->is_directory(e2)) {
            fs::create_directories(target, e2);
        } else if (!fs::exists(target, e2)) {
            fs::copy_file(it->path(), target, e2);
        }
    }
}

fs::path ResolveProgramFolder(const ProgramFolderInputs& in) {
    std::error_code ec;
    if (!in.tavoHome.isEmpty()) {
        fs::path home = QStringToPath(in.tavoHome);
        fs::create_directories(home, ec);
        return home;
    }
    if (!in.executableFolder.empty() && fs::is_directory(in.executableFolder / "skin", ec) &&
        IsWritableFolder(in.executableFolder))
        return in.executableFolder;
    SeedFolder(in.installedData, in.userDataFolder);
    fs::create_directories(in.userDataFolder, ec);
    return in.userDataFolder;
}

const fs::path& ProgramFolder() {
    auto& folder = Resolved();
    if (!folder) {
        ProgramFolderInputs in;
        in.tavoHome = qEnvironmentVariable("TAVO_HOME");
        in.executableFolder = ExecutableFolder();
        in.userDataFolder = UserDataFolder();
        in.installedData = InstalledData(in.executableFolder);
        folder = ResolveProgramFolder(in);
    }
    return *folder;
}

void SetProgramFolder(const fs::path& folder) { Resolved() = folder; }

fs::path InProgramFolder(const fs::path& relative) { return ProgramFolder() / relative; }

}  // namespace tavo::platform
