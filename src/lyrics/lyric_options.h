#pragma once
// The lyrics window's look and options, as the user chose them, kept in the
// settings store's "Config" section.
//
// Colours are 0xAARRGGBB numbers so that this value stays free of drawing
// types. A key that is missing or unreadable keeps its default; the
// defaults are the skin's lyric colour and the one-line window.

#include <QString>

#include <cstdint>

namespace tavo::platform {
class SettingsStore;
}

namespace tavo {

enum class LyricEdge { None, Outline, Shadow };

struct LyricOptions {
    QString fontFamily;           // empty: the window's own font
    int fontPx = 16;              // kept within [kMinLyricFontPx, kMaxLyricFontPx]
    uint32_t playedColor = 0;     // the sung part
    uint32_t color = 0;           // the part not yet sung
    int backAlpha = 255;          // 0 text only ... 255 opaque
    bool karaoke = false;
    int lines = 1;                // 1, 2 or 5
    bool translation = true;
    bool locked = false;
    LyricEdge edge = LyricEdge::Outline;
};

inline constexpr int kMinLyricFontPx = 8;
inline constexpr int kMaxLyricFontPx = 96;

// The defaults for a skin whose lyric text colour is `skinText` (0xRRGGBB
// or 0xAARRGGBB; an alpha of 0 is read as opaque).
LyricOptions DefaultLyricOptions(uint32_t skinText);

// Reads the options (keys LrcLock, LrcLines, LrcFont, LrcFontSize,
// LrcPlayedColor, LrcColor, LrcBackAlpha, LrcKaraoke, LrcTranslation, LrcEdge) of `appName`, starting from `defaults`.
LyricOptions LoadLyricOptions(platform::SettingsStore& store, const QString& appName, const LyricOptions& defaults);
// False when any key could not be kept (every key is still tried).
bool SaveLyricOptions(platform::SettingsStore& store, const QString& appName, const LyricOptions& options);

}  // namespace tavo
