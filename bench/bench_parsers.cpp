// The page and feed parsers on pages of 1 MB and 10 MB, read from a file as
// the player reads them. Parsing must grow linearly with the page: the
// 10 MB time should be about ten times the 1 MB time.
//
// BM_ChartIndexShown: a chart index of 100,000 links parsed and shown as the
// window shows it (both chart selectors bound to combo boxes that refill on
// every change of their items). Target: well under a second.
#include "sources/get_song_list.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>

#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path& BenchDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "tavo_bench_parsers";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A page of about `mb` megabytes: head, `unit(i)` repeated, tail.
fs::path MakePage(const std::string& name, int mb, const std::string& head,
                  const std::function<std::string(int)>& unit, const std::string& tail) {
    const fs::path file = BenchDir() / (name + "_" + std::to_string(mb) + "mb.txt");
    if (fs::exists(file)) return file;
    std::string page = head;
    const size_t target = static_cast<size_t>(mb) << 20;
    for (int i = 0; page.size() < target; ++i) page += unit(i);
    page += tail;
    std::ofstream(file, std::ios::binary) << page;
    return file;
}

fs::path FeedPage(int mb) {
    return MakePage("feed", mb, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<playlist>\r\n", [](int i) {
        return "  <item>\r\n    <song>Song number " + std::to_string(i) + " 晚风里的灯塔</song>\r\n    <artist>Some Artist " +
               std::to_string(i % 97) + "</artist>\r\n  </item>\r\n";
    }, "</playlist>\r\n");
}

fs::path PlaylistPage(int mb) {
    return MakePage("playlist", mb, "{\"r\":0,\"song\":[", [](int i) {
        return std::string(i ? "," : "") + R"({"album":"\/subject\/1\/","picture":"http:\/\/h\/p.jpg","ssid":"ab12","albumtitle":"专辑","company":"c","rating_avg":"4.1","artist":"歌手&nbsp;)" +
               std::to_string(i % 89) + R"(","url":"http:\/\/127.0.0.1:17380\/song\/t)" + std::to_string(10000000 + i) +
               R"(.wav","title":"第)" + std::to_string(i) + R"(首歌","length":"30","sid":"1","aid":"2"})";
    }, "]}");
}

fs::path ChartIndexPage(int mb) {
    return MakePage("index", mb, "<html><body>\r\n", [](int i) {
        std::string block = "<div class='rankblock'><h2><code>第" + std::to_string(i % 1000) + "期</code></h2><ul>\r\n";
        for (int k = 0; k < 20; ++k)
            block += "<li><a href='/top/html_top/top0/p" + std::to_string(i) + "_" + std::to_string(k) + ".htm'>华语金曲" +
                     std::to_string(k) + "</a></li>\r\n";
        return block + "</ul></div>\r\n";
    }, "</body></html>\r\n");
}

fs::path ChartSongsPage(int mb) {
    return MakePage("songs", mb, "<html><body><table>\r\n", [](int i) {
        return "<tr><td><input type='checkbox' checked='checked' name='Checkbox' value='" + std::to_string(i) +
               "|ab12|%CD%ED%B7%E7%C0%EF%B5%C4%B5%C6%CB%FE(Live)|%C1%D6%D0%A1%D6%DB&Tom+Lee|0'></td><td>x</td></tr>\r\n";
    }, "</table></body></html>\r\n");
}

// `periods` blocks of `links` links each.
fs::path ChartIndexOfLinks(int periods, int links) {
    const fs::path file = BenchDir() / ("links_" + std::to_string(periods) + "x" + std::to_string(links) + ".htm");
    if (fs::exists(file)) return file;
    std::string page = "<html><body>\r\n";
    for (int p = 0; p < periods; ++p) {
        page += "<div class='rankblock'><h2><code>第" + std::to_string(p) + "期</code></h2><ul>\r\n";
        for (int k = 0; k < links; ++k)
            page += "<li><a href='/top/p" + std::to_string(p) + "_" + std::to_string(k) + ".htm'>金曲" + std::to_string(k) +
                    "</a></li>\r\n";
        page += "</ul></div>\r\n";
    }
    page += "</body></html>\r\n";
    std::ofstream(file, std::ios::binary) << page;
    return file;
}

// The window's binding of a selector to its combo box: a change of the
// items clears and refills the box in one step.
void Bind(tavo::Selector& model, QComboBox& box) {
    QObject::connect(&model, &tavo::Selector::ItemsChanged, &box, [&model, &box] {
        const QSignalBlocker block(&box);
        box.clear();
        box.addItems(model.Items());
        box.setCurrentIndex(model.ListIndex());
    });
    QObject::connect(&model, &tavo::Selector::ListIndexChanged, &box, [&box](int index) {
        const QSignalBlocker block(&box);
        box.setCurrentIndex(index);
    });
}

void SetBytes(benchmark::State& state, const fs::path& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(file)));
}

void BM_XmlFeed(benchmark::State& state) {
    const fs::path file = FeedPage(static_cast<int>(state.range(0)));
    tavo::GetSongList g;
    for (auto _ : state) benchmark::DoNotOptimize(g.ParseXmlFeed(file));
    SetBytes(state, file);
}

void BM_JsonPlaylist(benchmark::State& state) {
    const fs::path file = PlaylistPage(static_cast<int>(state.range(0)));
    tavo::GetSongList g;
    for (auto _ : state) benchmark::DoNotOptimize(g.ParseJsonPlaylist(file));
    SetBytes(state, file);
}

void BM_ChartIndex(benchmark::State& state) {
    const fs::path file = ChartIndexPage(static_cast<int>(state.range(0)));
    tavo::GetSongList g;
    for (auto _ : state) {
        g.ParseChartIndex(file);
        benchmark::DoNotOptimize(g.ChartPeriodLinks.size());
    }
    SetBytes(state, file);
}

void BM_ChartSongPage(benchmark::State& state) {
    const fs::path file = ChartSongsPage(static_cast<int>(state.range(0)));
    tavo::GetSongList g;
    const QString start = QStringLiteral("checked='checked' name='Checkbox' value='");
    const QString end = QStringLiteral("'>");
    for (auto _ : state) benchmark::DoNotOptimize(g.ParseChartSongPage(file, start, end));
    SetBytes(state, file);
}

void BM_ChartIndexShown(benchmark::State& state) {
    const fs::path file = ChartIndexOfLinks(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    tavo::GetSongList g;
    QComboBox periods;
    QComboBox entries;
    Bind(g.Combo1, periods);
    Bind(g.Combo2, entries);
    for (auto _ : state) {
        g.ParseChartIndex(file);
        benchmark::DoNotOptimize(periods.count() + entries.count());
    }
    state.counters["periods"] = periods.count();
    state.counters["entries"] = entries.count();
    SetBytes(state, file);
}

BENCHMARK(BM_XmlFeed)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonPlaylist)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartIndex)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSongPage)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
// 100,000 links as 100,000 one-link periods, and as one period of 100,000.
BENCHMARK(BM_ChartIndexShown)->Args({100000, 1})->Args({1, 100000})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The parsers process pending events while they cut: measure them with
    // an application object, as in the player (headless unless the caller
    // chose a platform: the combo boxes are never shown).
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Both page sizes reuse freed memory between runs. Left alone, the
    // allocator maps the 10 MB page's buffers afresh (and faults every page
    // in) on each run while the 1 MB page's come back warm, which measures
    // the allocator rather than the parser.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
