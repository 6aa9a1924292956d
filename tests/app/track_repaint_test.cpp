// What the time track paints again when its fill or text changes: only the
// strip the fill moved, the fill together with the next text change while a
// song plays, and never the window under it once it has its background.
#include "app/ui/skinned_controls.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>

namespace tavo {
namespace {

// Counts the paints of one widget and the area they cover.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            area |= static_cast<QPaintEvent*>(e)->rect();
        }
        return false;
    }
    void Clear() {
        paints = 0;
        area = QRect();
    }
    int paints = 0;
    QRect area;
};

class TrackRepaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(240, 40);
        track = new SkinTrack(&window);
        track->setGeometry(20, 12, 200, 16);
        TrackLook look;
        look.frame = Qt::darkBlue;
        look.fill = Qt::blue;
        look.text = Qt::white;
        track->SetLook(look);
        track->SetText(QStringLiteral(" 00:01 / 00:45  "));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        Settle();
        windowLog.Clear();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    QRect Fill(int width) const { return QRect(0, 0, width, 16); }

    QWidget window;
    SkinTrack* track = nullptr;
    PaintLog windowLog{&window};
};

TEST_F(TrackRepaintTest, AFillChangePaintsOnlyTheStripItMoved) {
    PaintLog log(track);
    const struct {
        int from, to;
    } moves[] = {{0, 50}, {50, 52}, {52, 30}};
    track->SetFill(Fill(moves[0].from));
    Settle();
    for (const auto& m : moves) {
        track->SetFill(Fill(m.from));
        Settle();
        log.Clear();
        track->SetFill(Fill(m.to));
        EXPECT_EQ(track->Fill(), Fill(m.to));
        Settle();
        EXPECT_EQ(log.paints, 1) << m.from << " -> " << m.to;
        EXPECT_GE(log.area.left(), std::min(m.from, m.to) - 1) << m.from << " -> " << m.to;
        EXPECT_LE(log.area.right(), std::max(m.from, m.to) + 1) << m.from << " -> " << m.to;
    }
}

// While playing the fill waits for the next second's text; once the watch
// stops (the same fill set without waiting) it is painted at once.
TEST_F(TrackRepaintTest, WhilePlayingTheFillIsPaintedWithTheNextSecond) {
    PaintLog log(track);
    track->SetFill(Fill(40), true);
    track->SetFill(Fill(41), true);
    EXPECT_EQ(track->Fill(), Fill(41)) << "read at once";
    Settle();
    EXPECT_EQ(log.paints, 0);
    track->SetText(QStringLiteral(" 00:02 / 00:45  "));
    Settle();
    EXPECT_EQ(log.paints, 1);
    EXPECT_EQ(log.area, track->rect());

    log.Clear();
    track->SetFill(Fill(60), true);
    Settle();
    EXPECT_EQ(log.paints, 0);
    track->SetFill(Fill(60));
    Settle();
    EXPECT_EQ(log.paints, 1);
    EXPECT_LE(log.area.right(), 61);
}

TEST_F(TrackRepaintTest, WithItsBackgroundTheWindowUnderItIsNotPaintedAgain) {
    const struct {
        bool background;
        bool windowPainted;
    } cases[] = {{false, true}, {true, false}};
    int width = 10;
    for (const auto& c : cases) {
        QImage under(track->size(), QImage::Format_RGB32);
        under.fill(Qt::gray);
        track->SetBackground(c.background ? under : QImage());
        Settle();
        windowLog.Clear();
        track->SetFill(Fill(width += 10));
        Settle();
        EXPECT_EQ(windowLog.paints > 0, c.windowPainted) << "background " << c.background;
        EXPECT_EQ(track->testAttribute(Qt::WA_OpaquePaintEvent), c.background);
    }
}

}  // namespace
}  // namespace tavo
