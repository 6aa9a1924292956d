#pragma once
// Painting the windows from a skin, without any window: given the skin's
// colours, its background picture and folder, and where the main window's
// controls sit, build every picture the windows show, once per skin change.
// Hovering and pressing a button then only switch between stored pictures.
//
// The steps, in order:
//   1. colours for the named controls (`colours`);
//   2. the window image: the background picture stretched over the window,
//      or BackgroundColor;
//   3. the list picture's background: the window image under the list;
//   6. the ten row backgrounds (`rows`), one RowHeight apart in the list;
//   7. the frame bands, HeadTailBorderColor blended over the edges at fixed
//      opacities (kFrameBands); then the lyrics window's background (the
//      picture stretched, or BackgroundColor), its frame colour (the window
//      image's pixel at (0, 40)) and its text colour;
//   8. every page button's face: the finished window image under it;
//  10. every playback button's three faces: the window image under it with
//      "A.png" (normal), "B.png" (pointer over) or "C.png" (pressed) blended
//      over it by the skin decoder. An image that is missing or cannot be
//      decoded leaves the plain background under the button as that face.
//
// All pictures carry the device pixel ratio `scale` (1, or 2 for "@2x"
// painting): their pixel sizes are the logical sizes times the scale.

#include "imaging/load_png.h"
#include "skin/skin_ini.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <filesystem>
#include <vector>

namespace tavo {

inline constexpr int kPageButtons = 16;
inline constexpr int kPlayButtons = 7;
inline constexpr int kListRows = 10;

// Where the main window's controls sit, in its logical pixels.
struct SkinLayout {
    QSize window;                             // inner size
    QRect list;                               // the list picture `Picture1`
    int rowHeight = 0;                        // `RowHeight`
    std::array<QRect, kPageButtons> pageA{};  // `PageA` 0..15 (empty: none)
    std::array<QRect, kPlayButtons> playS{};  // `PlayS` 0..6
    QSize lyrics;                             // the lyrics window's inner size
};

// One frame band: a rectangle (from the window's size W x H) and its
// opacity out of 255.
struct FrameBand {
    QRect rect;
    int opacity;
};
std::array<FrameBand, 10> FrameBands(const QSize& window);

enum class ColourRole { Text, Back, Border };

// A colour for one property of a named control.
struct ControlColour {
    QString control;  // the control's name ("Label2", "PageA4", "Combo1", ...)
    ColourRole role;
    int32_t colour;   // R + G*256 + B*65536
};

// Step 1's table for `c`.
std::vector<ControlColour> ControlColours(const SkinColours& c);

struct ButtonFaces {
    QImage normal, hot, down;  // `Picture`, `PictureMouseOn`, `PictureDown`
};

struct SkinPictures {
    int scale = 1;
    QImage window;                                // the finished window image
    QImage list;                                  // `Picture1`'s background
    std::array<QImage, kListRows> rows;           // `tmpPic` 0..9
    std::array<QImage, kPageButtons> pageA;       // each page button's face
    std::array<ButtonFaces, kPlayButtons> playS;  // each playback button's faces
    std::array<QColor, kPlayButtons> playSymbol;  // symbol colour that reads on each face
    int32_t pageABorder = 0;                      // hot and pressed edges of the page buttons
    QImage lyrics;                                // the lyrics window's background
    QColor lyricsFrame;                           // its frame colour
    QColor lyricsText;                            // its lyric text colour
    std::vector<ControlColour> colours;           // step 1
    std::array<bool, 3> facesDecoded{};           // "A.png", "B.png", "C.png" painted
};

// The window image under `r` (the window's logical pixels), at the
// pictures' scale: the background of a control that paints all of itself.
QImage PictureUnder(const SkinPictures& pictures, const QRect& r);

// Builds every picture. `background` is the skin's picture (null: none);
// `skinFolder` holds the face images; `decoder` blends them.
SkinPictures PaintSkin(const SkinColours& c, const QImage& background, const std::filesystem::path& skinFolder,
                       const SkinLayout& layout, int scale, imaging::LoadPNG& decoder);

// The same from SkinModule's current skin (colours, Image1, CurrentSkin,
// Scale, Decoder).
SkinPictures PaintCurrentSkin(const SkinLayout& layout);

// A symbol colour that stands out on `face`: near-white on dark faces,
// deep slate on light ones.
QColor SymbolColourOn(const QImage& face);

}  // namespace tavo
