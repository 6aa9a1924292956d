#include "shell/welcome.h"

#include "shell/shell_art.h"
#include "shell/shell_windows.h"

#include <QApplication>
#include <QLabel>

namespace tavo {

namespace {
constexpr int kWidth = 440;
constexpr int kHeight = 260;
}  // namespace

welcome::welcome(Hooks hooks, const QString& homePage, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("welcome"));
    setWindowTitle(QStringLiteral("Tavo音乐盒2010"));
    setWindowIcon(ProgramIcon());
    resize(kWidth, kHeight);
    image1_ = NewPictureLabel(this, QStringLiteral("Image1"), WelcomePicture(), rect());
    image2_ = NewPictureLabel(this, QStringLiteral("Image2"), ProgramIconPixmap(80), QRect(40, 78, 80, 80));
    AddShadow(image2_, 14, 3);
    label1_ = NewTextLabel(this, QStringLiteral("Label1"), QStringLiteral("Tavo音乐盒2010"), TitleFont(34),
                           QColor(255, 255, 255), QRect(136, 92, 290, 52));
    label2_ = NewTextLabel(this, QStringLiteral("Label2"), homePage, AddressFont(12), QColor(170, 214, 255),
                           QRect(42, 218, 360, 20));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &welcome::Timer1_Timer);
}

void welcome::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    image1_->setGeometry(rect());
}

void welcome::Form_Load() {
    CentreOnScreen(this);
    show();
    timer1_.start();
}

void welcome::Timer1_Timer() {
    if (!hooks_.LoadDone || !hooks_.LoadDone()) return;
    timer1_.stop();
    if (hooks_.ShowMain) hooks_.ShowMain();
    close();
}

}  // namespace tavo
