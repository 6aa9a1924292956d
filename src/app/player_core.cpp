#include "app/player_core.h"

#include "lyrics/lyrics_view.h"
#include "platform/core/media_player.h"

namespace tavo {

PlayerCore::PlayerCore(platform::MediaPlayer& mmp, QObject* parent)
    : QObject(parent),
      mmp_(mmp),
      songLyrics(lyricLines, [this]() -> LyricsFinder& { return online.Finder(); }),
      exit(hooks),
      startUp(*this),
      list(*this),
      fetch(*this),
      playback(*this),
      SelIndex(list.SelIndex),
      PlaySource(playback.play.source),
      PlayIndex(playback.PlayIndex),
      ListItems(gsl.ListItems),
      CurPage(gsl.CurPage) {
    setObjectName(QStringLiteral("playerCore"));
    connect(&gsl.PHcombo, &Selector::ListIndexChanged, &fetch, [this](int) { fetch.PHcombo_Click(); });
    // After the catalogue's own handler, which fills the entries.
    connect(&gsl.Combo1, &Selector::ListIndexChanged, &fetch, [this](int) { fetch.Combo1_Click(); });
    connect(&gsl.Combo2, &Selector::ListIndexChanged, &fetch, [this](int) { fetch.Combo2_Click(); });
}

PlayerCore::~PlayerCore() = default;

void PlayerCore::PageA_Click(int index) {
    auto call = [](const std::function<void()>& f) {
        if (f) f();
    };
    switch (index) {
        case 4:
        case 5:
        case 6:
            if (hooks.ShowDropDown) hooks.ShowDropDown(index - 4);
            break;
        case 7:
            startUp.CloseButton();
            break;
        case 8:
            startUp.MinimizeButton();
            break;
        case 9:
            call(hooks.ShowSettingsMenu);
            break;
        case 10:
        case 11:
            if (hooks.CalendarMonthStep) hooks.CalendarMonthStep(index == 10 ? -1 : 1);
            break;
        case 12:
            call(hooks.CalendarThisMonth);
            break;
        case 13:
            call(hooks.OpenCalendar);
            break;
        case 14:
            fetch.AnotherBatch();
            break;
        default:
            list.PageA_Click(index);  // paging, and back to the playing list
            break;
    }
}

void PlayerCore::Touch() {
    if (touched_) return;
    touched_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            touched_ = false;
            Q_EMIT Changed();
        },
        Qt::QueuedConnection);
}

void PlayerCore::SetLabel6(const QString& text) {
    if (ui.Label6 == text) return;
    ui.Label6 = text;
    Touch();
}

void PlayerCore::SetStatus(const QString& text) {
    SetLabel6(text);
    // The watch loop repeats the same line five times a second: the lyrics
    // window lays its line out again only when it changes.
    if (lrc_ && lrc_->Label1Text() != text) lrc_->SetLabel1Text(text);
}

void PlayerCore::SetLoadLabel(const QString& text, bool visible) {
    ui.LoadLabel = text;
    ui.LoadLabelVisible = visible;
    Touch();
}

}  // namespace tavo
