// tavo-lyrics-demo [--lines 1|2|5] [--karaoke] [--no-translation] [--alpha N]
//                  [--font-px N] [--lock] [--dialog] [--at MS] [--grab FILE]
//
// Shows the lyrics window on a sample lyric (word times, translations) that
// plays from MS milliseconds on, in the look given, on a plain desktop-like
// backdrop. --dialog opens "歌词设置…" as well. With --grab, the window (or
// the dialog) is written to FILE after a moment and the program ends.
// Settings are kept in a temporary folder, never in the user's.
#include "lyrics/core/lyrics_model.h"
#include "lyrics/lyrics_host.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

using namespace tavo;

class DemoHost : public LyricsHost {
public:
    void PlayS_Click(int) override {}
    bool IsPlaying() const override { return true; }
    bool IsMuted() const override { return false; }
    QWidget* MainWindow() override { return nullptr; }
    bool IsShown() const override { return false; }
    void SetIsShown(bool) override {}
    void ShowSettingsMenu(const QPoint&) override {}
    int PlayPositionMs() const override { return startMs + static_cast<int>(clock.elapsed()); }
    void SeekToMs(int ms) override {
        startMs = ms;
        clock.restart();
    }
    QString PlayingSong() const override { return QStringLiteral("示例 - 让我们荡起双桨"); }
    QString SettingsName() const override { return QStringLiteral("tavo-lyrics-demo"); }
    int startMs = 0;
    QElapsedTimer clock;
};

const char* kSample =
    "[ti:让我们荡起双桨]\n"
    "[00:00.50]<00:00.50>让我们 <00:01.50>荡起 <00:02.30>双桨\n"
    "[00:00.50]Let us row the oars\n"
    "[00:04.00]<00:04.00>小船儿 <00:05.00>推开 <00:05.80>波浪\n"
    "[00:04.00]The little boat pushes the waves\n"
    "[00:07.50]<00:07.50>海面 <00:08.20>倒映着 <00:09.20>美丽的 <00:10.00>白塔\n"
    "[00:07.50]The sea mirrors the white tower\n"
    "[00:11.00]<00:11.00>四周 <00:11.80>环绕着 <00:12.80>绿树 <00:13.50>红墙\n"
    "[00:11.00]Green trees and red walls all around\n"
    "[00:14.50]小船儿轻轻 飘荡在水中\n"
    "[00:18.00]迎面吹来了 凉爽的风\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser args;
    args.addHelpOption();
    args.addOptions({{"lines", "1, 2 or 5 lines", "n", "1"},
                     {"karaoke", "karaoke fill"},
                     {"no-translation", "hide translations"},
                     {"alpha", "background alpha 0..255", "n", "255"},
                     {"font-px", "font size in pixels", "n", "16"},
                     {"lock", "lock the window"},
                     {"dialog", "open the look dialog"},
                     {"at", "start position in ms", "ms", "5200"},
                     {"grab", "write a PNG and exit", "file"}});
    args.process(app);

    QTemporaryDir config;
    platform::SetSettings(std::make_unique<platform::IniSettingsStore>(config.path().toStdString()));
    DemoHost host;
    host.startMs = args.value("at").toInt();
    host.clock.start();
    LyricsModel model;
    lrcBox box(&host);
    LyricOptions look = box.Look();
    look.lines = args.value("lines").toInt();
    look.karaoke = args.isSet("karaoke");
    look.translation = !args.isSet("no-translation");
    look.backAlpha = args.value("alpha").toInt();
    look.fontPx = args.value("font-px").toInt();
    look.locked = args.isSet("lock");
    box.SetLook(look);
    box.SetLyricLines(&model);
    model.SetLines(QString::fromUtf8(kSample).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    box.ShowLyrics(true);
    box.move(box.x(), 60);
    box.SetPlayGlyph(true);
    if (args.isSet("dialog")) box.OpenLookDialog();

    if (args.isSet("grab")) {
        QTimer::singleShot(700, &app, [&] {
            QWidget* shown = box.LookDialog() ? static_cast<QWidget*>(box.LookDialog()) : &box;
            const bool ok = shown->grab().save(args.value("grab"));
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(args.value("grab")));
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
