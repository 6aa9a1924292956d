#include "app/start_up.h"
#include "app/last_song.h"

#include "app/player_core.h"
#include "app/window_rules.h"
#include "calendar/core/notes_store.h"
#include "platform/ansi_text.h"
#include "platform/core/media_player.h"
#include "platform/message_box.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "sources/services.h"

#include <QDate>

#include <algorithm>
#include <system_error>

namespace tavo {

namespace fs = std::filesystem;

namespace {

long long ConfigNumber(const QString& key) { return platform::ConfigNumber(kAppTitle, key); }

void Call(const std::function<void()>& f) {
    if (f) f();
}

}  // namespace

bool StartUp::Form_Load() {
    PlayerCore& c = c_;
    c.AppVersion = QStringLiteral("1.0");
    Call(c.hooks.ShowSplash);
    // The window's title and the search service's tag; no song chosen.
    c.AppTitle = kAppTitle;
    c.ui.Label3 = c.AppTitle;
    c.links.LinkSource = QStringLiteral("SeekUp");
    c.PlayIndex = -1;
    // The notes database is opened on demand; an empty one is made on
    // first start.
    InitNotesDbPath();
    // The skin colours' defaults, then the chosen skin's name.
    Call(c.hooks.SetDefaultSkinColours);
    c.CurrentSkin = platform::Settings().GetSetting(c.AppTitle, QStringLiteral("Skin"), QStringLiteral("name"));
    // The skin folders (none: the program cannot run), the skin menu, the skin.
    if (!LoadMenu()) return false;
    if (c.hooks.FillSkinMenu) c.hooks.FillSkinMenu(c.SkinFolders);
    Call(c.hooks.ApplySkin);
    c.list.PageText.clear();
    c.list.OutList();
    // The calendar strip's month; loading is done.
    c.ui.YMlabel = QDate::currentDate().toString(QStringLiteral("yyyy.MM"));
    c.LoadDone = True16;
    Call(c.hooks.StartFadeTimer);
    // The source catalogue.
    c.gsl.ChartSiteBase = Services().chartSite;
    c.gsl.BuildSourceCatalogue();
    // The tray menus' check marks and automatic play, from the settings.
    const bool closeQuits = ConfigNumber(QStringLiteral("isClose")) != 0;
    c.AutoPlay = ConfigNumber(QStringLiteral("isRunPlay")) != 0;
    if (c.hooks.SetTrayChecks) c.hooks.SetTrayChecks(closeQuits, c.AutoPlay);
    // The default source, which fetches its list. A stored index outside the selector (a damaged setting) is taken
    // as the default.
    const long long stored = ConfigNumber(QStringLiteral("isPlayListIndex"));
    int index = stored == 0 ? 2 : static_cast<int>(std::clamp<long long>(stored - 1, -1, 1 << 20));
    if (index < 0 || index >= c.gsl.PHcombo.ListCount()) index = 2;
    // The last song's list instead, when it comes back; the song is saved
    // again on the way out.
    index = ResumeSourceAtStart(c, index);
    c.exit.AddSaveStep([&c] { SaveLastSong(c); });
    c.gsl.PHcombo.SetListIndex(index);
    // The volume knob, then the update notice.
    if (c.hooks.PlaceVolumeKnob) c.hooks.PlaceVolumeKnob(c.Player().settings().volume());
    Call(c.hooks.UpApp);
    c.Touch();
    return true;
}

bool StartUp::LoadMenu() {
    const fs::path skinRoot = platform::InProgramFolder("skin");
    const QString message = QStringLiteral("缺少必须的皮肤文件，无法运行。请到 ") + Services().makerSite +
                            QStringLiteral("下载重新安装。");
    auto missing = [&] {
        platform::Messages().Show(message, QStringLiteral("缺少皮肤"), platform::MsgButtons::Ok,
                                  platform::MsgIcon::Exclamation);
        return false;
    };
    QStringList& folders = c_.SkinFolders;
    folders.clear();
    std::error_code ec;
    if (!fs::is_directory(skinRoot, ec)) return missing();
    for (const auto& entry : fs::directory_iterator(skinRoot, ec)) {
        std::error_code e2;
        if (entry.is_directory(e2)) folders.append(platform::PathToQString(entry.path().filename()));
    }
    std::sort(folders.begin(), folders.end());
    if (folders.isEmpty()) return missing();
    if (c_.CurrentSkin.isEmpty() || !folders.contains(c_.CurrentSkin))
        c_.CurrentSkin = folders.contains(kDefaultSkin) ? kDefaultSkin : folders.first();
    return true;
}

void StartUp::CloseButton() {
    const bool tray = c_.hooks.TrayAvailable && c_.hooks.TrayAvailable();
    switch (CloseButtonAction(ConfigNumber(QStringLiteral("isClose")), tray)) {
        case CloseAction::HideToTray:
            Call(c_.hooks.HideMain);
            c_.IsShown = False16;
            return;
        case CloseAction::Minimise:
            Call(c_.hooks.MinimizeMain);
            return;
        case CloseAction::AskToExit:
            break;
    }
    const auto answer = platform::Messages().Show(QStringLiteral("确定要退出") + c_.AppTitle + QStringLiteral("？"),
                                                  QString(), platform::MsgButtons::OkCancel,
                                                  platform::MsgIcon::Question);
    if (answer == platform::MsgResult::Ok) c_.exit.Exit();
}

void StartUp::MinimizeButton() { Call(c_.hooks.MinimizeMain); }

}  // namespace tavo
