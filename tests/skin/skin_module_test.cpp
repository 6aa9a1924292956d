// Skin colour lines, the skin folder rules and the background picture.
#include "skin/skin_colour.h"
#include "skin/skin_module.h"

#include "platform/ansi_text.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>

namespace fs = std::filesystem;
using namespace tavo;

namespace {

SkinColours Read(const QStringList& lines, QStringList* pictures = nullptr) {
    SkinColours c;
    SetDefaultColours(c);
    QStringList p;
    ReadSkinLines(lines, c, pictures ? *pictures : p);
    return c;
}

TEST(SkinIni, ColourLines) {
    const int32_t kept = SkinRgb(166, 165, 165);  // the default title colour
    const struct {
        const char16_t* line;
        int32_t title;
    } cases[] = {
        {u"标题文字色=10,20,30", SkinRgb(10, 20, 30)},
        {u"标题文字色=10,20", kept},
        {u"标题文字色=10,20,30,40", kept},
        {u"标题文字色= 10 , 20 , 30", SkinRgb(10, 20, 30)},
        {u"标题文字色=1 0,\t2 0,3\n0", SkinRgb(10, 20, 30)},
        {u"标题文字色=300,0,0", SkinRgb(255, 0, 0)},
        {u"标题文字色=-5,7x,abc", SkinRgb(0, 7, 0)},
        {u"标题文字色=2.5,3.5,1e2", SkinRgb(2, 4, 100)},
        {u"标题文字色=1,2,3=9,9,9", SkinRgb(1, 2, 3)},
        {u"标题文字色 10,20,30", kept},  // no "=": nothing to read
        {u"  前缀标题文字色后缀=5,6,7", SkinRgb(5, 6, 7)},  // a key anywhere in the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        EXPECT_EQ(Read({QString::fromUtf16(c.line)}).TitleTextColor, c.title);
    }
}

TEST(SkinIni, SubstringKeysAndTheLastLineWins) {
    // Every "…背景色" line also sets BackgroundColor; the last one counts.
    SkinColours c = Read({"背景色=1,2,3", "播放状态背景色=4,5,6"});
    EXPECT_EQ(c.BackgroundColor, SkinRgb(4, 5, 6));
    EXPECT_EQ(c.PlayStateBackColor, SkinRgb(4, 5, 6));
    c = Read({"播放状态背景色=4,5,6", "背景色=1,2,3"});
    EXPECT_EQ(c.BackgroundColor, SkinRgb(1, 2, 3));

    // Every "日历…" line also sets ShowCalendar.
    EXPECT_EQ(Read({"日历=显示", "日历文字色=1,1,1"}).ShowCalendar, False16);
    EXPECT_EQ(Read({"日历文字色=1,1,1", "日历= 显示 "}).ShowCalendar, True16);
    EXPECT_EQ(Read({"日历=隐藏"}).ShowCalendar, False16);

    // "音量状态色" is not inside "音量状态背景色".
    c = Read({"音量状态背景色=9,9,9"});
    EXPECT_EQ(c.VolumeBackColor, SkinRgb(9, 9, 9));
    EXPECT_EQ(c.VolumeColor, 0);

    QStringList pictures;
    Read({"背景图= bg.png ", "背景图=/abs/x.png"}, &pictures);
    EXPECT_EQ(pictures, QStringList({"bg.png", "/abs/x.png"}));
}

TEST(SkinIni, CountOfOverlapsAndEmptyPart) {
    EXPECT_EQ(CountOf(u"a,b,c", u","), 2);
    EXPECT_EQ(CountOf(u"aaa", u"aa"), 2);
    EXPECT_EQ(CountOf(u"abc", u""), 0);
    EXPECT_EQ(CountOf(QString(40000, u','), u","), 32767);
}

class LoadSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        SkinModule::SetDefaultSkinColours();
        SkinModule::BackgroundColor = 0;
        SkinModule::FloatBorderColor = 0;
        SkinModule::Image1 = QImage();
        SkinModule::Scale = 1;
        SkinModule::CurrentSkin = "one";
        fs::create_directories(home.path() / "skin" / "one");
    }
    void TearDown() override { SkinModule::Image1 = QImage(); }

    fs::path Skin(const QString& name) { return home.path() / "skin" / platform::QStringToPath(name); }
    void Ini(const QString& name, const QStringList& lines) {
        fs::create_directories(Skin(name));
        platform::WriteTextLines(Skin(name) / "skin.ini", lines);
    }
    static void Picture(const fs::path& file, QColor colour, QSize size = {8, 6}) {
        fs::create_directories(file.parent_path());
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(platform::PathToQString(file), "PNG"));
    }

    test::ScopedProgramFolder home;
    test::ScopedFakeMessageBox messages;
};

TEST_F(LoadSkinTest, BackgroundPictureRelativeAbsoluteAndMissing) {
    Picture(Skin("one") / "bg.png", Qt::red);
    test::TempDir elsewhere;
    Picture(elsewhere / "far.png", Qt::blue);
    const struct {
        QString value;
        QRgb expected;  // 0: no picture
    } cases[] = {
        {"bg.png", qRgb(255, 0, 0)},
        {platform::PathToQString(elsewhere / "far.png"), qRgb(0, 0, 255)},
        {"D:\\pics\\bg.png", 0},
        {"missing.png", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        Ini("one", {"背景图=" + c.value});
        SkinModule::LoadSkin("one");
        if (c.expected == 0) {
            EXPECT_TRUE(SkinModule::Image1.isNull());
        } else {
            ASSERT_FALSE(SkinModule::Image1.isNull());
            EXPECT_EQ(SkinModule::Image1.pixel(3, 3), c.expected);
        }
    }
    // A picture that is there but cannot be read falls back to an earlier one.
    std::ofstream(Skin("one") / "bad.png") << "\x89PNG\r\n\x1a\nnot really";
    Ini("one", {"背景图=bg.png", "背景图=bad.png"});
    SkinModule::LoadSkin("one");
    ASSERT_FALSE(SkinModule::Image1.isNull());
    EXPECT_EQ(SkinModule::Image1.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(LoadSkinTest, DoubledPictureAtScaleTwo) {
    Picture(Skin("one") / "bg.png", Qt::red, {8, 6});
    Picture(Skin("one") / "bg@2x.png", Qt::green, {16, 12});
    Ini("one", {"背景图=bg.png"});
    SkinModule::Scale = 2;
    SkinModule::LoadSkin("one");
    ASSERT_EQ(SkinModule::Image1.size(), QSize(16, 12));
    EXPECT_EQ(SkinModule::Image1.devicePixelRatio(), 2.0);
    SkinModule::Scale = 1;
    SkinModule::LoadSkin("one");
    EXPECT_EQ(SkinModule::Image1.size(), QSize(8, 6));
}

TEST_F(LoadSkinTest, SkinWithoutIniGivesDefaultsAndDropsTheOldPicture) {
    Picture(Skin("one") / "bg.png", Qt::red);
    Ini("one", {"背景图=bg.png", "标题文字色=1,2,3", "背景色=7,8,9", "浮动边框=4,4,4"});
    SkinModule::LoadSkin("one");
    ASSERT_FALSE(SkinModule::Image1.isNull());
    fs::create_directories(Skin("bare"));
    SkinModule::CurrentSkin = "bare";
    SkinModule::LoadSkin("bare");
    EXPECT_EQ(SkinModule::TitleTextColor, SkinRgb(166, 165, 165));
    EXPECT_EQ(SkinModule::BackgroundColor, SkinRgb(7, 8, 9));  // kept
    EXPECT_EQ(SkinModule::FloatBorderColor, SkinRgb(4, 4, 4));  // kept
    EXPECT_TRUE(SkinModule::Image1.isNull());
    EXPECT_TRUE(messages.shown().empty());
}

// A skin.ini or a button face past its limit is not read, and the load says
// which file; the colours fall back to the defaults.
TEST_F(LoadSkinTest, OversizedSkinFilesAreRefusedWithAMessage) {
    Ini("one", {"标题文字色=1,2,3"});
    {
        std::ofstream ini(Skin("one") / "skin.ini", std::ios::binary | std::ios::app);
        ini << std::string(static_cast<size_t>(SkinModule::kMaxSkinIniBytes), ' ');
    }
    {
        std::ofstream face(Skin("one") / "B.png", std::ios::binary);
    }
    fs::resize_file(Skin("one") / "B.png", static_cast<std::uintmax_t>(SkinModule::kMaxFaceFileBytes) + 1);
    SkinModule::LoadSkin("one");
    EXPECT_EQ(SkinModule::TitleTextColor, SkinRgb(166, 165, 165));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("skin.ini 过大")));
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("B.png 过大")));
}

TEST_F(LoadSkinTest, MissingFoldersAndUnsafeNames) {
    Ini("one", {"标题文字色=1,2,3"});
    SkinModule::LoadSkin("one");
    const SkinColours before = SkinModule::Colours;

    // A requested skin that is not there, or not a plain name, changes nothing.
    for (const QString name : {"nope", "../one", "one/..", "a\\b", ""}) {
        SkinModule::LoadSkin(name);
        EXPECT_EQ(SkinModule::Colours, before) << name.toStdString();
    }
    EXPECT_TRUE(messages.shown().empty());

    // The skin in use lost its folder: one message, the folder is made again.
    SkinModule::CurrentSkin = "gone";
    SkinModule::LoadSkin("one");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "缺少皮肤");
    EXPECT_TRUE(messages.shown()[0].text.startsWith("缺少必须的皮肤文件，会影响使用效果，请到 "));
    EXPECT_TRUE(fs::is_directory(Skin("gone")));

    // A stored name that climbs out of the skin folder is replaced by the
    // default, and nothing is made outside it.
    SkinModule::CurrentSkin = "../../evil";
    SkinModule::LoadSkin("one");
    EXPECT_EQ(SkinModule::CurrentSkin, SkinModule::kDefaultSkin);
    EXPECT_FALSE(fs::exists(home.path().parent_path() / "evil"));
    EXPECT_TRUE(fs::is_directory(Skin(SkinModule::kDefaultSkin)));
}

TEST_F(LoadSkinTest, CodePage936AndUtf8LinesBothRead) {
    fs::create_directories(Skin("one"));
    // "标题文字色=1,2,3" in GB18030, then a UTF-8 line.
    const QByteArray gb = QByteArray::fromHex("b1eacce2cec4d7d6c9ab3d312c322c33") + "\r\n" +
                          QString("歌词文字色=4,5,6").toUtf8() + "\r\n";
    std::ofstream(Skin("one") / "skin.ini", std::ios::binary).write(gb.constData(), gb.size());
    SkinModule::LoadSkin("one");
    EXPECT_EQ(SkinModule::TitleTextColor, SkinRgb(1, 2, 3));
    EXPECT_EQ(SkinModule::LyricsTextColor, SkinRgb(4, 5, 6));
}

TEST(SkinPaths, PicturePathAndDoubledName) {
    const fs::path folder = "/p/skin/one";
    EXPECT_EQ(SkinModule::PicturePath(folder, "bg.jpg"), folder / "bg.jpg");
    EXPECT_EQ(SkinModule::PicturePath(folder, "img\\bg.jpg"), folder / "img/bg.jpg");
    EXPECT_EQ(SkinModule::PicturePath(folder, "/x/bg.jpg"), fs::path("/x/bg.jpg"));
    EXPECT_TRUE(SkinModule::PicturePath(folder, "D:\\pics\\bg.jpg").empty());
    EXPECT_EQ(SkinModule::DoubledPath("/a/A.png"), fs::path("/a/A@2x.png"));
    EXPECT_EQ(SkinModule::DoubledPath("/a/bg"), fs::path("/a/bg@2x"));
    EXPECT_EQ(SkinModule::ScaleForDevicePixelRatio(1.5), 1);
    EXPECT_EQ(SkinModule::ScaleForDevicePixelRatio(1.75), 2);
}

}  // namespace
