#include "skin/command_paint.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace tavo {

namespace {

int Down(double v) { return static_cast<int>(std::floor(v)); }

void Edge(QPainter& p, const QRect& r, int32_t colour) {
    if (colour != 0) p.fillRect(r, ToQColor(colour));
}

}  // namespace

CaptionParts SplitCaption(const QString& caption) {
    const qsizetype amp = caption.indexOf(u'&');
    if (amp < 0) return {caption, {}, {}};
    return {caption.left(amp), caption.mid(amp + 1, 1), caption.mid(amp + 2)};
}

CommandLayout LayOut(QSize button, QSize text, QSize icon, int32_t alignment, bool firstPartEmpty) {
    const double W = button.width(), H = button.height();
    const double TW = text.width(), TH = text.height(), IW = icon.width(), IH = icon.height();
    CommandLayout l;
    const bool hasIcon = !icon.isEmpty();
    if (!hasIcon) {
        l.TextX = Down(W / 2 - TW / 2);
        l.TextY = Down(H / 2 - TH / 2);
        return l;
    }
    switch (alignment) {
        case 1:
            l.TextY = Down(H / 2 - TH / 2);
            l.IconX = firstPartEmpty ? 1 : 6;
            l.IconY = firstPartEmpty ? l.TextY - 2 : l.TextY;
            l.TextX = l.IconX + icon.width() + 3;
            break;
        case 2:
            l.TextY = Down(H / 2 - TH / 2);
            l.IconX = firstPartEmpty ? 1 : Down(W - IW - 2);
            l.IconY = firstPartEmpty ? l.TextY - 2 : l.TextY;
            l.TextX = 4;
            break;
        default: {
            // Icon above the caption, 5 pixels apart, the pair centred. A
            // button without a caption centres the icon alone.
            const double gap = TH > 0 ? 5 : 0;
            l.TextX = Down(W / 2 - TW / 2);
            l.IconX = Down(W / 2 - IW / 2);
            l.IconY = Down(H / 2 - (IH + TH + gap) / 2);
            l.TextY = l.IconY + icon.height() + static_cast<int>(gap);
            break;
        }
    }
    return l;
}

QSize IconSize(const QIcon& icon) {
    if (icon.isNull()) return {};
    const QList<QSize> sizes = icon.availableSizes();
    if (!sizes.isEmpty()) return sizes.first();
    return icon.actualSize(QSize(256, 256));
}

void PaintCommand(QPainter& p, QSize size, const CommandProperties& props, int look) {
    const int W = size.width(), H = size.height();
    if (W <= 0 || H <= 0) return;
    const QRect all(0, 0, W, H);
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);

    // Background and full-size picture.
    const QImage* picture = nullptr;
    switch (look) {
        case kLookPressed:
            p.fillRect(all, ToQColor(props.BackColor));
            picture = &props.PictureDown;
            break;
        case kLookHot:
            p.fillRect(all, ToQColor(props.HotUpBackColor));
            picture = &props.PictureMouseOn;
            break;
        case kLookDisabled:
            p.fillRect(all, Qt::white);
            picture = &props.PictureDown;
            break;
        default:
            p.fillRect(all, ToQColor(props.BackColor));
            picture = &props.Picture;
            break;
    }
    if (!picture->isNull()) p.drawImage(QRectF(all), *picture);

    // Edges: one-pixel lines; the later ones win at the corners.
    const QRect top(0, 0, W, 1), left(0, 0, 1, H), bottom(0, H - 1, W, 1), right(W - 1, 0, 1, H);
    switch (look) {
        case kLookPressed:
            Edge(p, top, props.HotDownBorderColor);
            Edge(p, left, props.HotDownBorderColor);
            Edge(p, bottom, props.HotUpBorderColor);
            Edge(p, right, props.HotUpBorderColor);
            break;
        case kLookHot:
            Edge(p, top, props.HotUpBorderColor);
            Edge(p, left, props.HotUpBorderColor);
            Edge(p, bottom, props.HotDownBorderColor);
            Edge(p, right, props.HotDownBorderColor);
            break;
        case kLookDisabled:
        default: {
            if (props.Bordercolor == 0) break;
            const int32_t c = look == kLookDisabled ? 0xCFCFCF : props.Bordercolor;
            for (const QRect& r : {top, left, bottom, right}) Edge(p, r, c);
            break;
        }
    }

    // Icon and caption.
    const CaptionParts parts = SplitCaption(props.Caption);
    const QString shown = parts.Shown();
    const QFontMetrics fm(props.Font);
    const QSize text = shown.isEmpty() ? QSize() : QSize(fm.horizontalAdvance(shown), fm.height());
    const QSize icon = IconSize(props.Icon);
    const CommandLayout l = LayOut(size, text, icon, props.IconAlignment, parts.before.isEmpty());
    const int off = look == kLookPressed ? 1 : 0;
    const QColor fore = ToQColor(look == kLookDisabled ? kSysGrayText : props.ForeColor);
    p.setPen(fore);
    if (!icon.isEmpty())
        props.Icon.paint(&p, QRect(QPoint(l.IconX + off, l.IconY + off), icon), Qt::AlignCenter,
                         look == kLookDisabled ? QIcon::Disabled : QIcon::Normal);
    if (!shown.isEmpty()) {
        p.setPen(fore);
        p.setFont(props.Font);
        int x = l.TextX + off;
        const int baseline = l.TextY + off + fm.ascent();
        p.drawText(x, baseline, parts.before);
        x += fm.horizontalAdvance(parts.before);
        if (!parts.key.isEmpty()) {
            QFont underlined = props.Font;
            underlined.setUnderline(true);
            p.setFont(underlined);
            p.drawText(x, baseline, parts.key);
            p.setFont(props.Font);
            x += fm.horizontalAdvance(parts.key);
        }
        p.drawText(x, baseline, parts.after);
    }
    p.restore();
}

}  // namespace tavo
