#include "app/ui/main_form.h"

#include "app/ui/main_pixels.h"
#include "app/ui/skinned_controls.h"
#include "app/ui/window_drag.h"
#include "app/window_rules.h"
#include "lyrics/ui/lrc_box.h"
#include "platform/core/media_player.h"
#include "skin/command.h"
#include "skin/skin_module.h"
#include "skin/skin_symbols.h"
#include "sources/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QWindow>

#include <cmath>

namespace tavo {

namespace {

// The playing row's marker beside the list: a small play symbol in the
// palette's text colour.
class PlayMarker : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintSymbol(p, QRectF(rect()), SkinSymbol::Play, palette().color(QPalette::WindowText));
    }
};

QLabel* MakeLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

struct ButtonSpec {
    SkinSymbol symbol;
    const char16_t* caption;
    const char16_t* tip;
};

// PageA 0..15.
const ButtonSpec kPageSpecs[kPageButtons] = {
    {SkinSymbol::First, u"", u"首页"},       {SkinSymbol::Back, u"", u"上页"},
    {SkinSymbol::Forward, u"", u"下页"},     {SkinSymbol::Last, u"", u"末页"},
    {SkinSymbol::DropDown, u"", u""},        {SkinSymbol::DropDown, u"", u""},
    {SkinSymbol::DropDown, u"", u""},        {SkinSymbol::Close, u"", u"关闭"},
    {SkinSymbol::Minimize, u"", u"最小化"},  {SkinSymbol::Menu, u"", u"设置"},
    {SkinSymbol::Back, u"", u"上个月"},      {SkinSymbol::Forward, u"", u"下个月"},
    {SkinSymbol::None, u"今", u"回到本月"},  {SkinSymbol::None, u"记事", u"日历记事"},
    {SkinSymbol::None, u"换一批", u"换一批歌曲"}, {SkinSymbol::None, u"返回播放", u"回到正在播放的列表"},
};

// PlayS 0..6; the pause button lies over the play button, unmute over mute.
const ButtonSpec kPlaySpecs[kPlayButtons] = {
    {SkinSymbol::Play, u"", u"播放"},     {SkinSymbol::Stop, u"", u"停止"},
    {SkinSymbol::Previous, u"", u"上一首"}, {SkinSymbol::Next, u"", u"下一首"},
    {SkinSymbol::Pause, u"", u"暂停"},    {SkinSymbol::Mute, u"", u"静音"},
    {SkinSymbol::Unmute, u"", u"取消静音"},
};

Command* MakeButton(QWidget* parent, const ButtonSpec& spec, const QString& name, int iconSize) {
    auto* b = new Command(parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    b->SetCaption(QString::fromUtf16(spec.caption));
    b->setToolTip(QString::fromUtf16(spec.tip));
    if (spec.symbol != SkinSymbol::None) b->SetIcon(SymbolIcon(spec.symbol, QSize(iconSize, iconSize)));
    // Faces come from the skin; no edges but the skin's hover edges.
    b->SetBordercolor(0);
    b->SetHotUpBorderColor(0);
    b->SetHotDownBorderColor(0);
    return b;
}

}  // namespace

MainForm::MainForm(platform::MediaPlayer& mmp, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), mmp_(mmp), core_(mmp) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(kAppTitle);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
    layout_ = MainWindowLayout(true);
    BuildControls();
    lrc_ = std::make_unique<lrcBox>(this);
    core_.SetLyricsView(lrc_.get());
    lrc_->SetLyricLines(&core_.lyricLines);

    core_.hooks.HideMain = [this] { hide(); };
    core_.hooks.TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    core_.hooks.MinimizeMain = [this] { showMinimized(); };
    core_.hooks.ExitProgram = [this] {
        hide();
        if (lrc_) lrc_->hide();
        QApplication::exit(0);
    };
    core_.hooks.ShowDropDown = [this](int which) {
        QComboBox* box = which == 0 ? phcombo_ : which == 1 ? combo1_ : combo2_;
        box->setFocus();
        box->showPopup();
    };
    core_.hooks.PlaceVolumeKnob = [this](int v) { PlaceVolume(v); };
    core_.hooks.SetDefaultSkinColours = [] { SkinModule::SetDefaultSkinColours(); };
    core_.hooks.ApplySkin = [this] {
        SkinModule::CurrentSkin = core_.CurrentSkin;
        SkinModule::Scale = SkinModule::ScaleForDevicePixelRatio(devicePixelRatioF());
        SkinModule::LoadSkin(core_.CurrentSkin);
        core_.CurrentSkin = SkinModule::CurrentSkin;
        ApplySkin();
    };
    core_.hooks.StartFadeTimer = [this] { picture1_->FadeTimer().start(); };
    connect(&core_, &PlayerCore::Changed, this, &MainForm::Sync);
}

MainForm::~MainForm() {
    // The lyrics window refers to this window: it goes first.
    core_.SetLyricsView(nullptr);
    lrc_.reset();
}

void MainForm::BuildControls() {
    // Title strip: the title is also the handle that moves the window.
    label3_ = MakeLabel(this, QStringLiteral("Label3"));
    label3_->setText(kAppTitle);
    label3_->setIndent(12);
    QFont titleFont = font();
    // Regular weight: a bold title alone would load the bold face of the
    // Chinese font (over 3 MB) while the lyrics window is hidden.
    titleFont.setPixelSize(13);
    label3_->setFont(titleFont);
    drag_ = new WindowDrag(label3_, this);

    for (int i = 0; i < kPageButtons; ++i) {
        pageA_[static_cast<size_t>(i)] = MakeButton(this, kPageSpecs[i], QStringLiteral("PageA%1").arg(i), 14);
        connect(pageA_[static_cast<size_t>(i)], &Command::Click, this, [this, i] { core_.PageA_Click(i); });
    }
    phcombo_ = new SkinCombo(this);
    phcombo_->setObjectName(QStringLiteral("PHcombo"));
    combo1_ = new SkinCombo(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo2_ = new SkinCombo(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    BindSelector(core_.gsl.PHcombo, phcombo_);
    BindSelector(core_.gsl.Combo1, combo1_);
    BindSelector(core_.gsl.Combo2, combo2_);

    label6_ = MakeLabel(this, QStringLiteral("Label6"));

    // The list, its busy label and the playing-row marker.
    picture1_ = new SkinList(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    connect(picture1_, &SkinList::Pressed, this, &MainForm::Picture1_MouseDown);
    loadLabel_ = MakeLabel(picture1_, QStringLiteral("LoadLabel"));
    loadLabel_->setAlignment(Qt::AlignCenter);
    loadLabel_->hide();
    playIco_ = new PlayMarker(this);
    playIco_->setObjectName(QStringLiteral("PlayIco"));
    playIco_->hide();

    label4_ = MakeLabel(this, QStringLiteral("Label4"));
    label4_->setAlignment(Qt::AlignCenter);

    socl_ = new SkinTrack(this);
    socl_->setObjectName(QStringLiteral("socl"));
    connect(socl_, &SkinTrack::Pressed, this, &MainForm::SeekTo);
    connect(socl_, &SkinTrack::Dragged, this, &MainForm::SeekTo);

    for (int i = kPlayButtons - 1; i >= 0; --i) {
        playS_[static_cast<size_t>(i)] = MakeButton(this, kPlaySpecs[i], QStringLiteral("PlayS%1").arg(i), i >= 5 ? 13 : 15);
        connect(playS_[static_cast<size_t>(i)], &Command::Click, this, [this, i] { core_.PlayS_Click(i); });
    }

    ybg_ = new SkinTrack(this);
    ybg_->setObjectName(QStringLiteral("YBG"));
    connect(ybg_, &SkinTrack::Pressed, this, &MainForm::SetVolumeFrom);
    connect(ybg_, &SkinTrack::Dragged, this, &MainForm::SetVolumeFrom);

    AttachCalendar();

    label1_ = MakeLabel(this, QStringLiteral("Label1"));
    label1_->setCursor(Qt::PointingHandCursor);
    QFont small = font();
    small.setPixelSize(11);
    label1_->setFont(small);

    PlaceControls(layout_);
}

void MainForm::PlaceControls(const MainLayout& l) {
    setFixedSize(l.window);
    label3_->setGeometry(l.title);
    for (int i = 0; i < kPageButtons; ++i) {
        const QRect& r = l.pageA[static_cast<size_t>(i)];
        pageA_[static_cast<size_t>(i)]->setGeometry(r);
    }
    phcombo_->setGeometry(l.phcombo);
    combo1_->setGeometry(l.combo1);
    combo2_->setGeometry(l.combo2);
    label6_->setGeometry(l.songLine);
    picture1_->setGeometry(l.list);
    loadLabel_->setGeometry(0, l.list.height() / 2 - 12, l.list.width(), 24);
    playIco_->setGeometry(1, l.list.top(), 10, 20);
    label4_->setGeometry(l.pageLabel);
    socl_->setGeometry(l.track);
    for (int i = 0; i < kPlayButtons; ++i) playS_[static_cast<size_t>(i)]->setGeometry(l.playS[static_cast<size_t>(i)]);
    ybg_->setGeometry(l.volume);
    PlaceCalendar(l);
    label1_->setGeometry(l.link);

    RowHeight = static_cast<std::int16_t>(l.list.height() / kRowsPerPage);
    PlaceVolume(volume_);
}

void MainForm::BindSelector(Selector& model, QComboBox* box) {
    auto refill = [&model, box] {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(model.Items());
        box->setCurrentIndex(model.ListIndex());
    };
    connect(&model, &Selector::ItemsChanged, box, refill);
    connect(&model, &Selector::ListIndexChanged, box, [box](int index) {
        const QSignalBlocker block(box);
        box->setCurrentIndex(index);
    });
    connect(box, &QComboBox::activated, &model, [&model](int index) { model.SetListIndex(index); });
    refill();
}

void MainForm::PlaceVolume(int volume) {
    volume_ = volume;
    const int h = ybg_->height();
    const int top = VolumeFillTop(h, volume);
    ybg_->SetFill(QRect(0, top, ybg_->width(), h - top));
}

// The volume track: a press, or a drag with the left button, sets the volume.
void MainForm::SetVolumeFrom(QPoint at) {
    const int volume = VolumeFromPress(ybg_->height(), at.y());
    mmp_.settings().setVolume(volume);
    PlaceVolume(volume);
}

// The time track: a press, or a drag with the left button, seeks while a
// song plays or is paused.
void MainForm::SeekTo(QPoint at) {
    const auto target = SeekOnTrack(at.x(), socl_->width(), mmp_.currentMedia().duration(), mmp_.playState());
    if (!target) return;
    socl_->SetFill(QRect(0, 0, target->fillWidth, socl_->height()));
    core_.playback.SeekTo(target->position);
}

QLabel* MainForm::Label(int i) const {
    switch (i) {
        case 1:
            return label1_;
        case 3:
            return label3_;
        case 4:
            return label4_;
        case 6:
            return label6_;
        default:
            return nullptr;
    }
}

void MainForm::Picture1_MouseDown(int button, int x, int y) {
    const int row = RowAt(x, y, picture1_->width(), RowHeight, core_.list.PageEntryCount());
    if (button == 1) {
        core_.list.PlayRow(row);
    } else if (button == 2) {
        const QString menu = core_.list.RowMenu(row);
        if (!menu.isEmpty() && core_.hooks.PopupListMenu) core_.hooks.PopupListMenu(menu, QPoint(x, y));
    }
}

void MainForm::Sync() {
    const MainControls& ui = core_.ui;
    label3_->setText(ui.Label3);
    label6_->setText(ui.Label6);
    // A tool tip set again is an event to the widget even when unchanged.
    if (label6_->toolTip() != ui.Label6ToolTip) label6_->setToolTip(ui.Label6ToolTip);
    loadLabel_->setText(ui.LoadLabel);
    loadLabel_->setVisible(ui.LoadLabelVisible);
    label4_->setText(ui.Label4);
    // While the watch loop runs, the fill is painted with the time text,
    // once a second; when it stops (pause, stop) at once.
    const int fill = ui.progressShown ? ProgressFill(socl_->width(), ui.length, ui.position) : 0;
    socl_->SetFill(QRect(0, 0, fill, socl_->height()), core_.playback.PlayTime.isActive());
    socl_->SetText(ui.socl);
    if (ui.playingRow >= 0) playIco_->move(playIco_->x(), layout_.list.top() + PlayMarkerTop(ui.playingRow, RowHeight));
    playIco_->setVisible(ui.playingRow >= 0);
    for (int i = 0; i < kPlayButtons; ++i) playS_[static_cast<size_t>(i)]->setVisible(ui.PlaySVisible[static_cast<size_t>(i)]);
    for (int i : {5, 6, 14, 15}) pageA_[static_cast<size_t>(i)]->setVisible(ui.PageAVisible[static_cast<size_t>(i)]);
    for (const size_t i : {size_t{4}, size_t{6}})
        if (!ui.PageACaption[i].isEmpty() && pageA_[i]->toolTip() != ui.PageACaption[i])
            pageA_[i]->setToolTip(ui.PageACaption[i]);
    combo1_->setVisible(ui.Combo1Visible);
    combo2_->setVisible(ui.Combo2Visible);
    picture1_->SetRows(ui.rows, ui.playingRow);
}

bool MainForm::Load() {
    if (!core_.Form_Load()) return false;
    label1_->setText(Services().makerSite);
    Sync();
    return true;
}

void MainForm::ShowAfterLoad() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + std::max(0, (area.height() - height()) / 2));
    }
    show();
    // A screen of another pixel ratio gets the skin's pictures for it.
    if (QWindow* w = windowHandle())
        connect(w, &QWindow::screenChanged, this, &MainForm::ScreenChanged, Qt::UniqueConnection);
    core_.IsShown = True16;
    if (LrcShowAtStart()) lrc_->ShowLyrics(true);
}

void MainForm::ScreenChanged() {
    if (SkinModule::ScaleForDevicePixelRatio(devicePixelRatioF()) != pictures_.scale) goSkin(SkinModule::CurrentSkin);
}


void MainForm::closeEvent(QCloseEvent* e) {
    e->ignore();
    core_.startUp.CloseButton();
}


bool MainForm::IsMuted() const { return mmp_.settings().mute(); }

int MainForm::PlayPositionMs() const {
    if (core_.PlayIndex < 0) return -1;
    const double seconds = mmp_.controls().currentPosition();
    return std::isfinite(seconds) && seconds >= 0 ? static_cast<int>(std::min(seconds * 1000.0, 2.0e9)) : -1;
}

void MainForm::SeekToMs(int positionMs) { core_.playback.SeekTo(std::max(positionMs, 0) / 1000.0); }

}  // namespace tavo
