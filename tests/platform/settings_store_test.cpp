#include "platform/settings_store.h"

#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo::platform {
namespace {

const QString kApp = QStringLiteral("Tavo音乐盒2010");

TEST(SettingsStore, MissingKeysReadAsEmptyText) {
    test::TempDir dir;
    IniSettingsStore store(dir / "cfg");
    EXPECT_EQ(store.GetSetting(kApp, "Config", "isClose"), QString());
    EXPECT_FALSE(std::filesystem::exists(dir / "cfg")) << "reading must not create files";
}

TEST(SettingsStore, SavedValuesReadBackFromAFreshStore) {
    test::TempDir dir;
    {
        IniSettingsStore store(dir.path());
        store.SaveSetting(kApp, "Skin", "name", QStringLiteral("蓝色科技"));
        store.SaveSetting(kApp, "Config", "isClose", "1");
        store.SaveSetting(kApp, "Config", "isPlayListIndex", "3");
        store.SaveSetting(kApp, "Config", "isClose", "0");  // overwritten
    }
    IniSettingsStore again(dir.path());
    EXPECT_EQ(again.GetSetting(kApp, "Skin", "name"), QStringLiteral("蓝色科技"));
    EXPECT_EQ(again.GetSetting(kApp, "Config", "isClose"), "0");
    EXPECT_EQ(again.GetSetting(kApp, "Config", "isPlayListIndex"), "3");
    // Sections and application names keep their keys apart.
    EXPECT_EQ(again.GetSetting(kApp, "Skin", "isClose"), QString());
    EXPECT_EQ(again.GetSetting("Other", "Config", "isClose"), QString());
}

TEST(SettingsStore, ValueIsOnDiskWhenSaveReturns) {
    // A crash right after saving must not lose the value: the file already
    // holds it before the store object goes away.
    test::TempDir dir;
    IniSettingsStore store(dir.path());
    store.SaveSetting(kApp, "Config", "LrcShow", "1");
    const std::string content = test::TempDir::Read(store.FileFor(kApp));
    EXPECT_NE(content.find("LrcShow=1"), std::string::npos) << content;
}

TEST(SettingsStore, AFailedWriteSaysSoEveryTimeAndALaterWriteWorks) {
    // The settings folder would lie under a regular file: no folder can be
    // made there, whoever runs the test (root included).
    test::TempDir dir;
    const auto blocker = dir.Write("blocker", "not a folder");
    IniSettingsStore store(blocker / "cfg");
    EXPECT_FALSE(store.SaveSetting(kApp, "Config", "isClose", "1"));
    EXPECT_FALSE(store.SaveSetting(kApp, "Config", "isRunPlay", "1"));
    EXPECT_EQ(store.GetSetting(kApp, "Config", "isClose"), QString());
    EXPECT_EQ(store.Location(), QString::fromStdString((blocker / "cfg").string()));

    // Once the folder can be made, saving works again.
    std::filesystem::remove(blocker);
    EXPECT_TRUE(store.SaveSetting(kApp, "Config", "isClose", "0"));
    EXPECT_EQ(IniSettingsStore(blocker / "cfg").GetSetting(kApp, "Config", "isClose"), "0");
}

TEST(SettingNumber, TakesTheLeadingDigits) {
    struct Case {
        const char* text;
        long long value;
    } cases[] = {
        {"", 0}, {"abc", 0}, {"0", 0}, {"1", 1}, {"12abc", 12}, {" 7", 7}, {"-1", -1},
        {"+3", 3}, {"-", 0}, {"3.9", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingNumber(c.text), c.value) << c.text;
    // Far too many digits saturate instead of overflowing.
    EXPECT_GT(SettingNumber("99999999999999999999999999"), 100000000000000000LL);
}

}  // namespace
}  // namespace tavo::platform
