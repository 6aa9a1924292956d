#include "lyrics/ui/lyric_look_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavo {
namespace {

// The sample is shown at this lyric time: the second line, half sung.
constexpr int kSampleTimeMs = 6400;
constexpr int kLinesChoices[] = {1, 2, 5};

const QString& SampleText() {
    static const QString text = QStringLiteral(
        "[00:02.00]让我们荡起双桨\n"
        "[00:05.00]<00:05.00>小船儿 <00:06.00>推开 <00:07.00>波浪\n"
        "[00:05.00]The little boat pushes the waves\n"
        "[00:08.00]海面倒映着美丽的白塔\n"
        "[00:11.00]四周环绕着绿树红墙\n");
    return text;
}

}  // namespace

LyricLookPreview::LyricLookPreview(uint32_t backColor, QWidget* parent)
    : QWidget(parent), sample_(ParseLyricDoc(SampleText())), backColor_(backColor) {
    setObjectName(QStringLiteral("LrcLookPreview"));
    setMinimumSize(320, 110);
}

void LyricLookPreview::SetLook(const LyricOptions& look) {
    look_ = look;
    update();
}

void LyricLookPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A chequered desktop, so that a clear background reads as clear.
    constexpr int kCell = 10;
    for (int y = 0; y < height(); y += kCell)
        for (int x = 0; x < width(); x += kCell)
            p.fillRect(x, y, kCell, kCell, ((x + y) / kCell) % 2 ? QColor(150, 150, 150) : QColor(230, 230, 230));
    LyricFrame frame;
    frame.doc = &sample_;
    frame.timeMs = kSampleTimeMs;
    frame.backColor = backColor_;
    // The background's alpha composes over the chequer as it will over the desktop.
    QImage layer = painter_.Render(size(), devicePixelRatioF(), frame, look_);
    p.drawImage(QPointF(0, 0), layer);
}

LyricLookDialog::LyricLookDialog(const LyricOptions& current, const LyricOptions& defaults, uint32_t backColor,
                                 QWidget* parent)
    : QDialog(parent), base_(current), defaults_(defaults) {
    setObjectName(QStringLiteral("LrcLookDialog"));
    setWindowTitle(QStringLiteral("歌词设置"));

    preview_ = new LyricLookPreview(backColor, this);
    font_ = new QFontComboBox(this);
    size_ = new QSpinBox(this);
    size_->setRange(kMinLyricFontPx, kMaxLyricFontPx);
    size_->setSuffix(QStringLiteral(" px"));
    playedButton_ = new QPushButton(this);
    playedButton_->setObjectName(QStringLiteral("LrcPlayedColor"));
    colorButton_ = new QPushButton(this);
    colorButton_->setObjectName(QStringLiteral("LrcColor"));
    edge_ = new QComboBox(this);
    edge_->addItems({QStringLiteral("无"), QStringLiteral("描边"), QStringLiteral("阴影")});
    alpha_ = new QSlider(Qt::Horizontal, this);
    alpha_->setRange(0, 255);
    lines_ = new QComboBox(this);
    lines_->addItems({QStringLiteral("单行"), QStringLiteral("双行"), QStringLiteral("五行滚动")});
    karaoke_ = new QCheckBox(QStringLiteral("卡拉OK逐字填充"), this);
    translation_ = new QCheckBox(QStringLiteral("显示翻译"), this);

    auto* form = new QFormLayout;
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(font_, 1);
    fontRow->addWidget(size_);
    form->addRow(QStringLiteral("字体"), fontRow);
    auto* colours = new QHBoxLayout;
    colours->addWidget(playedButton_);
    colours->addWidget(colorButton_);
    form->addRow(QStringLiteral("已唱 / 未唱"), colours);
    form->addRow(QStringLiteral("文字边缘"), edge_);
    form->addRow(QStringLiteral("背景 (透明 - 不透明)"), alpha_);
    form->addRow(QStringLiteral("行数"), lines_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(karaoke_);
    checks->addWidget(translation_);
    form->addRow(QString(), checks);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* reset = buttons->addButton(QStringLiteral("恢复默认"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("LrcLookReset"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(reset, &QPushButton::clicked, this, [this] { Show(defaults_); });

    auto* all = new QVBoxLayout(this);
    all->addWidget(preview_, 1);
    all->addLayout(form);
    all->addWidget(buttons);

    connect(font_, &QFontComboBox::currentFontChanged, this, &LyricLookDialog::Changed);
    connect(size_, &QSpinBox::valueChanged, this, &LyricLookDialog::Changed);
    connect(edge_, &QComboBox::currentIndexChanged, this, &LyricLookDialog::Changed);
    connect(alpha_, &QSlider::valueChanged, this, &LyricLookDialog::Changed);
    connect(lines_, &QComboBox::currentIndexChanged, this, &LyricLookDialog::Changed);
    connect(karaoke_, &QCheckBox::toggled, this, &LyricLookDialog::Changed);
    connect(translation_, &QCheckBox::toggled, this, &LyricLookDialog::Changed);
    connect(playedButton_, &QPushButton::clicked, this,
            [this] { PickColour(played_, QStringLiteral("已唱部分的颜色")); });
    connect(colorButton_, &QPushButton::clicked, this,
            [this] { PickColour(color_, QStringLiteral("未唱部分的颜色")); });
    Show(current);
}

void LyricLookDialog::Show(const LyricOptions& look) {
    filling_ = true;  // one preview update for the whole look
    font_->setCurrentFont(look.fontFamily.isEmpty() ? font() : QFont(look.fontFamily));
    size_->setValue(std::clamp(look.fontPx, kMinLyricFontPx, kMaxLyricFontPx));
    edge_->setCurrentIndex(look.edge == LyricEdge::None ? 0 : look.edge == LyricEdge::Outline ? 1 : 2);
    alpha_->setValue(std::clamp(look.backAlpha, 0, 255));
    lines_->setCurrentIndex(look.lines == 5 ? 2 : look.lines == 2 ? 1 : 0);
    karaoke_->setChecked(look.karaoke);
    translation_->setChecked(look.translation);
    played_ = look.playedColor;
    color_ = look.color;
    filling_ = false;
    Changed();
}

LyricOptions LyricLookDialog::Chosen() const {
    LyricOptions o = base_;
    const QString family = font_->currentFont().family();
    o.fontFamily = family == font().family() && base_.fontFamily.isEmpty() ? QString() : family;
    o.fontPx = size_->value();
    o.playedColor = played_;
    o.color = color_;
    o.edge = edge_->currentIndex() == 0 ? LyricEdge::None : edge_->currentIndex() == 1 ? LyricEdge::Outline : LyricEdge::Shadow;
    o.backAlpha = alpha_->value();
    o.lines = kLinesChoices[std::clamp(lines_->currentIndex(), 0, 2)];
    o.karaoke = karaoke_->isChecked();
    o.translation = translation_->isChecked();
    return o;
}

void LyricLookDialog::SetPlayedColor(uint32_t argb) {
    played_ = argb;
    Changed();
}

void LyricLookDialog::SetColor(uint32_t argb) {
    color_ = argb;
    Changed();
}

void LyricLookDialog::PaintSwatch(QPushButton* b, uint32_t argb) {
    QPixmap swatch(28, 14);
    swatch.fill(QColor::fromRgba(argb));
    b->setIcon(QIcon(swatch));
    b->setIconSize(swatch.size());
}

void LyricLookDialog::PickColour(uint32_t& colour, const QString& title) {
    const QColor chosen =
        QColorDialog::getColor(QColor::fromRgba(colour), this, title, QColorDialog::ShowAlphaChannel);
    if (!chosen.isValid()) return;  // cancelled
    colour = chosen.rgba();
    Changed();
}

void LyricLookDialog::Changed() {
    if (filling_) return;
    PaintSwatch(playedButton_, played_);
    PaintSwatch(colorButton_, color_);
    playedButton_->setText(QStringLiteral("已唱"));
    colorButton_->setText(QStringLiteral("未唱"));
    preview_->SetLook(Chosen());
}

}  // namespace tavo
