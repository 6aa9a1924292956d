#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_offsets.h"
#include "lyrics/lyric_options.h"
#include "platform/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

const QString kApp = QStringLiteral("Tavo音乐盒2010");

TEST(LyricOptions, DefaultsFollowTheSkin) {
    const LyricOptions dark = DefaultLyricOptions(0x104080);
    EXPECT_EQ(dark.color, 0xFF104080u);
    EXPECT_NE(dark.playedColor, dark.color);
    EXPECT_NE(DefaultLyricOptions(0xF0F0F0).playedColor, dark.playedColor);  // light skins get their own
}

TEST(LyricOptions, SavedOptionsReadBackAfterARestart) {
    test::TempDir dir;
    LyricOptions chosen = DefaultLyricOptions(0x104080);
    chosen.fontFamily = QStringLiteral("Noto Sans CJK SC");
    chosen.fontPx = 28;
    chosen.playedColor = 0x80FF0000u;
    chosen.color = 0xFF00FF00u;
    chosen.backAlpha = 0;
    chosen.karaoke = true;
    chosen.lines = 5;
    chosen.translation = false;
    chosen.locked = true;
    chosen.edge = LyricEdge::Shadow;
    {
        platform::IniSettingsStore store(dir.path());
        SaveLyricOptions(store, kApp, chosen);
    }
    platform::IniSettingsStore fresh(dir.path());
    EXPECT_EQ(fresh.GetSetting(kApp, QStringLiteral("Config"), QStringLiteral("LrcPlayedColor")), QStringLiteral("#80FF0000"));
    const LyricOptions back = LoadLyricOptions(fresh, kApp, DefaultLyricOptions(0));
    EXPECT_EQ(back.fontFamily, chosen.fontFamily);
    EXPECT_EQ(back.fontPx, 28);
    EXPECT_EQ(back.playedColor, chosen.playedColor);
    EXPECT_EQ(back.color, chosen.color);
    EXPECT_EQ(back.backAlpha, 0);
    EXPECT_TRUE(back.karaoke);
    EXPECT_EQ(back.lines, 5);
    EXPECT_FALSE(back.translation);
    EXPECT_TRUE(back.locked);
    EXPECT_EQ(back.edge, LyricEdge::Shadow);
}

TEST(LyricOptions, UnreadableValuesKeepTheDefaults) {
    test::TempDir dir;
    platform::IniSettingsStore store(dir.path());
    const struct {
        const char* key;
        const char* value;
    } bad[] = {{"LrcLines", "3"},          {"LrcLines", "-1"},        {"LrcFontSize", "2"},
               {"LrcFontSize", "100000"},  {"LrcPlayedColor", "red"}, {"LrcColor", "#12"},
               {"LrcBackAlpha", "256"},    {"LrcEdge", "glow"},       {"LrcFont", "   "}};
    const LyricOptions defaults = DefaultLyricOptions(0x104080);
    for (const auto& b : bad) {
        store.SaveSetting(kApp, QStringLiteral("Config"), QString::fromLatin1(b.key), QString::fromLatin1(b.value));
        const LyricOptions o = LoadLyricOptions(store, kApp, defaults);
        EXPECT_EQ(o.lines, defaults.lines) << b.key << "=" << b.value;
        EXPECT_EQ(o.fontPx, defaults.fontPx) << b.key << "=" << b.value;
        EXPECT_EQ(o.playedColor, defaults.playedColor) << b.key << "=" << b.value;
        EXPECT_EQ(o.color, defaults.color) << b.key << "=" << b.value;
        EXPECT_EQ(o.backAlpha, defaults.backAlpha) << b.key << "=" << b.value;
        EXPECT_EQ(o.edge, defaults.edge) << b.key << "=" << b.value;
        EXPECT_EQ(o.fontFamily, defaults.fontFamily) << b.key << "=" << b.value;
    }
}

TEST(LyricOffsets, KeptPerSongAcrossARestart) {
    test::TempDir dir;
    const QString songA = QStringLiteral("/music/a [live].mp3");
    const QString songB = QStringLiteral("http://host/b.mp3?x=1&y=/2");
    {
        platform::IniSettingsStore store(dir.path());
        LyricOffsets offsets(store, kApp);
        EXPECT_EQ(offsets.Shift(songA, kLyricOffsetStepMs).offsetMs, 500);
        EXPECT_EQ(offsets.Shift(songA, kLyricOffsetStepMs).offsetMs, 1000);
        const LyricOffsets::Change b = offsets.Shift(songB, -kLyricOffsetStepMs);
        EXPECT_EQ(b.offsetMs, -500);
        EXPECT_TRUE(b.saved);
    }
    platform::IniSettingsStore fresh(dir.path());
    LyricOffsets again(fresh, kApp);
    EXPECT_EQ(again.OffsetFor(songA), 1000);
    EXPECT_EQ(again.OffsetFor(songB), -500);
    EXPECT_EQ(again.OffsetFor(QStringLiteral("/music/other.mp3")), 0);
    // The file's own offset counts first; the user's is added to it.
    const LyricDoc doc = ParseLyricDoc(QStringLiteral("[offset:+200]\n[00:10.00]a"));
    EXPECT_EQ(LyricTime(doc, 9000, again.OffsetFor(songA)), 10200);
}

TEST(LyricOffsets, StayWithinTheLimitWhateverTheStoreHolds) {
    test::TempDir dir;
    platform::IniSettingsStore store(dir.path());
    LyricOffsets offsets(store, kApp);
    const QString song = QStringLiteral("/s.mp3");
    for (int i = 0; i < 2000; ++i) offsets.Shift(song, kLyricOffsetStepMs);
    EXPECT_EQ(offsets.OffsetFor(song), kMaxLyricOffsetMs);
    EXPECT_EQ(offsets.Shift(song, -2 * kMaxLyricOffsetMs - 7).offsetMs, -kMaxLyricOffsetMs);
}

// A store that keeps values in memory but refuses every save, as a
// read-only settings file does.
class RefusingStore : public platform::SettingsStore {
public:
    QString GetSetting(const QString&, const QString&, const QString&) override { return {}; }
    bool SaveSetting(const QString&, const QString&, const QString&, const QString&) override {
        ++refused;
        return false;
    }
    int refused = 0;
};

TEST(LyricSettingsSave, AFailedSaveIsReportedToTheCaller) {
    RefusingStore store;
    LyricOffsets offsets(store, kApp);
    const LyricOffsets::Change change = offsets.Shift(QStringLiteral("/s.mp3"), kLyricOffsetStepMs);
    EXPECT_FALSE(change.saved);
    EXPECT_EQ(change.offsetMs, kLyricOffsetStepMs);  // still applies to this play
    EXPECT_EQ(store.refused, 1);

    store.refused = 0;
    EXPECT_FALSE(SaveLyricOptions(store, kApp, DefaultLyricOptions(0x104080)));
    EXPECT_GE(store.refused, 9);  // every key was still tried

    test::TempDir dir;
    platform::IniSettingsStore good(dir.path());
    EXPECT_TRUE(SaveLyricOptions(good, kApp, DefaultLyricOptions(0x104080)));
    EXPECT_TRUE(LyricOffsets(good, kApp).Shift(QStringLiteral("/s.mp3"), 1).saved);
}

TEST(LyricOffsetCaption, ShowsSignedTenthsOfASecond) {
    const struct {
        int ms;
        const char* text;
    } cases[] = {{500, "+0.5 s"}, {-500, "-0.5 s"}, {0, "0.0 s"}, {1500, "+1.5 s"}, {-12000, "-12.0 s"}, {40, "0.0 s"}};
    for (const auto& c : cases) EXPECT_EQ(LyricOffsetCaption(c.ms), QString::fromUtf8(c.text)) << c.ms;
}

}  // namespace
}  // namespace tavo
