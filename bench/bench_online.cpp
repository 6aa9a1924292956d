// The open services, measured against what runs on this machine.
//
//   BM_CachedLyricsToLine   from a song starting (LyricsFinder::Find) to its
//                           lyric line for a play position, with the lyrics
//                           in the cache (a 60-line LRC): goal under 50 ms.
//   BM_DirectorySearchToRows  from a search typed in the "电台目录" window to
//                           its 100 results shown (the fake directory on
//                           127.0.0.1, JSON over HTTP): goal under 200 ms.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include "lyrics/core/lyrics_finder.h"
#include "lyrics/lyric_timing.h"
#include "platform/message_box.h"
#include "sources/ui/radio_directory_window.h"
#include "support/fake_radio_directory.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace {

using namespace tavo;

void BM_CachedLyricsToLine(benchmark::State& state) {
    QTemporaryDir dir;
    LyricsFinderOptions options;
    options.cacheFolder = dir.path().toStdString();
    options.askService = false;
    LyricsFinder finder(options);
    QString lrc;
    for (int i = 0; i < 60; ++i)
        lrc += QStringLiteral("[%1:%2.50]第 %3 行歌词\n").arg(i * 4 / 60, 2, 10, QLatin1Char('0')).arg(i * 4 % 60, 2, 10, QLatin1Char('0')).arg(i);
    finder.Cache()->Store(QStringLiteral("周杰伦"), QStringLiteral("晴天"), lrc);
    const LyricsSong song{QStringLiteral("晴天 ┈ 周杰伦")};
    QStringList lines;
    QObject::connect(&finder, &LyricsFinder::Answered, [&](const LyricsAnswer& a) { lines = a.lines; });
    for (auto _ : state) {
        lines.clear();
        finder.Find(song);
        while (lines.isEmpty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
        const int k = ListIdx(lines, QStringLiteral("03:00"), static_cast<int>(lines.size()));
        if (k < 0) state.SkipWithError("no line for 03:00");
        benchmark::DoNotOptimize(LyricLineText(lines.value(k)));
    }
}
BENCHMARK(BM_CachedLyricsToLine)->Unit(benchmark::kMillisecond);

void BM_DirectorySearchToRows(benchmark::State& state) {
    test::FakeRadioDirectory fake(100);
    RadioDirectoryOptions options;
    options.base = fake.Base();
    options.shuffle = [](QStringList&) {};
    RadioDirectory directory(options);
    RadioDirectoryWindow window(&directory, QTemporaryDir().filePath(QStringLiteral("radio.txt")).toStdString());
    window.SetPageSize(100);
    window.Region()->setCurrentIndex(3);  // 全部: every one of the 100
    window.resize(760, 480);
    window.show();
    bool shown = false;
    QObject::connect(&window, &RadioDirectoryWindow::RowsShown, [&] { shown = true; });
    // The first search learns the server list (and passes the failing
    // server); the measured ones are the searches a user types after it.
    window.StartSearch();
    while (!shown) QCoreApplication::processEvents(QEventLoop::AllEvents);
    int n = 0;
    for (auto _ : state) {
        shown = false;
        window.SearchText()->setText(n++ % 2 ? QStringLiteral("电台") : QString());
        window.StartSearch();
        while (!shown) QCoreApplication::processEvents(QEventLoop::AllEvents);
        window.Results()->repaint();
        if (window.Results()->topLevelItemCount() != 100) state.SkipWithError("not 100 rows");
    }
}
BENCHMARK(BM_DirectorySearchToRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tavo::bench::RunWithApplication(argc, argv); }
