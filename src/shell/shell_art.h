#pragma once
// The shell's pictures and fonts. The pictures are built into the program
// (Qt resources under ":/shell/"), drawn by tools/shell-art and
// tools/icon-art, so the splash, the about window and the tray icon never
// depend on the program folder.

#include <QFont>
#include <QIcon>
#include <QPixmap>

namespace tavo {

// The program's icon, every drawn size.
QIcon ProgramIcon();
// The icon drawn at `size` pixels (the nearest drawn size, scaled).
QPixmap ProgramIconPixmap(int size);
// The splash window's and the about window's background pictures.
QPixmap WelcomePicture();
QPixmap AboutPicture();

// The title font: a Chinese sans-serif face that Linux desktops have.
QFont TitleFont(int pixelSize, int weight = QFont::Bold);
// The font of the maker's address (Verdana where present).
QFont AddressFont(int pixelSize);

}  // namespace tavo
