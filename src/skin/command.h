#pragma once
// `Command`: the skin's push button. It draws one of four looks (see
// command_paint.h) and raises Click on a left click, on its access key
// (Alt+key, or the key alone while its window is active) and on Enter or
// Space while it has the focus.
//
// Look transitions: a press draws the pressed look; moving with no button
// held draws the hot look; moving with the left button held keeps the
// pressed look while the press began inside; leaving with no button held
// (or releasing outside) draws the normal look. A release leaves the look
// as it is until the pointer moves.
//
// Properties are kept with the window that holds the button as a
// QVariantMap (ReadProperties / WriteProperties); keys are matched without
// regard to case.

#include "skin/command_paint.h"

#include <QVariantMap>
#include <QWidget>

class QShortcut;

namespace tavo {

class Command : public QWidget {
    Q_OBJECT
public:
    explicit Command(QWidget* parent = nullptr);

    const QIcon& Icon() const { return props_.Icon; }
    void SetIcon(const QIcon& icon);
    const QImage& Picture() const { return props_.Picture; }
    void SetPicture(const QImage& picture);
    const QImage& PictureMouseOn() const { return props_.PictureMouseOn; }
    void SetPictureMouseOn(const QImage& picture);
    const QImage& PictureDown() const { return props_.PictureDown; }
    void SetPictureDown(const QImage& picture);
    int32_t ForeColor() const { return props_.ForeColor; }
    void SetForeColor(int32_t c);
    int32_t BackColor() const { return props_.BackColor; }
    void SetBackColor(int32_t c);
    int32_t Bordercolor() const { return props_.Bordercolor; }
    void SetBordercolor(int32_t c);
    int32_t HotUpBorderColor() const { return props_.HotUpBorderColor; }
    void SetHotUpBorderColor(int32_t c);
    int32_t HotUpBackColor() const { return props_.HotUpBackColor; }
    void SetHotUpBackColor(int32_t c);
    int32_t HotDownBorderColor() const { return props_.HotDownBorderColor; }
    void SetHotDownBorderColor(int32_t c);
    QFont Font() const { return font(); }
    void SetFont(const QFont& f);
    int32_t IconAlignment() const { return props_.IconAlignment; }
    void SetIconAlignment(int32_t a);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool on) { setEnabled(on); }
    const QString& Caption() const { return props_.Caption; }
    void SetCaption(const QString& caption);

    // The three faces at once (one repaint): what the skin gives a button.
    void SetFaces(const QImage& normal, const QImage& hot, const QImage& down);

    // State, for the window and for tests.
    int DrawState() const { return drawState_; }
    bool MouseIn() const { return mouseIn_; }
    const CaptionParts& Parts() const { return parts_; }
    // True once a property was written since the last WriteProperties.
    bool PropertiesChanged() const { return changed_; }

    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties();

    // A click made by the program: Click, when the button is enabled.
    void click();

    // Draws `look` (1 pressed, 2 hot, 3 normal, 4 disabled).
    void DrawButton(int look);

    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void Touched(bool redrawNormal);
    void SplitAndSetKey();
    void AccessKey();
    void Restart();  // split the caption, draw normal or disabled

    CommandProperties props_;
    CaptionParts parts_;
    int drawState_ = kLookNormal;
    bool mouseIn_ = false;
    int lastButton_ = 0;
    bool changed_ = false;
    QShortcut* altKey_ = nullptr;
    QShortcut* bareKey_ = nullptr;
};

}  // namespace tavo
