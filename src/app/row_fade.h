#pragma once
// The list's hover highlight and its fade, without the window.
//
// Each row has an opacity (0..255) with which its background picture is
// laid over white, and a fade mark. The row under the pointer lights up at
// once (drawn at 120, kept as 110); once the pointer leaves it, the 20 ms
// tick brings it back to the plain background in steps of 8 (about 19
// ticks). Moving within one row does not restart it.
//
// The window draws every row from Alpha(): below 255 a white rectangle with
// the row's background blended over it at that opacity, then the row's
// text; at 255 just the background and the text.

#include <array>
#include <cstddef>

namespace tavo {

class RowFade {
public:
    static constexpr int kRows = 10;
    static constexpr int kLit = 120;       // drawn when a row lights up
    static constexpr int kLitKept = 110;   // where its fade starts from
    static constexpr int kStep = 8;
    static constexpr int kPlain = 255;

    // The page: rows holding entries, and their size in pixels.
    void SetPage(int entries, int rowHeight, int width);

    // The pointer moved to (x, y) in the list's pixels. True when a row
    // lit up (the list needs drawing).
    bool Move(int x, int y);

    // One 20 ms tick with the pointer inside the rows or not. True when
    // something changed that shows.
    bool Tick(bool pointerInRows);

    // Whether (x, y) lies inside the rows of the page (edges excluded).
    bool InRows(int x, int y) const;

    // The opacity a row is drawn with: the lit value while it is lit.
    int DrawAlpha(int row) const;
    int Alpha(int row) const { return alpha_.at(static_cast<std::size_t>(row)); }
    bool Fading(int row) const { return fade_.at(static_cast<std::size_t>(row)) != 0; }
    int HoverRow() const { return hoverRow_; }

    // No row is on its way back: the tick can rest while the pointer is
    // away from the list.
    bool Idle() const;

private:
    std::array<int, kRows + 1> alpha_{kPlain, kPlain, kPlain, kPlain, kPlain, kPlain,
                                      kPlain, kPlain, kPlain, kPlain, kPlain};
    std::array<int, kRows + 1> fade_{};
    int hoverRow_ = -1;
    int entries_ = 0, rowHeight_ = 0, width_ = 0;
};

}  // namespace tavo
