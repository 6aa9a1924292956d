#include "app/main_form.h"

#include "app/window_rules.h"

#include "lyrics/lrc_box.h"
#include "platform/media_player.h"
#include "sources/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSystemTrayIcon>

namespace tavo {

namespace {

constexpr int kWidth = 330;
constexpr int kHeight = 526;
// The default colours until a skin paints the window.
const QColor kListText(100, 100, 100);
const QColor kTitleText(166, 165, 165);

QPushButton* MakeButton(QWidget* parent, const QString& text, const QRect& r, const QString& name) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(r);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const QRect& r, const QString& name) {
    auto* l = new QLabel(parent);
    l->setGeometry(r);
    l->setObjectName(name);
    return l;
}

}  // namespace

// ---------------------------------------------------------------- ListPicture

ListPicture::ListPicture(PlayerCore& core, QWidget* parent) : QWidget(parent), core_(core) {
    setObjectName(QStringLiteral("Picture1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ListPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(kListText);
    const QFontMetrics fm(font());
    const int rowHeight = core_.RowHeight;
    const auto& rows = core_.ui.rows;
    for (int k = 0; k < rows.size(); ++k)
        p.drawText(8, rowHeight * k + core_.RowTop + fm.ascent(), rows[k]);
}

void ListPicture::mousePressEvent(QMouseEvent* e) {
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 0;
    if (button == 0) return;
    const QPoint at = e->position().toPoint();
    core_.Picture1_MouseDown(button, at.x(), at.y());
}

// ---------------------------------------------------------------- MainForm

MainForm::MainForm(platform::MediaPlayer& mmp, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), mmp_(mmp), core_(mmp) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(kAppTitle);
    setFixedSize(kWidth, kHeight);
    BuildControls();
    lrc_ = std::make_unique<lrcBox>(this);
    core_.SetLyricsView(lrc_.get());

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
    connect(&core_, &PlayerCore::Changed, this, &MainForm::Sync);
}

MainForm::~MainForm() {
    // The lyrics window refers to this window: it goes first.
    core_.SetLyricsView(nullptr);
    lrc_.reset();
}

void MainForm::BuildControls() {
    MainGeometry g;
    // Title strip.
    label3_ = MakeLabel(this, QRect(10, 4, 230, 22), QStringLiteral("Label3"));
    label3_->setText(kAppTitle);
    {
        QPalette pal = label3_->palette();
        pal.setColor(QPalette::WindowText, kTitleText.darker(160));
        label3_->setPalette(pal);
    }
    // Paging, selectors, window and calendar buttons.
    const struct {
        int index;
        const char16_t* text;
        QRect r;
    } pages[] = {
        {0, u"首页", QRect(12, 372, 40, 22)},  {1, u"上页", QRect(54, 372, 40, 22)},
        {2, u"下页", QRect(150, 372, 40, 22)}, {3, u"末页", QRect(192, 372, 40, 22)},
        {4, u"▼", QRect(296, 34, 22, 24)},     {5, u"▼", QRect(140, 62, 22, 24)},
        {6, u"▼", QRect(296, 62, 22, 24)},     {7, u"×", QRect(302, 4, 22, 22)},
        {8, u"–", QRect(278, 4, 22, 22)},      {9, u"≡", QRect(254, 4, 22, 22)},
        {10, u"<", QRect(96, 470, 22, 20)},    {11, u">", QRect(120, 470, 22, 20)},
        {12, u"今", QRect(144, 470, 26, 20)},  {13, u"记事", QRect(172, 470, 40, 20)},
        {14, u"换一批", QRect(246, 34, 48, 24)}, {15, u"返回播放", QRect(236, 372, 82, 22)},
    };
    for (const auto& p : pages) {
        pageA_[p.index] = MakeButton(this, QString::fromUtf16(p.text), p.r, QStringLiteral("PageA%1").arg(p.index));
        const int i = p.index;
        connect(pageA_[i], &QPushButton::clicked, this, [this, i] { core_.PageA_Click(i); });
    }
    phcombo_ = new QComboBox(this);
    phcombo_->setObjectName(QStringLiteral("PHcombo"));
    phcombo_->setGeometry(12, 34, 232, 24);
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(12, 62, 128, 24);
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setGeometry(166, 62, 130, 24);
    BindSelector(core_.gsl.PHcombo, phcombo_);
    BindSelector(core_.gsl.Combo1, combo1_);
    BindSelector(core_.gsl.Combo2, combo2_);

    label6_ = MakeLabel(this, QRect(12, 90, 306, 24), QStringLiteral("Label6"));

    // The list picture, its busy label and the playing-row marker.
    picture1_ = new ListPicture(core_, this);
    picture1_->setGeometry(g.listLeft, g.listTop, g.listWidth, g.listHeight);
    core_.SetGeometry(g);
    loadLabel_ = MakeLabel(picture1_, QRect(0, g.listHeight / 2 - 12, g.listWidth, 24), QStringLiteral("LoadLabel"));
    loadLabel_->setAlignment(Qt::AlignCenter);
    loadLabel_->hide();
    playIco_ = MakeLabel(this, QRect(1, g.listTop, 11, 20), QStringLiteral("PlayIco"));
    playIco_->setText(QStringLiteral("▶"));
    playIco_->hide();

    label4_ = MakeLabel(this, QRect(96, 372, 52, 22), QStringLiteral("Label4"));
    label4_->setAlignment(Qt::AlignCenter);

    // The time track with its progress fill.
    socl_ = MakeLabel(this, QRect(12, 400, g.trackWidth, 18), QStringLiteral("socl"));
    socl_->setFrameShape(QFrame::Box);
    progress_ = new QWidget(socl_);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setGeometry(0, 0, 0, 18);
    progress_->setAutoFillBackground(true);
    {
        QPalette pal = progress_->palette();
        pal.setColor(QPalette::Window, QColor(120, 160, 210, 160));
        progress_->setPalette(pal);
    }

    // Player buttons: the pause button lies under the play button.
    const struct {
        const char16_t* text;
        QRect r;
    } plays[] = {
        {u"播放", QRect(12, 426, 33, 33)},  {u"停止", QRect(48, 426, 33, 33)},
        {u"上一首", QRect(84, 426, 33, 33)}, {u"下一首", QRect(120, 426, 33, 33)},
        {u"暂停", QRect(12, 426, 33, 33)},  {u"静音", QRect(164, 430, 24, 24)},
        {u"取消静音", QRect(164, 430, 24, 24)},
    };
    for (int i = 6; i >= 0; --i) {
        playS_[i] = MakeButton(this, QString::fromUtf16(plays[i].text).left(2), plays[i].r, QStringLiteral("PlayS%1").arg(i));
        playS_[i]->setToolTip(QString::fromUtf16(plays[i].text));
        connect(playS_[i], &QPushButton::clicked, this, [this, i] { core_.PlayS_Click(i); });
    }

    // The volume track.
    ybg_ = new QFrame(this);
    ybg_->setObjectName(QStringLiteral("YBG"));
    ybg_->setFrameShape(QFrame::Box);
    ybg_->setGeometry(200, 420, 10, 44);
    ybg_->installEventFilter(this);
    volumeFill_ = new QWidget(this);
    volumeFill_->setObjectName(QStringLiteral("volumeFill"));
    volumeFill_->setAutoFillBackground(true);
    {
        QPalette pal = volumeFill_->palette();
        pal.setColor(QPalette::Window, QColor(120, 160, 210));
        volumeFill_->setPalette(pal);
    }

    ymLabel_ = MakeLabel(this, QRect(12, 470, 80, 20), QStringLiteral("YMlabel"));
    label1_ = MakeLabel(this, QRect(12, 500, 306, 20), QStringLiteral("Label1"));
    label1_->setCursor(Qt::PointingHandCursor);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 240, 246));
    setPalette(pal);
    setAutoFillBackground(true);
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
    const QRect track = ybg_->geometry();
    const int top = VolumeFillTop(track.height(), volume);
    volumeFill_->setGeometry(track.left() + 2, track.top() + top, track.width() - 4, track.height() - top);
}

// The volume track: a press, or a drag with the left button, sets the volume.
bool MainForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ybg_ && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove)) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->buttons() & Qt::LeftButton) {
            const int volume = VolumeFromPress(ybg_->height(), static_cast<int>(me->position().y()));
            mmp_.settings().setVolume(volume);
            PlaceVolume(volume);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
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

void MainForm::Sync() {
    const MainControls& ui = core_.ui;
    label3_->setText(ui.Label3);
    label6_->setText(ui.Label6);
    label6_->setToolTip(ui.Label6ToolTip);
    loadLabel_->setText(ui.LoadLabel);
    loadLabel_->setVisible(ui.LoadLabelVisible);
    label4_->setText(ui.Label4);
    socl_->setText(ui.socl);
    progress_->setGeometry(0, 0, ui.progressWidth, socl_->height());
    playIco_->move(playIco_->x(), ui.PlayIcoTop);
    playIco_->setVisible(ui.PlayIcoVisible);
    for (int i = 0; i < 7; ++i) playS_[i]->setVisible(ui.PlaySVisible[i]);
    for (int i : {5, 6, 14, 15}) pageA_[i]->setVisible(ui.PageAVisible[i]);
    if (!ui.PageACaption[4].isEmpty()) pageA_[4]->setToolTip(ui.PageACaption[4]);
    if (!ui.PageACaption[6].isEmpty()) pageA_[6]->setToolTip(ui.PageACaption[6]);
    combo1_->setVisible(ui.Combo1Visible);
    combo2_->setVisible(ui.Combo2Visible);
    ymLabel_->setText(ui.YMlabel);
    if (ui.rows != drawnRows_) {
        drawnRows_ = ui.rows;
        picture1_->update();
    }
}

bool MainForm::Load() {
    if (!core_.Form_Load()) return false;
    label1_->setText(Services().makerSite);
    Sync();
    return true;
}

void MainForm::ShowAfterLoad() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    show();
    core_.IsShown = True16;
    if (LrcShowAtStart()) lrc_->ShowLyrics(true);
}

QString MainForm::CurrentSongName() const {
    return core_.playback.CurrentSongText();
}

void MainForm::closeEvent(QCloseEvent* e) {
    e->ignore();
    core_.startUp.CloseButton();
}

void MainForm::SetSongLabel(const QString& text) { core_.SetLabel6(text); }

bool MainForm::IsMuted() const { return mmp_.settings().mute(); }

}  // namespace tavo
