#pragma once
// Running the Qt event loop in tests until something happens.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <functional>

namespace tavo::test {

// Processes events until `done` holds (true) or `limit` passes (false).
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    return WaitFor(done, std::chrono::milliseconds(ms));
}

// Processes events for `d`.
inline void Pump(std::chrono::milliseconds d) { WaitFor([] { return false; }, d); }
inline void Pump(int ms) { Pump(std::chrono::milliseconds(ms)); }

}  // namespace tavo::test
