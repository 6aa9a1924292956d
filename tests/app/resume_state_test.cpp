#include "app/resume_state.h"

#include "platform/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace tavo {
namespace {

class MemorySettings : public platform::SettingsStore {
public:
    QString GetSetting(const QString& a, const QString& s, const QString& k) override { return values[a + s + k]; }
    bool SaveSetting(const QString& a, const QString& s, const QString& k, const QString& v) override {
        values[a + s + k] = v;
        return true;
    }
    std::map<QString, QString> values;
};

class Resume : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<MemorySettings>();
        settings = store.get();
        platform::SetSettings(std::move(store));
    }
    // The other tests of this program find a file store again.
    void TearDown() override { platform::SetSettings(std::make_unique<platform::IniSettingsStore>(after.path())); }
    MemorySettings* settings = nullptr;
    test::TempDir after;
};

TEST_F(Resume, IsOnUntilSwitchedOffAndForgetsNothingAcrossARestart) {
    EXPECT_TRUE(ResumeEnabled());
    EXPECT_FALSE(LoadResumePoint()) << "nothing saved yet";
    const ResumePoint saved{0, -1, -1, 12, QStringLiteral("晴天 ┈ 周杰伦"), QStringLiteral("/m/a.mp3"), 83250};
    SaveResumePoint(saved);
    const auto back = LoadResumePoint();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->source, 0);
    EXPECT_EQ(back->index, 12);
    EXPECT_EQ(back->entryText, saved.entryText);
    EXPECT_EQ(back->link, saved.link);
    EXPECT_EQ(back->positionMs, 83250);
    SetResumeEnabled(false);
    EXPECT_FALSE(ResumeEnabled());
    EXPECT_FALSE(LoadResumePoint()) << "switched off";
    SetResumeEnabled(true);
    SaveResumePoint(std::nullopt);
    EXPECT_FALSE(LoadResumePoint()) << "an exit with nothing playing clears it";
}

TEST_F(Resume, DamagedValuesGiveNoPointOrAZeroPosition) {
    SaveResumePoint(ResumePoint{5, 2, 3, 4, QStringLiteral("x"), QString(), 1000});
    for (const auto& [key, value] : std::map<QString, QString>{{"ResumeIndex", "abc"}, {"ResumeSource", "-4"}}) {
        const auto keep = settings->values;
        for (auto& [k, v] : settings->values)
            if (k.endsWith(key)) v = value;
        EXPECT_FALSE(LoadResumePoint()) << key.toStdString();
        settings->values = keep;
    }
    for (auto& [k, v] : settings->values)
        if (k.endsWith(QStringLiteral("ResumePosition"))) v = QStringLiteral("99999999999");
    ASSERT_TRUE(LoadResumePoint());
    EXPECT_EQ(LoadResumePoint()->positionMs, 0);
}

TEST_F(Resume, FindsTheSongAgainInAChangedList) {
    const ResumePoint p{0, -1, -1, 1, QStringLiteral("b"), QStringLiteral("/m/b.mp3"), 0};
    const struct {
        QStringList entries, links;
        std::optional<int> row;
    } cases[] = {
        {{"a", "b", "c"}, {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, 1},
        {{"new", "a", "b"}, {"/n", "/m/a.mp3", "/m/b.mp3"}, 2},                 // moved down
        {{"a", "b", "b"}, {"/m/a.mp3", "/other/b.mp3", "/m/b.mp3"}, 2},         // same name, other file
        {{"a", "c"}, {"/m/a.mp3", "/m/c.mp3"}, std::nullopt},                   // removed
        {{"x", "b"}, {}, 1},                                                    // a list without links
        {{}, {}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ResumeRow(p, c.entries, c.links), c.row) << c.entries.join(',').toStdString();
}

TEST_F(Resume, PositionNearTheEndStartsTheSongOver) {
    ResumePoint p;
    p.positionMs = 200000;
    EXPECT_EQ(ResumePositionMs(p, 240000), 200000);
    EXPECT_EQ(ResumePositionMs(p, 203000), 0);
    EXPECT_EQ(ResumePositionMs(p, 0), 200000) << "length unknown (a stream)";
    p.positionMs = -5;
    EXPECT_EQ(ResumePositionMs(p, 240000), 0);
}

}  // namespace
}  // namespace tavo
