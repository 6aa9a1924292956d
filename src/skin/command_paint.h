#pragma once
// Drawing of the skin button `Command`, apart from its events: the look
// number and the button's properties in, pixels out.
//
// Looks: 1 pressed, 2 hot (pointer over), 3 normal, 4 disabled.
//
// | look | background     | full-size picture | edges                                   | offset |
// | 1    | BackColor      | PictureDown       | top, left HotDown; bottom, right HotUp  | +1, +1 |
// | 2    | HotUpBackColor | PictureMouseOn    | top, left HotUp; bottom, right HotDown  | none   |
// | 3    | BackColor      | Picture           | rectangle in Bordercolor                | none   |
// | 4    | white          | PictureDown       | rectangle 0xCFCFCF if Bordercolor != 0  | none   |
//
// A colour of 0 draws no edge. The caption is drawn in ForeColor (grey text
// when disabled), its access key underlined.

#include "skin/skin_colour.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

class QPainter;

namespace tavo {

inline constexpr int kLookPressed = 1;
inline constexpr int kLookHot = 2;
inline constexpr int kLookNormal = 3;
inline constexpr int kLookDisabled = 4;

// What a button draws with (its persisted properties, less Enabled).
struct CommandProperties {
    QIcon Icon;
    QImage Picture;
    QImage PictureMouseOn;
    QImage PictureDown;
    int32_t ForeColor = kSysButtonText;
    int32_t BackColor = 0xF3F3F3;
    int32_t Bordercolor = kSysButtonFace;
    int32_t HotUpBorderColor = kSysButtonFace;
    int32_t HotUpBackColor = kSysButtonFace;
    int32_t HotDownBorderColor = kSysButtonFace;
    QFont Font;
    int32_t IconAlignment = 0;  // 0 above the caption, 1 left of it, 2 right of it
    QString Caption = QStringLiteral("Command");
};

// The caption around its first "&": the text before it, the access-key
// character after it, and the rest.
struct CaptionParts {
    QString before, key, after;
    QString Shown() const { return before + key + after; }
};
CaptionParts SplitCaption(const QString& caption);

struct CommandLayout {
    int IconX = 0, IconY = 0, TextX = 0, TextY = 0;
};

// Places icon and caption in a W x H button: caption TW x TH, icon IW x IH
// (0 x 0 without one). Halves in floating point, rounded down.
CommandLayout LayOut(QSize button, QSize text, QSize icon, int32_t alignment, bool firstPartEmpty);

// The icon's natural size in logical pixels (0 x 0 without one).
QSize IconSize(const QIcon& icon);

// Draws look `look` over the whole of `size`.
void PaintCommand(QPainter& p, QSize size, const CommandProperties& props, int look);

}  // namespace tavo
