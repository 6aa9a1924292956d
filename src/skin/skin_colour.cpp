#include "skin/skin_colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace tavo {

namespace {

// System colour numbers and the palette role that plays their part here.
struct SystemRole {
    int number;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemRole kSystemRoles[] = {
    {0x01, QPalette::Active, QPalette::Window},           // desktop
    {0x02, QPalette::Active, QPalette::Highlight},        // active caption
    {0x04, QPalette::Active, QPalette::Window},           // menu
    {0x05, QPalette::Active, QPalette::Base},             // window
    {0x06, QPalette::Active, QPalette::Shadow},           // window frame
    {0x07, QPalette::Active, QPalette::WindowText},       // menu text
    {0x08, QPalette::Active, QPalette::Text},             // window text
    {0x09, QPalette::Active, QPalette::HighlightedText},  // caption text
    {0x0D, QPalette::Active, QPalette::Highlight},        // highlight
    {0x0E, QPalette::Active, QPalette::HighlightedText},  // highlighted text
    {0x0F, QPalette::Active, QPalette::Button},           // button face
    {0x10, QPalette::Active, QPalette::Dark},             // button shadow
    {0x11, QPalette::Disabled, QPalette::Text},           // grey text
    {0x12, QPalette::Active, QPalette::ButtonText},       // button text
    {0x14, QPalette::Active, QPalette::Light},            // button highlight
    {0x15, QPalette::Active, QPalette::Shadow},           // dark shadow
    {0x16, QPalette::Active, QPalette::Midlight},         // light
    {0x17, QPalette::Active, QPalette::ToolTipText},      // tooltip text
    {0x18, QPalette::Active, QPalette::ToolTipBase},      // tooltip back
};

}  // namespace

QColor ToQColor(int32_t value, const QPalette* palette) {
    if (!IsSystemColour(value)) return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    const QPalette pal = palette ? *palette : QGuiApplication::palette();
    const int number = value & 0xFF;
    for (const SystemRole& s : kSystemRoles)
        if (s.number == number) return pal.color(s.group, s.role);
    return pal.color(QPalette::Active, QPalette::Button);
}

int32_t FromQColor(const QColor& colour) { return SkinRgb(colour.red(), colour.green(), colour.blue()); }

}  // namespace tavo
