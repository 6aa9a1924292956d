#include "platform/program_folder.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;

struct Folders {
    test::TempDir root;
    fs::path exe = root / "bin";
    fs::path user = root / "user";
    fs::path installed = root / "share";
    Folders() {
        fs::create_directories(exe);
        root.Write("share/skin/蓝色科技/skin.ini", "标题文字色=1,2,3\r\n");
        root.Write("share/radio.txt", "station<|>http://x\r\n");
    }
    ProgramFolderInputs inputs(QString home = {}) const { return {home, exe, user, installed}; }
};

TEST(ProgramFolder, TavoHomeWinsAndIsCreated) {
    Folders f;
    const fs::path home = f.root / "home" / "deep";
    EXPECT_EQ(ResolveProgramFolder(f.inputs(QString::fromStdString(home.string()))), home);
    EXPECT_TRUE(fs::is_directory(home));
}

TEST(ProgramFolder, ExecutableFolderWithSkinsIsAPortableCopy) {
    Folders f;
    fs::create_directories(f.exe / "skin");
    EXPECT_EQ(ResolveProgramFolder(f.inputs()), f.exe);
    EXPECT_FALSE(fs::exists(f.user)) << "a portable copy does not touch the user folder";
}

TEST(ProgramFolder, OtherwiseUserFolderSeededFromInstalledData) {
    Folders f;  // executable folder without skins
    EXPECT_EQ(ResolveProgramFolder(f.inputs()), f.user);
    EXPECT_TRUE(fs::exists(f.user / "skin" / "蓝色科技" / "skin.ini"));
    EXPECT_EQ(test::TempDir::Read(f.user / "radio.txt"), "station<|>http://x\r\n");
}

TEST(ProgramFolder, SeedingNeverReplacesTheUsersFiles) {
    Folders f;
    f.root.Write("user/radio.txt", "my own stations\r\n");
    f.root.Write("user/MySongList.txt", "fav<|>\r\n");
    ResolveProgramFolder(f.inputs());
    EXPECT_EQ(test::TempDir::Read(f.user / "radio.txt"), "my own stations\r\n");
    EXPECT_EQ(test::TempDir::Read(f.user / "MySongList.txt"), "fav<|>\r\n");
    EXPECT_TRUE(fs::exists(f.user / "skin" / "蓝色科技" / "skin.ini"));
}

TEST(ProgramFolder, ReadOnlyExecutableFolderIsNotUsed) {
    if (geteuid() == 0) GTEST_SKIP() << "root can write anywhere";
    Folders f;
    fs::create_directories(f.exe / "skin");
    chmod(f.exe.c_str(), 0555);
    EXPECT_EQ(ResolveProgramFolder(f.inputs()), f.user);
    chmod(f.exe.c_str(), 0755);
}

TEST(ProgramFolder, InProgramFolderJoinsWithTheSeparator) {
    test::ScopedProgramFolder folder;
    EXPECT_EQ(InProgramFolder("notepad/notepad.mdb"), folder.path() / "notepad" / "notepad.mdb");
}

}  // namespace
}  // namespace tavo::platform
