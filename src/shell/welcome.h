#pragma once
// The splash window `welcome`: the program's picture, icon, name and the
// maker's address, shown while the main window loads. Its `Timer1` ticks
// every second; the first tick that finds the main window loaded stops it,
// has the main window shown and closes the splash.

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace tavo {

class welcome : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> LoadDone;   // the main window's `LoadDone`
        std::function<void()> ShowMain;   // centre and show it, set `IsShown`
    };

    explicit welcome(Hooks hooks, const QString& homePage, QWidget* parent = nullptr);
    // The hooks of a splash shown before the main window existed.
    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // Shows the splash in the middle of the screen and starts Timer1.
    void Form_Load();
    void Timer1_Timer();
    QTimer& Timer1() { return timer1_; }

    QLabel* Image1() const { return image1_; }
    QLabel* Image2() const { return image2_; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    Hooks hooks_;
    QTimer timer1_;
    QLabel* image1_;
    QLabel* image2_;
    QLabel* label1_;
    QLabel* label2_;
};

}  // namespace tavo
