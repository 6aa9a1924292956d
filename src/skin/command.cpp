#include "skin/command.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

namespace tavo {

namespace {

// Property keys as they are written; reading ignores letter case.
const QString kBackColor = QStringLiteral("BackColor");
const QString kHotUpBackColor = QStringLiteral("HotUpBackColor");
const QString kForeColor = QStringLiteral("ForeColor");
const QString kBorderColor = QStringLiteral("BorderColor");
const QString kHotUpBorderColor = QStringLiteral("HotUpBorderColor");
const QString kHotDownBorderColor = QStringLiteral("HotDownBorderColor");
const QString kIcon = QStringLiteral("icon");
const QString kPictureMouseOn = QStringLiteral("PictureMouseOn");
const QString kPictureDown = QStringLiteral("PictureDown");
const QString kPicture = QStringLiteral("Picture");
const QString kFont = QStringLiteral("Font");
const QString kCaption = QStringLiteral("Caption");
const QString kIconAlignment = QStringLiteral("IconAlignment");
const QString kEnabled = QStringLiteral("Enabled");

// The value under `key` in any letter case; invalid when absent.
QVariant Find(const QVariantMap& bag, const QString& key) {
    for (auto it = bag.cbegin(); it != bag.cend(); ++it)
        if (it.key().compare(key, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}

int32_t ColourOr(const QVariantMap& bag, const QString& key, int32_t fallback) {
    const QVariant v = Find(bag, key);
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    return ok ? static_cast<int32_t>(static_cast<uint32_t>(n)) : fallback;
}

QImage PictureOr(const QVariantMap& bag, const QString& key) {
    const QVariant v = Find(bag, key);
    if (v.canConvert<QImage>()) return v.value<QImage>();
    return {};
}

bool LeftHeld() { return QGuiApplication::mouseButtons() & Qt::LeftButton; }

}  // namespace

Command::Command(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    SplitAndSetKey();
}

void Command::Touched(bool redrawNormal) {
    changed_ = true;
    if (redrawNormal) DrawButton(kLookNormal);
}

void Command::SetIcon(const QIcon& icon) {
    props_.Icon = icon;
    Touched(true);
}
void Command::SetPicture(const QImage& picture) {
    props_.Picture = picture;
    Touched(true);
}
void Command::SetPictureMouseOn(const QImage& picture) {
    props_.PictureMouseOn = picture;
    Touched(false);
}
void Command::SetPictureDown(const QImage& picture) {
    props_.PictureDown = picture;
    Touched(false);
}
void Command::SetForeColor(int32_t c) {
    props_.ForeColor = c;
    Touched(true);
}
void Command::SetBackColor(int32_t c) {
    props_.BackColor = c;
    Touched(true);
}
void Command::SetBordercolor(int32_t c) {
    props_.Bordercolor = c;
    Touched(true);
}
void Command::SetHotUpBorderColor(int32_t c) {
    props_.HotUpBorderColor = c;
    Touched(true);
}
void Command::SetHotUpBackColor(int32_t c) {
    props_.HotUpBackColor = c;
    Touched(true);
}
void Command::SetHotDownBorderColor(int32_t c) {
    props_.HotDownBorderColor = c;
    Touched(true);
}
void Command::SetFont(const QFont& f) {
    setFont(f);
    Touched(true);
}
void Command::SetIconAlignment(int32_t a) {
    if (a == props_.IconAlignment) return;
    props_.IconAlignment = a;
    Touched(true);
}
void Command::SetCaption(const QString& caption) {
    props_.Caption = caption;
    changed_ = true;
    SplitAndSetKey();
    DrawButton(drawState_);
}

void Command::SetFaces(const QImage& normal, const QImage& hot, const QImage& down) {
    props_.Picture = normal;
    props_.PictureMouseOn = hot;
    props_.PictureDown = down;
    changed_ = true;
    update();
}

void Command::SplitAndSetKey() {
    parts_ = SplitCaption(props_.Caption);
    delete altKey_;
    delete bareKey_;
    altKey_ = bareKey_ = nullptr;
    const QString key = parts_.key.trimmed();
    if (key.isEmpty() || key == QLatin1String("&")) return;
    // The key alone counts while the window is active, as Alt+key does.
    altKey_ = new QShortcut(QKeySequence(QStringLiteral("Alt+") + key.toUpper()), this);
    bareKey_ = new QShortcut(QKeySequence(key.toUpper()), this);
    for (QShortcut* s : {altKey_, bareKey_}) {
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, &Command::AccessKey);
        connect(s, &QShortcut::activatedAmbiguously, this, &Command::AccessKey);
    }
}

void Command::AccessKey() {
    if (isEnabled() && isVisible()) emit Click();
}

void Command::click() {
    if (isEnabled()) emit Click();
}

void Command::Restart() {
    SplitAndSetKey();
    DrawButton(isEnabled() ? kLookNormal : kLookDisabled);
}

void Command::DrawButton(int look) {
    drawState_ = look;
    update();
}

QSize Command::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(parts_.Shown()) + 16, fm.height() + 8);
}

void Command::paintEvent(QPaintEvent*) {
    QPainter p(this);
    props_.Font = font();
    PaintCommand(p, size(), props_, drawState_);
}

void Command::mousePressEvent(QMouseEvent* e) {
    lastButton_ = static_cast<int>(e->button());
    if (drawState_ != kLookPressed) DrawButton(kLookPressed);
}

void Command::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) {
        mouseIn_ = true;
        if (drawState_ != kLookHot) DrawButton(kLookHot);
    } else if (mouseIn_) {
        if (drawState_ != kLookPressed) DrawButton(kLookPressed);
    } else if (drawState_ != kLookHot) {
        DrawButton(kLookHot);
    }
    lastButton_ = static_cast<int>(e->buttons());
}

void Command::mouseReleaseEvent(QMouseEvent* e) {
    lastButton_ = 0;
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit Click();
}

void Command::enterEvent(QEnterEvent*) {
    if (!LeftHeld()) mouseIn_ = true;
}

void Command::leaveEvent(QEvent*) {
    if (LeftHeld()) return;  // looked at again once the button is released
    mouseIn_ = false;
    if (isEnabled() && drawState_ != kLookNormal) DrawButton(kLookNormal);
}

void Command::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    if (isEnabled() && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space)) {
        emit Click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Command::resizeEvent(QResizeEvent*) { Restart(); }

void Command::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) {
        changed_ = true;
        if (!isEnabled()) {
            mouseIn_ = false;
            DrawButton(kLookDisabled);
        } else {
            DrawButton(!mouseIn_ ? kLookNormal : !LeftHeld() ? kLookHot : kLookPressed);
        }
    } else if (e->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(e);
}

void Command::hideEvent(QHideEvent*) {
    // A button hidden under the pointer (play swapped for pause) comes back
    // in its normal look.
    mouseIn_ = false;
    drawState_ = isEnabled() ? kLookNormal : kLookDisabled;
}

void Command::ReadProperties(const QVariantMap& bag) {
    const CommandProperties d;
    props_.BackColor = ColourOr(bag, kBackColor, d.BackColor);
    props_.HotUpBackColor = ColourOr(bag, kHotUpBackColor, d.HotUpBackColor);
    props_.ForeColor = ColourOr(bag, kForeColor, d.ForeColor);
    props_.Bordercolor = ColourOr(bag, kBorderColor, d.Bordercolor);
    props_.HotUpBorderColor = ColourOr(bag, kHotUpBorderColor, d.HotUpBorderColor);
    props_.HotDownBorderColor = ColourOr(bag, kHotDownBorderColor, d.HotDownBorderColor);
    const QVariant icon = Find(bag, kIcon);
    props_.Icon = icon.canConvert<QIcon>() ? icon.value<QIcon>() : QIcon();
    props_.PictureMouseOn = PictureOr(bag, kPictureMouseOn);
    props_.PictureDown = PictureOr(bag, kPictureDown);
    props_.Picture = PictureOr(bag, kPicture);
    const QVariant font = Find(bag, kFont);
    if (font.canConvert<QFont>()) setFont(font.value<QFont>());
    else setFont(QFont());  // no font of its own: the hosting window's
    const QVariant caption = Find(bag, kCaption);
    props_.Caption = caption.isValid() ? caption.toString() : d.Caption;
    const QVariant align = Find(bag, kIconAlignment);
    props_.IconAlignment = align.isValid() ? static_cast<uint8_t>(align.toUInt()) : 0;
    const QVariant enabled = Find(bag, kEnabled);
    setEnabled(enabled.isValid() ? enabled.toBool() : true);
    changed_ = false;
    Restart();
}

QVariantMap Command::WriteProperties() {
    QVariantMap bag;
    bag[kBackColor] = props_.BackColor;
    bag[kHotUpBackColor] = props_.HotUpBackColor;
    bag[kForeColor] = props_.ForeColor;
    bag[kBorderColor] = props_.Bordercolor;
    bag[kHotUpBorderColor] = props_.HotUpBorderColor;
    bag[kHotDownBorderColor] = props_.HotDownBorderColor;
    if (!props_.Icon.isNull()) bag[kIcon] = props_.Icon;
    if (!props_.PictureMouseOn.isNull()) bag[kPictureMouseOn] = props_.PictureMouseOn;
    if (!props_.PictureDown.isNull()) bag[kPictureDown] = props_.PictureDown;
    if (!props_.Picture.isNull()) bag[kPicture] = props_.Picture;
    if (testAttribute(Qt::WA_SetFont)) bag[kFont] = font();
    bag[kCaption] = props_.Caption;
    bag[kIconAlignment] = props_.IconAlignment;
    bag[kEnabled] = isEnabled();
    changed_ = false;
    return bag;
}

}  // namespace tavo
