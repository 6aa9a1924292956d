#pragma once
// main() of a benchmark that needs the application object: headless unless
// the caller chose a platform, the C numeric locale libmpv needs, message
// boxes written to the console.

#include "platform/message_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace tavo::bench {

inline int RunWithApplication(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    platform::SetMessages(std::make_unique<platform::ConsoleMessageBox>(nullptr));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::SetMessages(nullptr);
    return 0;
}

}  // namespace tavo::bench
