#include "shell/about.h"

#include "shell/shell_art.h"
#include "shell/shell_windows.h"
#include "shell/web_page.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tavo {

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 250;
}  // namespace

about::about(const QString& appVersion, const QString& homePage, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint), homePage_(homePage) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowIcon(ProgramIcon());
    resize(kWidth, kHeight);

    image1_ = NewPictureLabel(this, QStringLiteral("Image1"), AboutPicture(), rect());
    image1_->installEventFilter(this);
    image2_ = NewPictureLabel(this, QStringLiteral("Image2"), ProgramIconPixmap(72), QRect(34, 42, 72, 72));
    AddShadow(image2_, 14, 3);

    label1_ = NewTextLabel(this, QStringLiteral("Label1"), QStringLiteral("Tavo音乐盒2010"), TitleFont(28),
                           QColor(255, 255, 255), QRect(122, 46, 260, 40));
    label3_ = NewTextLabel(this, QStringLiteral("Label3"), QStringLiteral("版本：V") + appVersion,
                           TitleFont(15, QFont::Normal), QColor(200, 226, 255), QRect(124, 88, 240, 24));
    QFont link = AddressFont(13);
    link.setUnderline(true);
    label2_ = NewTextLabel(this, QStringLiteral("Label2"), homePage, link, QColor(140, 220, 255),
                           QRect(34, 196, 332, 22));
    label2_->setCursor(Qt::PointingHandCursor);
    label2_->installEventFilter(this);
    // Clicks anywhere but on the address land on the picture.
    for (QLabel* l : {image2_, label1_, label3_}) l->setAttribute(Qt::WA_TransparentForMouseEvents);
    CentreOnScreen(this);
}

bool about::Label2_Click() { return OpenWebPage(homePage_); }

void about::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    image1_->setGeometry(rect());
}

void about::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(e);
}

bool about::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == label2_) {
            Label2_Click();
            return true;
        }
        if (watched == image1_) {
            Image1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace tavo
