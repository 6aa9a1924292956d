// The list's hover highlight and fade, and the main window's pixel rules:
// rows under the mouse, the progress fill, seeking on the time track.
#include "app/row_fade.h"
#include "app/ui/main_pixels.h"
#include "app/ui/skinned_controls.h"
#include "app/ui/window_drag.h"
#include "skin/skin_blend.h"
#include "platform/core/media_player.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QLabel>
#include <QTest>

using namespace tavo;

namespace {

RowFade Page(int entries = 10) {
    RowFade f;
    f.SetPage(entries, 25, 306);
    return f;
}

TEST(RowFade, LightsAtOnceAndDoesNotRestartWithinTheRow) {
    RowFade f = Page();
    EXPECT_TRUE(f.Move(50, 30));  // row 1
    EXPECT_EQ(f.HoverRow(), 1);
    EXPECT_EQ(f.DrawAlpha(1), RowFade::kLit);
    EXPECT_EQ(f.Alpha(1), RowFade::kLitKept);
    f.Tick(true);
    f.Tick(true);
    EXPECT_FALSE(f.Move(60, 40));  // same row: nothing restarts
    EXPECT_EQ(f.DrawAlpha(1), RowFade::kLit);
    // Edges and the line between rows light nothing.
    for (auto [x, y] : {std::pair{0, 30}, {306, 30}, {50, 0}, {50, 250}, {50, 50}}) EXPECT_FALSE(f.Move(x, y));
    // The next row takes over; the first fades back while the pointer stays.
    EXPECT_TRUE(f.Move(50, 60));
    EXPECT_TRUE(f.Fading(1));
    f.Tick(true);
    EXPECT_EQ(f.Alpha(1), RowFade::kLitKept + RowFade::kStep);
    EXPECT_EQ(f.DrawAlpha(2), RowFade::kLit);
}

TEST(RowFade, LeavingSidewaysFadesEveryRowBackInNineteenTicks) {
    RowFade f = Page();
    f.Move(50, 30);
    EXPECT_TRUE(f.Idle());  // lit, not on its way back yet
    int ticks = 0;
    f.Tick(f.InRows(400, 30));  // the pointer left to the side
    EXPECT_EQ(f.HoverRow(), -1);
    while (!f.Idle() && ticks < 100) {
        f.Tick(false);
        ++ticks;
    }
    EXPECT_EQ(ticks, 19);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(f.Alpha(i), RowFade::kPlain) << i;
    EXPECT_FALSE(f.Tick(false));  // nothing left to draw
}

TEST(RowFade, OnlyRowsOfThePageCount) {
    RowFade f = Page(3);
    EXPECT_FALSE(f.Move(50, 80));  // row 3 holds no entry
    EXPECT_TRUE(f.Move(50, 60));
    EXPECT_EQ(f.HoverRow(), 2);
}

// A 100×50 list of flat rows 5 pixels high, three of them with entries.
void ShowThreeRows(SkinList& list) {
    list.resize(100, 50);
    ListLook look;
    look.background = QImage(100, 50, QImage::Format_RGB32);
    look.background.fill(qRgb(10, 20, 40));
    for (int i = 0; i < 10; ++i) look.rows[i] = look.background.copy(0, i * 5, 100, 5);
    look.rowHeight = 5;
    list.SetLook(look);
    list.SetRows({"", "", ""}, -1);
    list.show();
}

TEST(SkinListWidget, HoverLightsARowAndTheTickFadesItBack) {
    SkinList list;
    ShowThreeRows(list);
    QTest::mouseMove(&list, {50, 7});
    const QRgb lit = BlendPixel(qRgb(10, 20, 40), qRgb(255, 255, 255), RowFade::kLit);
    EXPECT_EQ(list.Picture().pixel(50, 7), lit);
    EXPECT_TRUE(list.FadeTimer().isActive());
    EXPECT_EQ(list.cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&list, &leave);
    EXPECT_EQ(list.cursor().shape(), Qt::ArrowCursor);
    for (int i = 0; i < 19; ++i) {
        EXPECT_NE(list.Picture().pixel(50, 7), qRgb(10, 20, 40)) << i;
        list.FadeTick();
    }
    EXPECT_EQ(list.Picture().pixel(50, 7), qRgb(10, 20, 40));
    QTest::mouseMove(&list, {50, 12});  // back over a row: the hand again
    EXPECT_EQ(list.cursor().shape(), Qt::PointingHandCursor);
}

// A pointer resting over a lit row changes nothing: the tick stops instead
// of running every 20 ms, and starts again when the pointer moves or the
// page changes under it.
TEST(SkinListWidget, TheTickRestsWhileThePointerRestsOverTheList) {
    SkinList list;
    ShowThreeRows(list);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QTest::mouseMove(&list, {50, 7});
    ASSERT_TRUE(list.underMouse()) << "the platform must report the pointer over the list";
    ASSERT_TRUE(list.FadeTimer().isActive());
    list.FadeTick();
    EXPECT_FALSE(list.FadeTimer().isActive());
    EXPECT_EQ(list.Fade().HoverRow(), 1);  // still lit

    // The next page holds one entry: the pointer is off the rows now.
    list.SetRows({"only"}, -1);
    EXPECT_TRUE(list.FadeTimer().isActive());
    list.FadeTick();
    EXPECT_EQ(list.Fade().HoverRow(), -1);
    EXPECT_EQ(list.cursor().shape(), Qt::ArrowCursor);

    QTest::mouseMove(&list, {50, 3});
    EXPECT_TRUE(list.FadeTimer().isActive());
}

TEST(WindowDragTest, TheTitleMovesTheWindowWhereTheSystemWillNot) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 200, 100);
    auto* title = new QLabel("title", &window);
    title->setGeometry(0, 0, 200, 30);
    WindowDrag drag(title, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    QTest::mousePress(title, Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(title, {30, 20});
    QTest::mouseRelease(title, Qt::LeftButton, {}, {30, 20});
    if (drag.SystemMove()) GTEST_SKIP() << "the window system moved the window";
    EXPECT_EQ(window.pos(), start + QPoint(20, 10));
}

TEST(MainPixels, APressFindsTheRowUnderItOrTheFreeSpace) {
    const struct {
        int x, y, rows;
        int row;
    } cases[] = {
        {20, 5, 3, 0},   {20, 30, 3, 1},  {20, 74, 3, 2},  // rows 25 pixels high
        {20, 75, 3, -1},                                  // below the last row
        {0, 5, 3, -1},   {306, 5, 3, -1}, {20, 0, 3, -1}, // on the picture's edge
        {20, 249, 10, 9}, {20, 250, 10, -1},              // a full page ends at ten rows
        {20, 5, 0, -1},                                   // an empty page
    };
    for (const auto& c : cases) EXPECT_EQ(RowAt(c.x, c.y, 306, 25, c.rows), c.row) << c.x << "," << c.y;
    EXPECT_EQ(RowAt(20, 5, 306, 0, 3), -1) << "no rows are drawn before the list is placed";
}

TEST(MainPixels, TheProgressFillStaysOnTheTrack) {
    const struct {
        double length, position;
        int fill;
    } cases[] = {
        {200, 5.5, static_cast<int>(306 / 201.0 * 5.5)},
        {200, 0, 0},
        {200, 500, 306},        // a position past the length
        {200, -3, 0},
        {0, 0.5, 153},          // a length not known yet: over one second
        {std::nan(""), 5, 0},
        {-1, 5, 0},             // a division by zero
    };
    for (const auto& c : cases) EXPECT_EQ(ProgressFill(306, c.length, c.position), c.fill) << c.length << " " << c.position;
}

TEST(SeekTrack, OnlyWhilePlayingOrPausedAndInsideTheTrack) {
    using namespace platform;
    const struct {
        int x, state;
        double duration;
        bool seeks;
        double position;
    } cases[] = {
        {153, kPlayPlaying, 200, true, 100},  {153, kPlayPaused, 200, true, 100},
        {153, kPlayStopped, 200, false, 0},   {0, kPlayPlaying, 200, false, 0},
        {306, kPlayPlaying, 200, false, 0},   {153, kPlayPlaying, 0, false, 0},
        {1, kPlayPlaying, 306, true, 1},
    };
    for (const auto& c : cases) {
        const auto t = SeekOnTrack(c.x, 306, c.duration, c.state);
        ASSERT_EQ(t.has_value(), c.seeks) << c.x << " " << c.state;
        if (t) {
            EXPECT_DOUBLE_EQ(t->position, c.position);
            EXPECT_EQ(t->fillWidth, c.x);
        }
    }
}

}  // namespace
