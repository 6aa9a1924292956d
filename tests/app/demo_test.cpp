// The demo a new user sees: the bundled local services, the real window
// offscreen and libmpv without sound.
#include "app/ui/main_form.h"

#include "app_fixture.h"
#include "demo_service.h"
#include "lyrics/ui/lrc_box.h"
#include "lyrics/lyric_timing.h"
#include "platform/core/media_player.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace tavo {
namespace {

using test::WaitFor;

class DemoTest : public test::RealPlayerTest {
protected:
    void SetUp() override {
        RealPlayerTest::SetUp();
        ASSERT_TRUE(service.Start(0));
        SetServices(LocalServiceHosts(service.port()));
        StartPlayer();
    }
    void TearDown() override {
        form.reset();
        player.reset();
        service.Stop();
        RealPlayerTest::TearDown();
    }
    bool Rows(int n) {
        return WaitFor([&] { return form->core().ui.rows.size() == n && !form->core().fetch.QelDown1.Downloading(); });
    }
    bool Playing() {
        return WaitFor([&] { return player->playState() == platform::kPlayPlaying; }, 8000);
    }

    services::DemoService service;
};

TEST_F(DemoTest, ChartPeriodEntryThenASongWithItsLyrics) {
    Q_EMIT form->PHcombo()->activated(5);
    ASSERT_TRUE(Rows(10));
    EXPECT_GT(form->Combo1()->count(), 0);
    EXPECT_GT(form->Combo2()->count(), 0);
    ClickRow(0);
    ASSERT_TRUE(Playing());
    EXPECT_TRUE(player->URL().startsWith(QString::fromStdString(service.Url())));
    // The lyrics arrive and the watch loop shows the line of the position.
    const LyricsModel& lines = form->core().lyricLines;
    ASSERT_TRUE(WaitFor([&] { return !lines.IsEmpty(); }));
    ASSERT_TRUE(WaitFor([&] {
        const int k = ListIdx(lines.Lines(), player->controls().currentPositionString(), lines.Count());
        const QString shown = form->Label(6)->text();
        return k >= 0 && !lines.Text(k).isEmpty() && shown == lines.Text(k) && form->lyrics().Label1Text() == shown;
    }, 8000));
}

}  // namespace
}  // namespace tavo
