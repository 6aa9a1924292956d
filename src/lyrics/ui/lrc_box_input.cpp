// The lyrics window's keys, mouse and glyph buttons: "+" and "-" move the
// song's offset; the left button drags the window, clicks a line of the
// five-line view to seek, and double-clicks to show or hide the main window;
// the right button opens the window's menu; the pointer leaving makes it
// translucent (checked by Timer1) and coming back makes it opaque again; the
// glyph buttons play or pause, stop, step, mute, and show or hide the main
// window.
#include "lyrics/ui/lrc_box.h"

#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_offsets.h"
#include "lyrics/ui/lrc_menu.h"
#include "lyrics/ui/lrc_stage.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

namespace tavo {

int lrcBox::Opacity() const { return qRound(windowOpacity() * 255.0); }

void lrcBox::SetOpacity(int alpha) { setWindowOpacity(alpha / 255.0); }

void lrcBox::Timer1_Timer() {
    // Edges count as inside. Where the window system does not tell where
    // the cursor is once it has left our windows (Wayland), the leave event
    // says so instead; it is not trusted during a drag, whose pointer grab
    // may send one while the cursor stays on the window.
    const QRect r = frameGeometry();
    const QRect withEdges(r.left(), r.top(), r.width() + 1, r.height() + 1);
    // A hidden window is never under the cursor: its check ends at once
    // instead of ticking for as long as the cursor rests where it would be.
    const bool inside = isVisible() && withEdges.contains(QCursor::pos()) && !(mouseLeft_ && !dragging_);
    if (inside) return;
    SetOpacity(kTranslucent);
    timer1_.stop();
}

void lrcBox::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ShiftOffset(kLyricOffsetStepMs);
            return;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            ShiftOffset(-kLyricOffsetStepMs);
            return;
        default:
            QWidget::keyPressEvent(e);
    }
}

void lrcBox::enterEvent(QEnterEvent* e) {
    QWidget::enterEvent(e);
    Hovered();
}

void lrcBox::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    mouseLeft_ = true;
}

void lrcBox::Hovered() {
    mouseLeft_ = false;
    dragging_ = false;  // a system move may end without a release reaching us
    timer1_.start();
    SetOpacity(kOpaque);
}

void lrcBox::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) {
        // Let the window system move the window with the mouse; where it
        // cannot (no window manager), follow the mouse ourselves.
        if (!dragging_) {
            dragging_ = true;
            systemMove_ = windowHandle() && windowHandle()->startSystemMove();
        }
        if (!systemMove_) move(e->globalPosition().toPoint() - dragOffset_);
        return;
    }
    Hovered();
}

void lrcBox::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        menu_->Prepare(look_);
        menu_->popup(e->globalPosition().toPoint());
        return;
    }
    if (e->button() == Qt::LeftButton) {
        dragging_ = false;
        dragOffset_ = e->globalPosition().toPoint() - pos();
    }
}

void lrcBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && !dragging_ && look_.lines == 5 && host_) {
        // A click (not a drag) on a line of the five-line view plays from it.
        const int line = stage_->LineAt(stage_->mapFrom(this, e->position().toPoint()));
        const LyricDoc& doc = stage_->Doc();
        if (line >= 0 && line < static_cast<int>(doc.lines.size())) {
            const long long at = static_cast<long long>(doc.lines[static_cast<size_t>(line)].timeMs) - doc.offsetMs -
                                 userOffsetMs_;
            host_->SeekToMs(static_cast<int>(std::clamp<long long>(at, 0, 0x7FFFFFFF)));
            clock_.Reset();
        }
    }
    if (e->button() == Qt::LeftButton) dragging_ = false;
    // After a drag the mouse may be released outside: the check notices.
    timer1_.start();
}

void lrcBox::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) minbar_Click(5);
}

// ---------------------------------------------------------------------------
// Glyph buttons

void lrcBox::minbar_Click(int Index) {
    if (!host_) return;
    switch (Index) {
        case 0:
            host_->PlayS_Click(host_->IsPlaying() ? 4 : 0);
            break;
        case 1:
        case 2:
        case 3:
            host_->PlayS_Click(Index);
            break;
        case 4:
            host_->PlayS_Click(host_->IsMuted() ? 6 : 5);
            break;
        case 5: {
            QWidget* main = host_->MainWindow();
            if (!main) return;
            if (main->windowState().testFlag(Qt::WindowMinimized)) {
                main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
                main->show();
                main->activateWindow();
                main->setFocus();
                return;
            }
            if (!host_->IsShown()) {
                main->show();
                main->activateWindow();
                main->setFocus();
                host_->SetIsShown(true);
            } else {
                main->hide();
                host_->SetIsShown(false);
            }
            main->setWindowState(Qt::WindowNoState);
            break;
        }
        default:
            break;
    }
}

}  // namespace tavo
