// The lyrics window drawing the lyric by time: its look, the lock, the
// repaint pacing, the per-song offsets and the look dialog.
#include "lyrics/core/lyrics_model.h"
#include "lyrics/lyric_offsets.h"
#include "lyrics/ui/lrc_box.h"
#include "lyrics/ui/lrc_menu.h"
#include "lyrics/ui/lrc_stage.h"
#include "lyrics/ui/lyric_look_dialog.h"

#include "fake_lyrics_host.h"
#include "platform/settings_store.h"
#include "support/event_loop.h"
#include "support/fake_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace tavo {
namespace {

using test::FakeLyricsHost;

const QString kApp = QStringLiteral("Tavo音乐盒2010");
const QString kSongA = QStringLiteral("歌手 - 第一首");
const QString kSongB = QStringLiteral("歌手 - 第二首");

QStringList Lines() {
    return {QStringLiteral("[ti:test]"),
            QStringLiteral("[offset:+200]"),
            QStringLiteral("[00:01.00]first line"),
            QStringLiteral("[00:03.00]<00:03.00>second <00:04.00>line"),
            QStringLiteral("[00:03.00]the translation"),
            QStringLiteral("[00:05.00]third line"),
            QStringLiteral("[00:07.00]fourth line"),
            QStringLiteral("[00:09.00]fifth line")};
}

// Each test keeps its settings in a folder of its own, as a user's config.
class LrcBoxLyrics : public ::testing::Test {
protected:
    LrcBoxLyrics() {
        platform::SetSettings(std::make_unique<platform::IniSettingsStore>(dir / "config"));
        host.settingsName = kApp;
        host.song = kSongA;
        box = std::make_unique<lrcBox>(&host);
        box->SetLyricLines(&model);
    }
    ~LrcBoxLyrics() override {
        box.reset();
        platform::SetSettings(std::make_unique<platform::IniSettingsStore>(dir / "after"));
    }
    // A new window, as after a restart of the program.
    void Restart() {
        box.reset();
        platform::SetSettings(std::make_unique<platform::IniSettingsStore>(dir / "config"));
        box = std::make_unique<lrcBox>(&host);
        box->SetLyricLines(&model);
    }
    QString Stored(const char* section, const QString& key) {
        return platform::Settings().GetSetting(kApp, QString::fromLatin1(section), key);
    }

    test::TempDir dir;
    test::ScopedFakeMessageBox messages;
    FakeLyricsHost host;
    LyricsModel model;
    std::unique_ptr<lrcBox> box;
};

TEST_F(LrcBoxLyrics, DrawsTheLineAtThePlayPositionWithBothOffsets) {
    model.SetLines(Lines());
    host.position = 3500;
    box->Follow();
    // The file's +200 and no user offset yet.
    EXPECT_EQ(box->Stage()->LyricTimeMs(), 3700);
    box->ShiftOffset(kLyricOffsetStepMs);
    EXPECT_EQ(box->Stage()->LyricTimeMs(), 4200);
    EXPECT_EQ(box->Stage()->Note(), QStringLiteral("+0.5 s"));
    // Lines with a translation make room for it under the line.
    EXPECT_GT(box->height(), 36);
    model.Clear();
    EXPECT_EQ(box->height(), 36);
}

TEST_F(LrcBoxLyrics, RepaintsOnItsOwnOnlyWhileShownAndPlaying) {
    model.SetLines(Lines());
    host.position = 1000;
    LyricOptions look = box->Look();
    look.karaoke = true;
    box->SetLook(look);
    EXPECT_FALSE(box->Pacer().Running());  // hidden
    box->ShowLyrics(true);
    EXPECT_FALSE(box->Pacer().Running());  // stopped
    box->SetPlayGlyph(true);
    EXPECT_TRUE(box->Pacer().Running());
    EXPECT_LT(box->Pacer().IntervalMs(), LyricRepaintPacer::kStillIntervalMs);  // the fill moves smoothly
    // The fill moves with the position: frames follow.
    const int before = box->Stage()->Paints();
    test::WaitFor([&] {
        host.position += 5;
        return box->Stage()->Paints() >= before + 3;
    }, 3000);
    EXPECT_GE(box->Stage()->Paints(), before + 3);
    box->SetPlayGlyph(false);  // paused
    EXPECT_FALSE(box->Pacer().Running());
    box->SetPlayGlyph(true);
    box->ShowLyrics(false);  // hidden while playing
    EXPECT_FALSE(box->Pacer().Running());
    box->ShowLyrics(true);
    EXPECT_TRUE(box->Pacer().Running());
    // The plain look only checks for the next line now and then.
    look.karaoke = false;
    box->SetLook(look);
    EXPECT_EQ(box->Pacer().IntervalMs(), LyricRepaintPacer::kStillIntervalMs);
    // No timed lines (not found, plain text): nothing to follow.
    model.Clear();
    EXPECT_FALSE(box->Pacer().Running());
    model.SetLines(Lines());
    EXPECT_TRUE(box->Pacer().Running());
}

TEST_F(LrcBoxLyrics, AStillLookRepaintsOnlyWhenTheLineChanges) {
    model.SetLines(Lines());
    host.position = 1000;
    box->ShowLyrics(true);
    box->Follow();
    test::Pump(50);
    const int before = box->Stage()->Paints();
    for (int t = 1100; t < 2500; t += 100) {  // within the first line
        host.position = t;
        box->Follow();
    }
    test::Pump(50);
    EXPECT_EQ(box->Stage()->Paints(), before);
    host.position = 3000;
    box->Follow();
    test::WaitFor([&] { return box->Stage()->Paints() > before; }, 2000);
    EXPECT_GT(box->Stage()->Paints(), before);
}

TEST_F(LrcBoxLyrics, LockedTheWindowLetsTheMouseThroughAndHidesItsButtons) {
    box->ShowLyrics(true);
    const QPoint at = box->pos();
    box->SetLocked(true);
    const Qt::WindowFlags f = box->windowFlags();
    EXPECT_TRUE(f.testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(f.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->pos(), at);
    for (int i = 0; i < lrcBox::kMinbarCount; ++i) EXPECT_FALSE(box->minbar(i)->isVisible()) << i;
    EXPECT_EQ(Stored("Config", QStringLiteral("LrcLock")), QStringLiteral("1"));

    Restart();  // the lock holds across a restart
    EXPECT_TRUE(box->IsLocked());
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowTransparentForInput));

    box->SetLocked(false);  // as the tray's item does
    EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowTransparentForInput));
    box->ShowLyrics(true);
    for (int i = 0; i < lrcBox::kMinbarCount; ++i) EXPECT_TRUE(box->minbar(i)->isVisible()) << i;
}

TEST_F(LrcBoxLyrics, OffsetsAreKeptPerSongAcrossARestart) {
    model.SetLines(Lines());
    box->ShowLyrics(true);
    box->activateWindow();
    QTest::keyClick(box.get(), Qt::Key_Plus);
    QTest::keyClick(box.get(), Qt::Key_Plus);
    QTest::keyClick(box.get(), Qt::Key_Plus);
    QTest::keyClick(box.get(), Qt::Key_Minus);
    EXPECT_EQ(box->UserOffsetMs(), 1000);
    EXPECT_EQ(box->Stage()->Note(), QStringLiteral("+1.0 s"));
    box->Menu()->Item(QStringLiteral("M_LrcLater"))->trigger();
    EXPECT_EQ(box->UserOffsetMs(), 500);

    host.song = kSongB;
    model.SetLines(Lines());  // the next song's lyric
    EXPECT_EQ(box->UserOffsetMs(), 0);
    box->Menu()->Item(QStringLiteral("M_LrcLater"))->trigger();
    EXPECT_EQ(box->UserOffsetMs(), -500);

    Restart();
    host.song = kSongA;
    model.SetLines(Lines());
    EXPECT_EQ(box->UserOffsetMs(), 500);
    host.position = 2000;
    box->Follow();
    EXPECT_EQ(box->Stage()->LyricTimeMs(), 2000 + 200 + 500);
    host.song = kSongB;
    model.SetLines(Lines());
    EXPECT_EQ(box->UserOffsetMs(), -500);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(LrcBoxLyrics, AFailedSaveIsReportedEveryTime) {
    const auto blocker = dir.Write("blocker", "not a folder");
    platform::SetSettings(std::make_unique<platform::IniSettingsStore>(blocker / "cfg"));
    model.SetLines(Lines());
    EXPECT_EQ(box->ShiftOffset(kLyricOffsetStepMs), 500);  // still applies to this play
    box->SetLocked(true);
    box->Menu()->Item(QStringLiteral("M_LrcKaraoke"))->trigger();
    ASSERT_EQ(messages.shown().size(), 3u);
    for (const auto& m : messages.shown())
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("无法保存设置到"))) << m.text.toStdString();
}

TEST_F(LrcBoxLyrics, AClickOnALineOfTheFiveLineViewSeeksToIt) {
    model.SetLines(Lines());
    LyricOptions look = box->Look();
    look.lines = 5;
    box->SetLook(look);
    box->ShowLyrics(true);
    host.position = 5000;  // the third line (with the file's +200)
    box->Follow();
    box->ShiftOffset(kLyricOffsetStepMs);
    host.seeks.clear();
    LrcStage* stage = box->Stage();
    // The row under the middle one shows the fourth line (07.00).
    const QPoint row4 = stage->mapTo(box.get(), QPoint(stage->width() / 2, stage->height() * 7 / 10));
    ASSERT_EQ(stage->LineAt(stage->mapFrom(box.get(), row4)), 3);
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, row4);
    ASSERT_EQ(host.seeks.size(), 1u);
    EXPECT_EQ(host.seeks[0], 7000 - 200 - 500);  // both offsets undone
    // Outside the five-line view a click seeks nowhere.
    look.lines = 1;
    box->SetLook(look);
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(host.seeks.size(), 1u);
}

TEST_F(LrcBoxLyrics, TheMenuTicksAndChangesTheLook) {
    box->Menu()->Prepare(box->Look());
    EXPECT_TRUE(box->Menu()->Item(QStringLiteral("M_LrcLines1"))->isChecked());
    EXPECT_TRUE(box->Menu()->Item(QStringLiteral("M_LrcTranslation"))->isChecked());
    box->Menu()->Item(QStringLiteral("M_LrcLines2"))->trigger();
    box->Menu()->Item(QStringLiteral("M_LrcKaraoke"))->trigger();
    box->Menu()->Item(QStringLiteral("M_LrcTranslation"))->trigger();
    EXPECT_EQ(box->Look().lines, 2);
    EXPECT_TRUE(box->Look().karaoke);
    EXPECT_FALSE(box->Look().translation);
    EXPECT_GT(box->height(), 36);  // room for two lines
    Restart();
    box->Menu()->Prepare(box->Look());
    EXPECT_TRUE(box->Menu()->Item(QStringLiteral("M_LrcLines2"))->isChecked());
    EXPECT_FALSE(box->Menu()->Item(QStringLiteral("M_LrcLines1"))->isChecked());
    box->Menu()->Item(QStringLiteral("M_LrcLock"))->trigger();
    EXPECT_TRUE(box->IsLocked());
}

TEST_F(LrcBoxLyrics, TheLookDialogPreviewsLiveAndSavesOnOk) {
    box->OpenLookDialog();
    LyricLookDialog* dialog = box->LookDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->SizeBox()->setValue(30);
    dialog->AlphaSlider()->setValue(0);
    dialog->LinesBox()->setCurrentIndex(2);
    dialog->KaraokeBox()->setChecked(true);
    dialog->EdgeBox()->setCurrentIndex(2);
    dialog->SetPlayedColor(0xFF00FF00u);
    // The preview follows every change before anything is kept.
    EXPECT_EQ(dialog->Preview()->Look().fontPx, 30);
    EXPECT_EQ(dialog->Preview()->Look().playedColor, 0xFF00FF00u);
    EXPECT_EQ(box->Look().fontPx, 16);
    dialog->accept();
    EXPECT_EQ(box->Look().fontPx, 30);
    EXPECT_EQ(box->Look().edge, LyricEdge::Shadow);
    EXPECT_TRUE(box->testAttribute(Qt::WA_TranslucentBackground));  // a clear background
    Restart();
    EXPECT_EQ(box->Look().fontPx, 30);
    EXPECT_EQ(box->Look().lines, 5);
    EXPECT_EQ(box->Look().playedColor, 0xFF00FF00u);
    EXPECT_EQ(box->Look().backAlpha, 0);

    // "恢复默认" brings back the skin's look; Cancel keeps what was there.
    box->OpenLookDialog();
    dialog = box->LookDialog();
    dialog->findChild<QPushButton*>(QStringLiteral("LrcLookReset"))->click();
    EXPECT_EQ(dialog->Preview()->Look().fontPx, 16);
    EXPECT_EQ(dialog->Preview()->Look().lines, 1);
    dialog->reject();
    EXPECT_EQ(box->Look().fontPx, 30);
}

TEST_F(LrcBoxLyrics, AHostileLyricIsShownWithoutStallingTheWindow) {
    QStringList lines;
    for (int i = 0; i < 10000; ++i) {
        const int ms = i / 3 * 100;  // three lines at every time
        lines << QStringLiteral("[%1:%2.%3]line %4").arg(ms / 60000, 2, 10, QLatin1Char('0'))
                     .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0')).arg(ms % 1000 / 10, 2, 10, QLatin1Char('0')).arg(i);
    }
    // Word times out of order and past the line's end, a 10,000-character line.
    lines[30] = QStringLiteral("[00:01.00]<00:09.00>late <00:00.50>early <59:00.00>far");
    lines[60] = QStringLiteral("[00:02.00]") + QString(QStringLiteral("长")).repeated(10000);
    model.SetLines(lines);
    LyricOptions look = box->Look();
    look.karaoke = true;
    look.lines = 5;
    box->SetLook(look);
    box->ShowLyrics(true);
    for (int position : {0, 1000, 1500, 2000, 2500, 150000, 400000, -5}) {
        host.position = position;
        box->Follow();
        const QImage shot = box->grab().toImage();
        ASSERT_FALSE(shot.isNull()) << position;
        EXPECT_GE(box->Stage()->LyricTimeMs(), 0) << position;
    }
    // Offsets far beyond any song are held at the limit.
    box->ShiftOffset(-3 * kMaxLyricOffsetMs);
    box->ShiftOffset(-kLyricOffsetStepMs);
    EXPECT_EQ(box->UserOffsetMs(), -kMaxLyricOffsetMs);
    host.position = 1000;
    box->Follow();
    EXPECT_EQ(box->Stage()->LyricTimeMs(), 0);
}

}  // namespace
}  // namespace tavo
