#pragma once
// The about window `about`: the program's picture with its icon, name,
// version ("版本：V" + the version) and the maker's web address as a link.
// A click on the address opens it in the browser (http and https only); a
// click on the picture, or Esc, closes the window. Not modal.

#include <QWidget>

class QLabel;

namespace tavo {

class about : public QWidget {
    Q_OBJECT
public:
    about(const QString& appVersion, const QString& homePage, QWidget* parent = nullptr);

    QLabel* Image1() const { return image1_; }  // the background picture
    QLabel* Image2() const { return image2_; }  // the icon
    QLabel* Label1() const { return label1_; }  // the name
    QLabel* Label2() const { return label2_; }  // the maker's address
    QLabel* Label3() const { return label3_; }  // the version

    // Opens the maker's address; false when it is not a web address or the
    // desktop could not open it.
    bool Label2_Click();
    void Image1_Click() { close(); }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QString homePage_;
    QLabel* image1_;
    QLabel* image2_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
};

}  // namespace tavo
