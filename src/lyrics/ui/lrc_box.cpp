#include "lyrics/ui/lrc_box.h"

#include "lyrics/core/lyrics_model.h"
#include "lyrics/lrc_cleanup.h"
#include "lyrics/lyric_doc.h"
#include "lyrics/lyric_offsets.h"
#include "lyrics/ui/lrc_lock.h"
#include "lyrics/ui/lrc_menu.h"
#include "lyrics/ui/lrc_paint.h"
#include "lyrics/ui/lrc_stage.h"
#include "lyrics/ui/lyric_look_dialog.h"
#include "platform/settings_store.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <chrono>

namespace tavo {

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 36;
constexpr int kMarginsV = 8;  // above and below the text area
const QColor kDefaultText(0x10, 0x40, 0x80);
const QColor kSurfaceBack(0xE0, 0xEA, 0xF4);  // the middle of the plain surface

qint64 MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The look kept under `name`, with the skin's colours where none was chosen.
LyricOptions LoadLook(const QString& name, const QColor& skinText) {
    const LyricOptions defaults = DefaultLyricOptions(skinText.rgb());
    return name.isEmpty() ? defaults : LoadLyricOptions(platform::Settings(), name, defaults);
}

bool AnyTranslation(const LyricDoc& doc) {
    return std::any_of(doc.lines.begin(), doc.lines.end(), [](const LyricLine& l) { return !l.translation.isEmpty(); });
}

struct MinbarSpec {
    QChar caption;
    const char16_t* toolTip;
};
const MinbarSpec kMinbar[lrcBox::kMinbarCount] = {
    {u'4', u"播放/暂停"}, {u'<', u"停止"},  {u'7', u"上一首"},
    {u'8', u"下一首"},    {u'X', u"禁音"},  {u'.', u"显示或隐藏主程序"},
};

}  // namespace

// ---------------------------------------------------------------------------

int SetTopMostWindow(QWidget* hWnd, bool Topmost) {
    if (!hWnd) return 0;
    const bool onTop = hWnd->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTop != Topmost) {
        // Changing the flags hides a shown window; put it back where it was.
        const bool visible = hWnd->isVisible();
        const QPoint pos = hWnd->pos();
        hWnd->setWindowFlag(Qt::WindowStaysOnTopHint, Topmost);
        if (visible) {
            hWnd->move(pos);
            hWnd->show();
        }
    }
    return Topmost ? 1 : 0;
}

// ---------------------------------------------------------------------------
// lrcBox

lrcBox::lrcBox(LyricsHost* host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      host_(host) {
    setObjectName(QStringLiteral("lrcBox"));
    setWindowTitle(QStringLiteral("lrcBox"));
    setAttribute(Qt::WA_TranslucentBackground, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setFixedSize(kWidth, kHeight);

    stage_ = new LrcStage(this);
    label1_ = stage_;
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setAttribute(Qt::WA_TransparentForMouseEvents);  // the surface takes the mouse
    // A long line is cut short with "…" rather than widening the window.
    label1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label1_->setMinimumWidth(0);
    QFont font = label1_->font();
    font.setPixelSize(16);
    font.setBold(true);
    label1_->setFont(font);
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::WindowText, QColor(0x10, 0x40, 0x80));
    label1_->setPalette(pal);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 4, 8, 4);
    row->setSpacing(2);
    row->addWidget(label1_, 1);
    for (int i = 0; i < kMinbarCount; ++i) {
        auto* b = new LrcGlyphButton(kMinbar[i].caption, QString::fromUtf16(kMinbar[i].toolTip), this);
        b->setObjectName(QStringLiteral("minbar%1").arg(i));
        connect(b, &LrcGlyphButton::Click, this, [this, i] { minbar_Click(i); });
        minbar_[static_cast<size_t>(i)] = b;
        row->addWidget(b);
    }
    row->activate();  // Label1 gets its width now, before the window first shows
    label1_->installEventFilter(this);


    timer1_.setInterval(100);
    connect(&timer1_, &QTimer::timeout, this, &lrcBox::Timer1_Timer);
    timer1_.start();

    menu_ = new LrcMenu(this);
    connect(menu_, &LrcMenu::LockChosen, this, &lrcBox::SetLocked);
    auto change = [this](auto edit) {
        LyricOptions look = look_;
        edit(look);
        SetLook(look);
        SaveLook();
    };
    connect(menu_, &LrcMenu::LinesChosen, this, [change](int n) { change([n](LyricOptions& o) { o.lines = n; }); });
    connect(menu_, &LrcMenu::KaraokeChosen, this, [change](bool on) { change([on](LyricOptions& o) { o.karaoke = on; }); });
    connect(menu_, &LrcMenu::TranslationChosen, this,
            [change](bool on) { change([on](LyricOptions& o) { o.translation = on; }); });
    connect(menu_, &LrcMenu::OffsetStep, this, &lrcBox::ShiftOffset);
    connect(menu_, &LrcMenu::LookDialogAsked, this, &lrcBox::OpenLookDialog);
    connect(menu_, &LrcMenu::SearchAsked, this, [this] {
        if (host_) host_->SearchLyrics();
    });
    connect(menu_, &LrcMenu::PlayerMenuAsked, this, [this] {
        if (host_) host_->ShowSettingsMenu(menu_->pos());
    });

    connect(&pacer_, &LyricRepaintPacer::Tick, this, &lrcBox::Follow);
    if (QScreen* s = screen()) pacer_.SetRefreshRate(s->refreshRate());
    SetLook(LoadLook(SettingsName(), kDefaultText));

    SetTopMostWindow(this, true);
    PlaceAtTop();
    // Created hidden: the setting "LrcShow" decides when it shows.
}

lrcBox::~lrcBox() = default;

// ---------------------------------------------------------------------------
// What the main window sets

QString lrcBox::Label1Text() const { return label1Text_; }

void lrcBox::SetLabel1Text(const QString& text) {
    label1Text_ = text;
    ShowLabel1();
}

void lrcBox::ShowLabel1() {
    // A hidden window measures nothing (measuring loads the line's fonts):
    // its line is cut to fit when it shows.
    const int room = isVisible() ? std::max(label1_->contentsRect().width(), 0) : 0;
    label1_->setText(room > 0 ? label1_->fontMetrics().elidedText(label1Text_, Qt::ElideRight, room) : label1Text_);
}

bool lrcBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == label1_ && e->type() == QEvent::Resize) ShowLabel1();
    return QWidget::eventFilter(watched, e);
}

void lrcBox::SetSongToolTip(const QString& text) { setToolTip(text); }

void lrcBox::SetPlayGlyph(bool playing) {
    minbar(0)->SetCaption(playing ? u';' : u'4');
    clock_.Reset();
    playing_ = playing;
    pacer_.SetPlaying(playing && stage_->Doc().synced);
    Follow();
}


void lrcBox::SetMuteGlyph(bool muted) {
    muted_ = muted;
    const QColor on = skinned_ ? skin_.text : QColor(Qt::black);
    minbar(4)->SetForeColor(muted ? (skinned_ ? MutedGlyphColour(skin_.back, skin_.text) : kMutedGlyphColour) : on);
}

void lrcBox::SetSkin(const LrcSkin& skin) {
    skin_ = skin;
    skinned_ = true;
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::WindowText, skin.text);
    label1_->setPalette(pal);
    for (LrcGlyphButton* b : minbar_) b->SetForeColor(skin.text);
    SetMuteGlyph(muted_);
    // Colours the user did not choose follow the skin.
    back_ = QImage();
    SetLook(LoadLook(SettingsName(), skin.text));
    update();
}

// ---------------------------------------------------------------------------
// The lyric drawn by time

QString lrcBox::SettingsName() const { return host_ ? host_->SettingsName() : QString(); }

void lrcBox::SetLyricLines(const LyricsModel* lines) {
    if (lines_) disconnect(lines_, nullptr, this, nullptr);
    lines_ = lines;
    if (lines_) connect(lines_, &LyricsModel::Changed, this, &lrcBox::LinesChanged);
    LinesChanged();
}

void lrcBox::LinesChanged() {
    stage_->SetDoc(lines_ ? ParseLyricDoc(lines_->WholeText()) : LyricDoc{});
    // The song's own offset applies on every play; it is read when the song
    // changes (ShiftOffset keeps it for the song shown).
    const QString song = host_ ? host_->PlayingSong() : QString();
    if (song != song_) {
        song_ = song;
        const QString name = SettingsName();
        userOffsetMs_ = name.isEmpty() || song_.isEmpty() ? 0 : LyricOffsets(platform::Settings(), name).OffsetFor(song_);
    }
    // Nothing timed to follow: no repaints of its own.
    pacer_.SetPlaying(playing_ && stage_->Doc().synced);
    pacer_.SetSmooth(stage_->Moving());
    FitToLook();
    clock_.Reset();
    Follow();
}

void lrcBox::Follow() {
    const int position = host_ ? host_->PlayPositionMs() : -1;
    if (position < 0 || !stage_->Doc().synced) return;
    // Only a playing song runs on between the player's reports.
    const int now = host_->IsPlaying() ? clock_.Now(position, MonotonicMs()) : position;
    stage_->SetLyricTimeMs(LyricTime(stage_->Doc(), now, userOffsetMs_));
}

int lrcBox::ShiftOffset(int deltaMs) {
    const QString name = SettingsName();
    const QString song = host_ ? host_->PlayingSong() : QString();
    if (name.isEmpty() || song.isEmpty()) {
        userOffsetMs_ = std::clamp(userOffsetMs_ + deltaMs, -kMaxLyricOffsetMs, kMaxLyricOffsetMs);
    } else {
        const LyricOffsets::Change change = LyricOffsets(platform::Settings(), name).Shift(song, deltaMs);
        if (!change.saved) platform::ReportSettingNotSaved();
        userOffsetMs_ = change.offsetMs;
        song_ = song;
    }
    stage_->ShowNote(LyricOffsetCaption(userOffsetMs_));
    Follow();
    return userOffsetMs_;
}

void lrcBox::SetLook(const LyricOptions& look) {
    const bool clearBefore = testAttribute(Qt::WA_TranslucentBackground);
    look_ = look;
    stage_->SetLook(look_);
    QFont f = stage_->font();
    if (!look_.fontFamily.isEmpty()) f.setFamily(look_.fontFamily);
    f.setPixelSize(std::clamp(look_.fontPx, kMinLyricFontPx, kMaxLyricFontPx));
    stage_->setFont(f);  // Label1's text is cut to the width in this font
    for (LrcGlyphButton* b : minbar_) b->setVisible(!look_.locked);
    const bool clear = look_.backAlpha < kOpaque;
    if (clear != clearBefore) {
        // Only a new native window takes a see-through background.
        setAttribute(Qt::WA_TranslucentBackground, clear);
        if (windowHandle()) {
            const bool visible = isVisible();
            const QPoint at = pos();
            setWindowFlags(windowFlags());
            if (visible) {
                move(at);
                show();
            }
        }
    }
    SetWindowLocked(*this, look_.locked);
    pacer_.SetSmooth(stage_->Moving());
    FitToLook();
    ShowLabel1();
    back_ = QImage();
    update();
}

void lrcBox::FitToLook() {
    const int h = LrcStageHeight(look_, AnyTranslation(stage_->Doc())) + kMarginsV;
    if (h != height()) setFixedSize(kWidth, h);
}

bool lrcBox::SaveLook() {
    const QString name = SettingsName();
    if (name.isEmpty() || SaveLyricOptions(platform::Settings(), name, look_)) return true;
    platform::ReportSettingNotSaved();
    return false;
}

void lrcBox::SetLocked(bool locked) {
    LyricOptions look = look_;
    look.locked = locked;
    SetLook(look);
    SaveLook();
}

void lrcBox::OpenLookDialog() {
    if (!lookDialog_) {
        const QColor back = skinned_ ? skin_.back : kSurfaceBack;
        const QColor text = skinned_ ? skin_.text : kDefaultText;
        lookDialog_ = new LyricLookDialog(look_, DefaultLyricOptions(text.rgb()), back.rgba(), this);
        lookDialog_->setAttribute(Qt::WA_DeleteOnClose);
        lookDialog_->setWindowFlag(Qt::Dialog);
        // The window's menu changes the same options: it waits while the
        // dialog is open, so that OK never undoes a choice made there.
        lookDialog_->setWindowModality(Qt::WindowModal);
        connect(lookDialog_, &QDialog::accepted, this, [this] {
            LyricOptions chosen = lookDialog_->Chosen();
            chosen.locked = look_.locked;
            SetLook(chosen);
            SaveLook();
        });
    }
    lookDialog_->show();
    lookDialog_->raise();
    lookDialog_->activateWindow();
}

void lrcBox::ShowLyrics(bool show) {
    if (!show) {
        hide();
        return;
    }
    PlaceAtTop();
    QWidget::show();
    PlaceAtTop();  // some window systems move a window as they map it
}

void lrcBox::PlaceAtTop() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = s->geometry();
    move(g.left() + (g.width() - frameGeometry().width()) / 2, g.top());
}

// ---------------------------------------------------------------------------
// The surface: painting, shown and hidden

void lrcBox::PaintBackground(QPainter& p) const {
    if (look_.backAlpha < kOpaque) p.setOpacity(std::clamp(look_.backAlpha, 0, kOpaque) / 255.0);
    if (!skinned_) {
        PaintLrcSurface(p, QRectF(rect()));
        return;
    }
    if (skin_.background.isNull()) {
        p.fillRect(rect(), skin_.back);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(rect()), skin_.background);
    }
    if (look_.locked) return;  // a locked window shows no frame
    p.setPen(skin_.frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void lrcBox::paintEvent(QPaintEvent* e) {
    // The background is drawn once per look and size: the text area above
    // it repaints every frame while the fill moves.
    const double scale = devicePixelRatioF();
    const QSize pixels(qRound(width() * scale), qRound(height() * scale));
    if (back_.size() != pixels || back_.devicePixelRatio() != scale) {
        back_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        back_.setDevicePixelRatio(scale);
        back_.fill(Qt::transparent);
        QPainter b(&back_);
        PaintBackground(b);
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect r = e->rect();
    p.drawImage(r, back_, QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale));
}

void lrcBox::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (QScreen* s = screen()) pacer_.SetRefreshRate(s->refreshRate());
    pacer_.SetVisible(true);
    clock_.Reset();
    Follow();
    ShowLabel1();
}

void lrcBox::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    pacer_.SetVisible(false);
}

}  // namespace tavo
