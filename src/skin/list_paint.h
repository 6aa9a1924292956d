#pragma once
// Drawing the song list from the skin: the list's background, each row laid
// over white at its opacity while it is lit or fading (a white rectangle the
// size of the row, the row's background blended over it), then the row
// texts at x 8, RowTop below each row's top, the playing row in the
// selected colour (light texts with a faint shadow).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QStringList>

#include <array>

namespace tavo {

struct ListLook {
    QImage background;             // the list's background (device pixel ratio kept)
    std::array<QImage, 10> rows;   // each row's background
    int rowHeight = 25;
    int rowTop = 2;
    QColor text;
    QColor selected;               // the playing row's text
    QFont font;
};

// The finished list picture, `size` logical pixels at the background's
// device pixel ratio. `alphas` gives each row's opacity (255: plain).
QImage ComposeList(const ListLook& look, QSize size, const QStringList& rows, int playingRow,
                   const std::array<int, 10>& alphas);

}  // namespace tavo
