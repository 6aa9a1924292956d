#include "app/ui/skinned_controls.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tavo {

// ---------------------------------------------------------------- SkinList

SkinList::SkinList(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    timer_.setInterval(kFadeMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SkinList::FadeTick);
}

void SkinList::SetLook(const ListLook& look) {
    look_ = look;
    PageChanged();
}

void SkinList::SetRows(const QStringList& rows, int playingRow) {
    if (rows == rows_ && playingRow == playingRow_) return;
    rows_ = rows;
    playingRow_ = playingRow;
    PageChanged();
}

// The rows moved under the pointer, which may now be off them: one tick
// finds out (and rests again if nothing changed).
void SkinList::PageChanged() {
    fade_.SetPage(static_cast<int>(rows_.size()), look_.rowHeight, width());
    Changed();
    if (underMouse()) StartFade();
}

void SkinList::Changed() {
    dirty_ = true;
    update();
}

const QImage& SkinList::Picture() {
    if (dirty_) {
        std::array<int, 10> alphas{};
        for (int i = 0; i < 10; ++i) alphas[static_cast<size_t>(i)] = fade_.DrawAlpha(i);
        picture_ = ComposeList(look_, size(), rows_, playingRow_, alphas);
        dirty_ = false;
    }
    return picture_;
}

void SkinList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage& img = Picture();
    if (img.isNull()) p.fillRect(rect(), Qt::white);
    else p.drawImage(QPoint(0, 0), img);
}

// The hand over rows, the window's pointer elsewhere. Set only when it
// changes: the fade tick asks every 20 ms, and each setting is a request to
// the window system.
void SkinList::ShowHand(bool on) {
    if (on == hand_) return;
    hand_ = on;
    if (on) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
}

void SkinList::StartFade() {
    if (!timer_.isActive()) timer_.start();
}

void SkinList::FadeTick() {
    const QPoint at = mapFromGlobal(QCursor::pos());
    const bool inRows = underMouse() && fade_.InRows(at.x(), at.y());
    ShowHand(inRows);
    if (fade_.Tick(inRows)) Changed();
    // Nothing on its way back: rest until the pointer moves or leaves (the
    // mouse events start the tick again) or the page changes. A pointer
    // resting over the list changes nothing from one tick to the next.
    if (fade_.Idle()) timer_.stop();
}

void SkinList::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (fade_.Move(at.x(), at.y())) Changed();
    ShowHand(fade_.InRows(at.x(), at.y()));
    StartFade();
}

void SkinList::leaveEvent(QEvent*) {
    ShowHand(false);
    if (fade_.Tick(false)) Changed();
    StartFade();
}

void SkinList::mousePressEvent(QMouseEvent* e) {
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (button == 0) return;
    const QPoint at = e->position().toPoint();
    emit Pressed(button, at.x(), at.y());
}

void SkinList::resizeEvent(QResizeEvent*) { PageChanged(); }

// ---------------------------------------------------------------- SkinTrack

SkinTrack::SkinTrack(QWidget* parent) : QWidget(parent) {}

void SkinTrack::SetLook(const TrackLook& look) {
    look_ = look;
    staticText_ = TrackText(text_, look_.font);
    update();
}

void SkinTrack::SetBackground(const QImage& background) {
    background_ = background;
    setAttribute(Qt::WA_OpaquePaintEvent, !background_.isNull());
    update();
}

// Only the strip between the old and the new end of the fill is painted
// again (a pixel more on each side for the smoothed edges).
void SkinTrack::SetFill(const QRect& fill, bool withText) {
    if (fill != fill_) {
        // A fill that grew or shrank at its right end: the strip between the
        // two ends; any other change: both fills.
        QRect changed = fill_.united(fill);
        if (fill.left() == fill_.left() && fill.top() == fill_.top() && fill.height() == fill_.height())
            changed.setLeft(std::min(fill.right(), fill_.right()) + 1);
        unpainted_ |= changed.adjusted(-1, -1, 1, 1);
        fill_ = fill;
    }
    if (withText || unpainted_.isEmpty()) return;
    update(unpainted_);
    unpainted_ = QRect();
}

void SkinTrack::SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    staticText_ = TrackText(text_, look_.font);
    unpainted_ = QRect();
    update();
}

void SkinTrack::paintEvent(QPaintEvent*) {
    unpainted_ = QRect();  // a paint for another reason shows the fill too
    QPainter p(this);
    if (!background_.isNull()) p.drawImage(QPoint(0, 0), background_);
    PaintTrack(p, size(), look_, fill_, staticText_);
}

void SkinTrack::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit Pressed(e->position().toPoint());
}

void SkinTrack::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) emit Dragged(e->position().toPoint());
}

}  // namespace tavo
