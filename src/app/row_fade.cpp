#include "app/row_fade.h"

#include <algorithm>

namespace tavo {

void RowFade::SetPage(int entries, int rowHeight, int width) {
    entries_ = std::clamp(entries, 0, kRows);
    rowHeight_ = std::max(rowHeight, 0);
    width_ = std::max(width, 0);
}

bool RowFade::InRows(int x, int y) const {
    return rowHeight_ > 0 && x > 0 && x < width_ && y > 0 && y < entries_ * rowHeight_;
}

bool RowFade::Move(int x, int y) {
    if (!InRows(x, y)) return false;
    // Strictly inside a row: a pointer on the line between two rows lights
    // neither.
    const int i = y / rowHeight_;
    if (i * rowHeight_ >= y || i == hoverRow_) return false;
    alpha_[static_cast<size_t>(i)] = kLitKept;
    fade_[static_cast<size_t>(i)] = 0;
    hoverRow_ = i;
    for (int k = 0; k < entries_; ++k)
        if (k != i) fade_[static_cast<size_t>(k)] = 1;
    return true;
}

bool RowFade::Tick(bool pointerInRows) {
    bool changed = false;
    for (int i = 0; i < entries_; ++i) {
        int& a = alpha_[static_cast<size_t>(i)];
        if (fade_[static_cast<size_t>(i)] == 1 && a < kPlain) {
            a = std::min(a + kStep, kPlain);
            changed = true;
        }
    }
    if (!pointerInRows) {
        for (int i = 0; i < entries_; ++i) fade_[static_cast<size_t>(i)] = 1;
        hoverRow_ = -1;
    }
    return changed;
}

int RowFade::DrawAlpha(int row) const {
    return row == hoverRow_ && !Fading(row) && Alpha(row) == kLitKept ? kLit : Alpha(row);
}

bool RowFade::Idle() const {
    for (int i = 0; i < entries_; ++i)
        if (fade_[static_cast<size_t>(i)] == 1 && alpha_[static_cast<size_t>(i)] < kPlain) return false;
    return true;
}

}  // namespace tavo
