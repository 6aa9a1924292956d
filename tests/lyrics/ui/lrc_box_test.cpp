#include "lyrics/ui/lrc_box.h"

#include "fake_lyrics_host.h"
#include "lyrics/ui/lrc_menu.h"
#include "lyrics/ui/lrc_paint.h"

#include "support/event_loop.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <chrono>
#include <set>

namespace tavo {
namespace {

using namespace std::chrono_literals;
using test::FakeLyricsHost;
using test::WaitFor;


void ClickMinbar(lrcBox& box, int i) { QTest::mouseClick(box.minbar(i), Qt::LeftButton); }

class LrcBoxWindow : public ::testing::Test {
protected:
    FakeLyricsHost host;
    lrcBox box{&host};
};

TEST_F(LrcBoxWindow, HiddenWindowStopsItsMouseCheckEvenWithTheCursorWhereItWouldBe) {
    ASSERT_FALSE(box.isVisible());
    const QPoint where = box.frameGeometry().center();
    QCursor::setPos(where);
    ASSERT_EQ(QCursor::pos(), where) << "the platform must let tests place the cursor";
    box.Timer1_Timer();
    EXPECT_FALSE(box.Timer1().isActive());
    EXPECT_EQ(box.Opacity(), lrcBox::kTranslucent);
}

TEST_F(LrcBoxWindow, EachMinbarClickCallsThePlayerButton) {
    struct Case {
        int index;
        bool playing;
        bool muted;
        int expected;
    } cases[] = {
        {0, false, false, 0},  // stopped or paused: play
        {0, true, false, 4},   // playing: pause
        {1, false, false, 1}, {2, false, false, 2}, {3, false, false, 3},
        {4, false, false, 5},  // not muted: mute
        {4, false, true, 6},   // muted: unmute
    };
    for (const Case& c : cases) {
        // The glyph shows the opposite state: the click follows the player.
        box.SetPlayGlyph(!c.playing);
        host.playing = c.playing;
        host.muted = c.muted;
        host.clicks.clear();
        ClickMinbar(box, c.index);
        EXPECT_EQ(host.clicks, std::vector<int>{c.expected}) << "minbar " << c.index;
    }
}

// Muted, the speaker glyph is red in every look: dark red without a skin,
// and in each skin a red far from the skin's own text colour.
TEST_F(LrcBoxWindow, MuteGlyphIsRedWhileMutedInEveryLook) {
    box.SetMuteGlyph(true);
    EXPECT_EQ(box.minbar(4)->ForeColor(), QColor(128, 0, 0));
    box.SetMuteGlyph(false);
    EXPECT_EQ(box.minbar(4)->ForeColor(), QColor(Qt::black));

    // The shipped skins' back and lyric colours, and a red-text one.
    const struct {
        QColor back, text;
    } skins[] = {{QColor(10, 30, 66), QColor(170, 226, 255)},
                 {QColor(42, 46, 53), QColor(214, 244, 240)},
                 {QColor(252, 236, 214), QColor(168, 72, 16)},
                 {QColor(255, 255, 255), QColor(128, 0, 0)}};
    for (const auto& s : skins) {
        box.SetSkin({QImage(), s.back, s.text, s.text});
        box.SetMuteGlyph(true);
        const QColor muted = box.minbar(4)->ForeColor();
        EXPECT_EQ(muted.alpha(), 255);
        EXPECT_GT(muted.red(), 2 * std::max(muted.green(), muted.blue())) << "red";
        const auto distance = [&](const QColor& c) {
            return std::abs(muted.red() - c.red()) + std::abs(muted.green() - c.green()) + std::abs(muted.blue() - c.blue());
        };
        EXPECT_GT(distance(s.back), 150) << "reads on the back";
        EXPECT_GE(distance(s.text), 120) << "stands apart from the unmuted glyph";
        box.SetMuteGlyph(false);
        EXPECT_EQ(box.minbar(4)->ForeColor(), s.text);
    }
}

TEST_F(LrcBoxWindow, ShowMainButtonShowsAndHidesTheMainWindow) {
    ClickMinbar(box, 5);
    EXPECT_TRUE(host.main.isVisible());
    EXPECT_TRUE(host.shown);
    ClickMinbar(box, 5);
    EXPECT_FALSE(host.main.isVisible());
    EXPECT_FALSE(host.shown);
    // A double-click on the surface does the same.
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(host.main.isVisible());
    EXPECT_TRUE(host.shown);
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(LrcBoxWindow, ShowMainButtonRestoresAMinimizedMainWindow) {
    host.shown = true;
    host.main.showMinimized();
    ClickMinbar(box, 5);
    EXPECT_FALSE(host.main.windowState().testFlag(Qt::WindowMinimized));
    EXPECT_TRUE(host.main.isVisible());
    EXPECT_TRUE(host.shown);  // only restored, not hidden
}

TEST_F(LrcBoxWindow, RightButtonOpensTheLyricsMenuAtTheCursorAndItLeadsToTheSettingsMenu) {
    box.ShowLyrics(true);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(7, 9));
    ASSERT_TRUE(box.Menu()->isVisible());
    EXPECT_EQ(box.Menu()->pos(), box.mapToGlobal(QPoint(7, 9)));
    EXPECT_TRUE(host.menus.empty());
    box.Menu()->Item(QStringLiteral("M_LrcPlayerMenu"))->trigger();
    box.Menu()->hide();
    ASSERT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(host.menus[0], box.mapToGlobal(QPoint(7, 9)));
    EXPECT_TRUE(host.clicks.empty());
}

TEST_F(LrcBoxWindow, ShowsAtTheTopEdgeCentredAndHidesKeepingItsLines) {
    // Set while still hidden, a line is kept whole (nothing is measured)
    // and cut to the label's real width once the window shows.
    const QString longLine = QString(QStringLiteral("很长的一行歌词")).repeated(20);
    box.SetLabel1Text(longLine);
    EXPECT_EQ(box.Label1()->text(), longLine);
    box.ShowLyrics(true);
    ASSERT_TRUE(box.isVisible());
    EXPECT_TRUE(box.Label1()->text().endsWith(QChar(0x2026)));
    const QRect screen = box.screen()->geometry();
    EXPECT_EQ(box.frameGeometry().top(), screen.top());
    EXPECT_EQ(box.frameGeometry().left(), screen.left() + (screen.width() - box.frameGeometry().width()) / 2);
    // Set while shown, a line longer than the window is cut, the window
    // keeps its size.
    const QSize size = box.size();
    box.SetLabel1Text(QStringLiteral("短"));
    EXPECT_EQ(box.Label1()->text(), QStringLiteral("短"));
    box.SetLabel1Text(longLine);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.size(), size);
    EXPECT_EQ(box.Label1Text(), longLine);
    EXPECT_TRUE(box.Label1()->text().endsWith(QChar(0x2026)));
    box.ShowLyrics(false);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.Label1Text(), longLine);
    // A line set while hidden again is cut when the window comes back.
    box.SetLabel1Text(QStringLiteral("另") + longLine);
    box.ShowLyrics(true);
    EXPECT_TRUE(box.Label1()->text().startsWith(QStringLiteral("另")));
    EXPECT_TRUE(box.Label1()->text().endsWith(QChar(0x2026)));
}

TEST_F(LrcBoxWindow, SetTopMostWindowSwitchesStayOnTop) {
    box.ShowLyrics(true);
    const QPoint pos = box.pos();
    EXPECT_EQ(SetTopMostWindow(&box, false), 0);
    EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.pos(), pos);
    EXPECT_NE(SetTopMostWindow(&box, true), 0);
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(SetTopMostWindow(nullptr, true), 0);
}

TEST_F(LrcBoxWindow, TurnsTranslucentWhenTheMouseLeavesAndOpaqueWhenItReturns) {
    box.ShowLyrics(true);
    const QRect frame = box.frameGeometry();
    const QPoint outside = frame.bottomRight() + QPoint(50, 50);
    const QPoint inside = frame.center();

    // The cursor inside (edges included): nothing changes.
    for (QPoint p : {inside, frame.topLeft(), frame.bottomRight()}) {
        QCursor::setPos(p);
        ASSERT_EQ(QCursor::pos(), p) << "the platform must let tests place the cursor";
        box.Timer1_Timer();
        EXPECT_EQ(box.Opacity(), lrcBox::kOpaque);
        EXPECT_TRUE(box.Timer1().isActive());
    }

    // Out: translucent at the next check, and the check stops.
    QCursor::setPos(outside);
    ASSERT_TRUE(WaitFor([&] { return box.Opacity() == lrcBox::kTranslucent; }, 1s));
    EXPECT_FALSE(box.Timer1().isActive());

    // Back over the window: opaque, the check runs again.
    QCursor::setPos(inside);
    QTest::mouseMove(&box, box.mapFromGlobal(inside));
    EXPECT_EQ(box.Opacity(), lrcBox::kOpaque);
    EXPECT_TRUE(box.Timer1().isActive());

    // A leave event counts even when the cursor seems to stay inside (the
    // window system may not report where it went); moving back undoes it.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&box, &leave);
    box.Timer1_Timer();
    EXPECT_EQ(box.Opacity(), lrcBox::kTranslucent);
    QTest::mouseMove(&box, box.mapFromGlobal(inside) + QPoint(3, 1));
    box.Timer1_Timer();
    EXPECT_EQ(box.Opacity(), lrcBox::kOpaque);

    // A drag that ends outside the window: translucent again.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 10), box.mapToGlobal(QPointF(40, 10)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    const QPoint before = box.pos();
    QCoreApplication::sendEvent(&box, &drag);
    EXPECT_EQ(box.Opacity(), lrcBox::kOpaque);  // dragging is not hovering
    if (!box.windowHandle()->startSystemMove()) {  // no system move here: the window follows by itself
        EXPECT_EQ(box.pos(), before + QPoint(35, 5));
    }
    QCursor::setPos(outside);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, box.mapFromGlobal(outside));
    EXPECT_TRUE(WaitFor([&] { return box.Opacity() == lrcBox::kTranslucent; }, 1s));
}

// The glyphs are drawn, each differently, in the button's colour.
TEST(LrcGlyphs, EachCaptionDrawsItsOwnSymbol) {
    const char16_t* captions = u"4;<78X.";
    std::set<QByteArray> seen;
    for (const char16_t* c = captions; *c; ++c) {
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            PaintLrcGlyph(p, QRectF(0, 0, 20, 20), QChar(*c), QColor(128, 0, 0));
        }
        int red = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) red += (img.pixelColor(x, y) == QColor(128, 0, 0));
        EXPECT_GT(red, 10) << char(*c);
        seen.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        EXPECT_NE(LrcGlyphForCaption(QChar(*c)), LrcGlyph::None);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(LrcGlyphForCaption(QChar(u'a')), LrcGlyph::None);
}

}  // namespace
}  // namespace tavo
