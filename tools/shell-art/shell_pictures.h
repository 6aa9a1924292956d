#pragma once
// The background pictures of the splash window (440 x 260) and the about
// window (400 x 250): the icon's deep blue, a glow where the icon and the
// name sit, flowing sound waves, a golden crescent among a few stars, and a
// darker band at the foot for the maker's address. Drawn the same way every
// time (the stars come from a fixed sequence).

#include <QImage>

namespace tavo::art {

QImage WelcomePicture();
QImage AboutPicture();

}  // namespace tavo::art
