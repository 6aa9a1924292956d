// A skin switch: LoadSkin then painting every picture of the main window
// (window image, list, row backgrounds, page button faces, the playback
// buttons' faces through the skin decoder) for the shipped default skin.
// Goal: under 30 ms. Rows:
//   BM_SkinSwitch/1        at scale 1
//   BM_SkinSwitch/2        at scale 2 (the "@2x" pictures)
//   BM_PeerQtImages/1, /2  peer: the same pictures read by Qt's PNG reader
//                          and composed with QPainter, no colour file
#include "platform/program_folder.h"
#include "skin/main_layout.h"
#include "skin/skin_module.h"
#include "skin/skin_painter.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

namespace {

using namespace tavo;

const QString kSkin = QStringLiteral("蓝色科技");

SkinLayout Layout() { return MainWindowLayout(true).ForSkin({560, 36}); }

void BM_SkinSwitch(benchmark::State& state) {
    SkinModule::Scale = static_cast<int>(state.range(0));
    SkinModule::CurrentSkin = kSkin;
    const SkinLayout layout = Layout();
    for (auto _ : state) {
        SkinModule::LoadSkin(kSkin);
        SkinPictures pictures = PaintCurrentSkin(layout);
        benchmark::DoNotOptimize(pictures.window.constBits());
    }
    if (SkinModule::Image1.isNull()) state.SkipWithError("the default skin has no picture");
}
BENCHMARK(BM_SkinSwitch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_PeerQtImages(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const std::string suffix = scale == 2 ? "@2x" : "";
    const std::filesystem::path folder = SkinModule::SkinFolder(kSkin);
    const SkinLayout layout = Layout();
    for (auto _ : state) {
        QImage bg(QString::fromStdString((folder / ("bg" + suffix + ".png")).string()));
        QImage window = bg.scaled(layout.window * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
        std::vector<QImage> faces;
        for (const char* name : {"A", "B", "C"}) {
            const QImage face(QString::fromStdString((folder / (name + suffix + ".png")).string()));
            for (const QRect& r : layout.playS) {
                QImage under = window.copy(QRect(r.topLeft() * scale, r.size() * scale));
                QPainter p(&under);
                p.drawImage(under.rect(), face);
                faces.push_back(under);
            }
        }
        benchmark::DoNotOptimize(faces.data());
    }
}
BENCHMARK(BM_PeerQtImages)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    platform::SetProgramFolder(std::filesystem::path(TAVO_SOURCE_DIR) / "data");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
