// The skinned main window, offscreen: its pixels come from the skin, a skin
// change repaints everything, and the tracks seek and set the volume.
#include "app/ui/main_form.h"
#include "calendar/ui/calendar_strip.h"

#include "app_fixture.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/ansi_text.h"
#include "skin/skin_blend.h"
#include "skin/skin_colour.h"
#include "skin/skin_module.h"
#include "support/core/fake_media_player.h"

#include <QAbstractItemView>
#include <QTest>

namespace tavo {
namespace {

constexpr QRgb kRed = qRgb(200, 30, 30), kGreen = qRgb(30, 160, 60), kBorder = qRgb(0, 0, 255);

class MainSkinTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // Two skins: a red picture with a see-through face; a green one
        // without the calendar.
        Skin("蓝色科技", kRed, {"背景图=bg.png", "头尾边框=0,0,255", "下拉框背景色=10,20,30", "下拉框文字色=250,240,230"});
        Skin("green", kGreen, {"背景图=bg.png", "头尾边框=0,0,255", "日历=隐藏"});
        QImage clear(33, 33, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        ASSERT_TRUE(clear.save(platform::PathToQString(folder() / "skin" / "蓝色科技" / "A.png")));
        web.Start();
        form = std::make_unique<MainForm>(player);
        ASSERT_TRUE(form->Load());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        form.reset();
        AppTest::TearDown();
    }
    void Skin(const QString& name, QRgb colour, const QStringList& lines) {
        const auto dir = folder() / "skin" / platform::QStringToPath(name);
        std::filesystem::create_directories(dir);
        platform::WriteTextLines(dir / "skin.ini", lines);
        QImage bg(330, 662, QImage::Format_RGB32);
        bg.fill(colour);
        ASSERT_TRUE(bg.save(platform::PathToQString(dir / "bg.png")));
    }
    QImage Shot() { return form->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    test::FakeMediaPlayer player;
    std::unique_ptr<MainForm> form;
};

TEST_F(MainSkinTest, WindowButtonsAndLyricsComeFromTheSkin) {
    const QImage shot = Shot();
    ASSERT_EQ(shot.size(), QSize(330, 662));
    EXPECT_EQ(shot.pixel(5, 470 - 10), kRed);                          // plain background
    EXPECT_EQ(shot.pixel(0, 300), BlendPixel(kBorder, kRed, 150));    // left frame band
    EXPECT_EQ(shot.pixel(200, 12), BlendPixel(kBorder, kRed, 70));    // title band
    // The see-through face leaves the background under the play button.
    const QRect play = form->PlayS(0)->geometry();
    EXPECT_EQ(shot.pixel(play.left() + 2, play.top() + 2), kRed);
    // The lyrics window: the picture, and the window's pixel (0, 40) as frame.
    EXPECT_EQ(form->Pictures().lyricsFrame.rgb(), BlendPixel(kBorder, kRed, 150));
    const QImage lyrics = form->lyrics().grab().toImage();
    EXPECT_EQ(lyrics.pixel(0, 10), BlendPixel(kBorder, kRed, 150));
    EXPECT_EQ(lyrics.pixel(100, 10), kRed);
    EXPECT_FALSE(form->Calendar()->isHidden());
    // The selectors: the box and its open list in the skin's drop-down colours.
    SkinCombo* box = form->PHcombo();
    const QImage face = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(face.width(), 20);
    EXPECT_EQ(face.pixel(3, face.height() / 2), qRgb(10, 20, 30));
    EXPECT_EQ(face.pixel(0, face.height() / 2), ToQColor(SkinModule::FloatBorderColor).rgb());
    EXPECT_EQ(box->view()->palette().color(QPalette::Base), QColor(10, 20, 30));
    EXPECT_EQ(box->view()->palette().color(QPalette::Text), QColor(250, 240, 230));
}

TEST_F(MainSkinTest, ASkinChangeRepaintsEverything) {
    int captions = 0;
    form->core().hooks.CalendarCaptions = [&] { ++captions; };
    form->goSkin("green");
    EXPECT_EQ(captions, 1);
    EXPECT_EQ(SkinModule::CurrentSkin, "green");
    EXPECT_EQ(form->core().ui.Label3, kAppTitle);
    // No calendar: no strip, no month buttons.
    EXPECT_TRUE(form->Calendar()->isHidden());
    EXPECT_FALSE(form->PageA(10)->isVisible());
    // Nothing of the red skin is left on the buttons or the list.
    for (int i : {0, 3, 15}) {
        const QImage face = form->PageA(i)->Picture();
        ASSERT_FALSE(face.isNull()) << i;
        EXPECT_EQ(face.pixel(face.width() / 2, face.height() / 2), kGreen) << i;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) ASSERT_NE(face.pixel(x, y), kRed) << i;
    }
    EXPECT_EQ(form->Picture1()->Look().background.pixel(10, 10), kGreen);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixel(5, 300), kGreen);
}

TEST_F(MainSkinTest, TracksSeekOnlyWhilePlayingAndSetTheVolume) {
    SkinTrack* track = form->socl();
    player.duration = 100;
    player.state = platform::kPlayStopped;
    QTest::mouseClick(track, Qt::LeftButton, {}, {track->width() / 2, 5});
    EXPECT_EQ(player.position, 0);
    EXPECT_TRUE(track->Fill().isEmpty());
    player.state = platform::kPlayPlaying;
    QTest::mouseClick(track, Qt::LeftButton, {}, {track->width() / 2, 5});
    EXPECT_NEAR(player.position, 50, 0.5);
    EXPECT_EQ(track->Fill().width(), track->width() / 2);

    SkinTrack* volume = form->YBG();
    QTest::mouseClick(volume, Qt::LeftButton, {}, {3, 0});
    EXPECT_EQ(player.volume, 100);
    EXPECT_EQ(volume->Fill().height(), volume->height());
    QTest::mouseClick(volume, Qt::LeftButton, {}, {3, volume->height()});
    EXPECT_EQ(player.volume, 0);
    EXPECT_TRUE(volume->Fill().isEmpty());
}

}  // namespace
}  // namespace tavo
