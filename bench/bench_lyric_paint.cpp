// One frame of the lyrics window with karaoke fill: a 560x60 window, a
// line with a translation, outline on, half sung. Goal: under 1 ms.
// Rows:
//   BM_KaraokeFrame/1, /2   at scale 1 and 2
//   BM_PlainFrame/1, /2     the same line without fill, outline or translation
//   BM_FiveLineFrame/1      the five-line view with karaoke fill
//   BM_NewLineFrame/1, /2   a frame that starts a line (glyphs drawn afresh)
#include "lyrics/ui/lyric_painter.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>

namespace {

using namespace tavo;

const LyricDoc& Doc() {
    static const LyricDoc doc = [] {
        QString text;
        for (int i = 0; i < 60; ++i)
            text += QStringLiteral("[%1:%2.00]<%1:%2.00>让我们 <%1:%2.80>荡起双桨 <%1:%3.60>小船儿推开波浪\n"
                                   "[%1:%2.00]Let us row the boat, the little boat pushes the waves\n")
                        .arg(i / 12, 2, 10, QLatin1Char('0'))
                        .arg(i % 12 * 5, 2, 10, QLatin1Char('0'))
                        .arg(i % 12 * 5 + 1, 2, 10, QLatin1Char('0'));
        return ParseLyricDoc(text);
    }();
    return doc;
}

void Frame(benchmark::State& state, const LyricOptions& look, QSize size) {
    LyricFrame frame;
    frame.doc = &Doc();
    frame.timeMs = 31 * 1000 + 900;  // inside the seventh line, mid-word
    const double scale = static_cast<double>(state.range(0));
    LyricPainter painter;  // as the window keeps one: the line's glyphs are drawn once
    for (auto _ : state) {
        frame.timeMs += 16;  // the fill moves every frame
        if (frame.timeMs > 32 * 1000 + 800) frame.timeMs = 31 * 1000 + 900;
        const QImage img = painter.Render(size, scale, frame, look);
        benchmark::DoNotOptimize(img.constBits());
    }
}

LyricOptions Karaoke(int lines) {
    LyricOptions o = DefaultLyricOptions(0x104080);
    o.fontPx = 22;
    o.karaoke = true;
    o.lines = lines;
    o.backAlpha = 160;
    return o;
}

void BM_KaraokeFrame(benchmark::State& state) { Frame(state, Karaoke(1), {560, 60}); }
BENCHMARK(BM_KaraokeFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_PlainFrame(benchmark::State& state) {
    LyricOptions o = Karaoke(1);
    o.karaoke = false;
    o.translation = false;
    o.edge = LyricEdge::None;
    Frame(state, o, {560, 60});
}
BENCHMARK(BM_PlainFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_FiveLineFrame(benchmark::State& state) { Frame(state, Karaoke(5), {560, 200}); }
BENCHMARK(BM_FiveLineFrame)->Arg(1)->Unit(benchmark::kMicrosecond);

// A frame on which a new line begins: its glyphs are drawn afresh.
void BM_NewLineFrame(benchmark::State& state) {
    LyricFrame frame;
    frame.doc = &Doc();
    frame.timeMs = 31 * 1000 + 900;
    const LyricOptions look = Karaoke(1);
    for (auto _ : state) {
        const QImage img = RenderLyricFrame({560, 60}, static_cast<double>(state.range(0)), frame, look);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_NewLineFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
