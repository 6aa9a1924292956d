#include "skin/list_paint.h"

#include "skin/skin_blend.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace tavo {

QImage ComposeList(const ListLook& look, QSize size, const QStringList& rows, int playingRow,
                   const std::array<int, 10>& alphas) {
    const qreal dpr = look.background.isNull() ? 1.0 : look.background.devicePixelRatio();
    const QSize px(static_cast<int>(std::lround(size.width() * dpr)), static_cast<int>(std::lround(size.height() * dpr)));
    if (px.isEmpty()) return {};
    QImage out;
    if (look.background.size() == px) {
        out = look.background.convertToFormat(QImage::Format_RGB32);
    } else {
        out = Stretched(look.background, px);
        if (out.isNull()) {
            out = QImage(px, QImage::Format_RGB32);
            out.fill(Qt::white);
        }
    }
    out.setDevicePixelRatio(1);

    for (int i = 0; i < 10; ++i) {
        const int alpha = alphas[static_cast<size_t>(i)];
        const QImage& row = look.rows[static_cast<size_t>(i)];
        if (alpha >= 255 || row.isNull()) continue;
        const QPoint at(0, static_cast<int>(std::lround(i * look.rowHeight * dpr)));
        BlendColour(out, QRect(at, row.size()), qRgb(255, 255, 255), 255);
        BlendImage(out, at, row, alpha);
    }

    out.setDevicePixelRatio(dpr);
    QPainter p(&out);
    p.setFont(look.font);
    const QFontMetrics fm(look.font);
    const int room = size.width() - 8 - 6;
    for (int k = 0; k < rows.size() && k < 10; ++k) {
        const QColor colour = k == playingRow ? look.selected : look.text;
        const QString text = fm.elidedText(rows[k], Qt::ElideRight, room);
        const int baseline = look.rowHeight * k + look.rowTop + fm.ascent();
        // Light text keeps a faint shadow, so that it still reads on a row
        // lit towards white.
        if (qGray(colour.rgb()) > 150) {
            p.setPen(QColor(0, 0, 0, 70));
            p.drawText(9, baseline + 1, text);
        }
        p.setPen(colour);
        p.drawText(8, baseline, text);
    }
    return out;
}

}  // namespace tavo
