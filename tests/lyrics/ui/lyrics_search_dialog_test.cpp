// "搜索歌词": the library's results for the playing song, a choice by hand
// from them or from a lyric file, remembered for the song.
#include "lyrics/ui/lyrics_search_dialog.h"

#include "platform/codepage.h"
#include "support/event_loop.h"
#include "support/fake_lyrics_library.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

namespace tavo {
namespace {

using test::WaitFor;

TEST(ReadLrcFile, EveryEncodingALyricFileComesIn) {
    test::TempDir dir;
    const QString text = QStringLiteral("[00:01.00]晴天");
    const QByteArray utf16 = QByteArray("\xFF\xFE") +
                             QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 with a byte-order mark", utf16},
        {"GB18030", platform::EncodeCp936(text)},
    };
    for (const auto& c : cases) {
        const auto file = dir.Write("a.lrc", c.bytes.toStdString());
        EXPECT_EQ(ReadLrcFile(file), text) << c.what;
    }
    EXPECT_FALSE(ReadLrcFile(dir.Write("big.lrc", std::string(kMaxLrcFileBytes + 1, 'x'))));
    EXPECT_FALSE(ReadLrcFile(dir / "missing.lrc"));
}

class LyricsSearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        library.Add({"Night", "Band", "First", 180, false, "", "[00:01.00]first"});
        library.Add({"Night", "Band", "Second", 241.6, false, "plain words", ""});
        library.Add({"Night", "Band", "Empty", 100, false, "", ""});  // nothing to choose
        LyricsFinderOptions o;
        o.cacheFolder = cache.path();
        o.askService = false;
        finder = std::make_unique<LyricsFinder>(o);
        QObject::connect(finder.get(), &LyricsFinder::Answered, [this](const LyricsAnswer& a) { answers.push_back(a); });
        finder->Find(song);
        WaitFor([&] { return !answers.empty(); }, 3000);
        answers.clear();
    }
    std::unique_ptr<LyricsSearchDialog> Open() {
        auto d = std::make_unique<LyricsSearchDialog>(finder.get(), library.Base(), song);
        bool shown = false;
        auto c = QObject::connect(d.get(), &LyricsSearchDialog::ResultsShown, [&] { shown = true; });
        EXPECT_TRUE(WaitFor([&] { return shown; }, 3000));
        QObject::disconnect(c);
        return d;
    }

    test::FakeLyricsLibrary library;
    test::TempDir cache;
    test::TempDir files;
    const LyricsSong song{QStringLiteral("Night (Live) ┈ Band")};
    std::unique_ptr<LyricsFinder> finder;
    std::vector<LyricsAnswer> answers;
};

TEST_F(LyricsSearchDialogTest, ResultsShowWhatTheyHoldAndAPickIsRemembered) {
    auto d = Open();
    ASSERT_EQ(d->Results()->topLevelItemCount(), 2);
    const QTreeWidgetItem* second = d->Results()->topLevelItem(1);
    EXPECT_EQ(second->text(0), "Night");
    EXPECT_EQ(second->text(1), "Band");
    EXPECT_EQ(second->text(2), "Second");
    EXPECT_EQ(second->text(3), "04:01");
    EXPECT_EQ(second->text(4), QStringLiteral("文本"));
    EXPECT_EQ(d->Results()->topLevelItem(0)->text(4), QStringLiteral("同步"));
    // The search asked with the cleaned title.
    EXPECT_EQ(library.Requests().back().params.at("track_name"), "Night");

    d->Results()->setCurrentItem(d->Results()->topLevelItem(1));
    ASSERT_TRUE(d->UseSelected());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].origin, LyricsOrigin::kChoice);
    EXPECT_EQ(answers[0].shape, LyricsShape::kPlain);
    answers.clear();
    finder->Find(song);
    ASSERT_TRUE(WaitFor([&] { return !answers.empty(); }, 3000));
    EXPECT_EQ(answers[0].origin, LyricsOrigin::kChoice);
    EXPECT_EQ(answers[0].lines, QStringList{"plain words"});
}

TEST_F(LyricsSearchDialogTest, ALyricFileCanBeLoadedInstead) {
    auto d = Open();
    d->askFile = [&]() -> std::optional<std::filesystem::path> {
        return files.Write("mine.lrc", platform::EncodeCp936(QStringLiteral("[00:03.00]我的歌词")).toStdString());
    };
    ASSERT_TRUE(d->LoadFile(*d->askFile()));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].lines, QStringList{QStringLiteral("[00:03.00]我的歌词")});
    answers.clear();
    EXPECT_FALSE(d->LoadFile(files.Write("blank.lrc", "  \r\n")));
    EXPECT_FALSE(d->LoadFile(files / "missing.lrc"));
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(d->Status()->text(), QStringLiteral("无法读取这个歌词文件"));
}

TEST_F(LyricsSearchDialogTest, OfflineItSaysSo) {
    library.Stop();
    auto d = Open();
    EXPECT_EQ(d->Results()->topLevelItemCount(), 0);
    EXPECT_EQ(d->Status()->text(), QStringLiteral("无法连接歌词库"));
    EXPECT_FALSE(d->UseSelected());
}

}  // namespace
}  // namespace tavo
