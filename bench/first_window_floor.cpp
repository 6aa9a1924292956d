// The floor of the first-window measure: a bare Qt program that shows one
// empty window of the splash's size at once, started and timed by
// bench_first_window the same way as the player.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(440, 260);
    w.show();
    return app.exec();
}
