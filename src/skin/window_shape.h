#pragma once
// The main window's outline: a rounded rectangle from (0, 0) to (width,
// height + 9) with corner ellipses 9 by 9, so the top corners are rounded
// and the bottom ones fall below the window and stay square. As a window
// mask it needs no compositor (and a compositor honours it too).

#include <QRegion>
#include <QSize>

namespace tavo {

QRegion WindowOutline(QSize size);

}  // namespace tavo
