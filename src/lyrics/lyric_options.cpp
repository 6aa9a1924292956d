#include "lyrics/lyric_options.h"

#include "platform/settings_store.h"

#include <algorithm>

namespace tavo {
namespace {

const QString kSection = QStringLiteral("Config");

// A colour is written "#AARRGGBB"; anything else is not a colour.
bool ParseColor(const QString& text, uint32_t& out) {
    if (text.size() != 9 || text[0] != QLatin1Char('#')) return false;
    bool ok = false;
    const uint v = text.mid(1).toUInt(&ok, 16);
    if (ok) out = v;
    return ok;
}

QString ColorText(uint32_t c) {
    return QLatin1Char('#') + QString::number(c, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

// A number setting within [lo, hi]; missing or out of range keeps `value`.
void ReadNumber(const QString& text, int lo, int hi, int& value) {
    if (text.trimmed().isEmpty()) return;
    const long long v = platform::SettingNumber(text);
    if (v >= lo && v <= hi) value = static_cast<int>(v);
}

void ReadBool(const QString& text, bool& value) {
    if (text.trimmed().isEmpty()) return;
    value = platform::SettingNumber(text) != 0;
}

const char* EdgeName(LyricEdge e) {
    switch (e) {
        case LyricEdge::None: return "none";
        case LyricEdge::Shadow: return "shadow";
        case LyricEdge::Outline: break;
    }
    return "outline";
}

}  // namespace

LyricOptions DefaultLyricOptions(uint32_t skinText) {
    if ((skinText >> 24) == 0) skinText |= 0xFF000000u;
    LyricOptions o;
    o.color = skinText;
    // The sung part: the skin's colour turned warm and bright, so that it
    // stands apart from the rest of the line on any skin.
    const int bright = std::max({(skinText >> 16) & 0xFFu, (skinText >> 8) & 0xFFu, skinText & 0xFFu});
    o.playedColor = bright > 160 ? 0xFFFFB020u : 0xFFE03010u;
    return o;
}

LyricOptions LoadLyricOptions(platform::SettingsStore& store, const QString& appName, const LyricOptions& defaults) {
    LyricOptions o = defaults;
    auto get = [&](const char* key) { return store.GetSetting(appName, kSection, QString::fromLatin1(key)); };
    ReadBool(get("LrcLock"), o.locked);
    int lines = o.lines;
    ReadNumber(get("LrcLines"), 1, 5, lines);
    if (lines == 1 || lines == 2 || lines == 5) o.lines = lines;
    const QString family = get("LrcFont").trimmed();
    if (!family.isEmpty()) o.fontFamily = family;
    ReadNumber(get("LrcFontSize"), kMinLyricFontPx, kMaxLyricFontPx, o.fontPx);
    ParseColor(get("LrcPlayedColor").trimmed(), o.playedColor);
    ParseColor(get("LrcColor").trimmed(), o.color);
    ReadNumber(get("LrcBackAlpha"), 0, 255, o.backAlpha);
    ReadBool(get("LrcKaraoke"), o.karaoke);
    ReadBool(get("LrcTranslation"), o.translation);
    const QString edge = get("LrcEdge").trimmed().toLower();
    if (edge == QLatin1String("none")) o.edge = LyricEdge::None;
    else if (edge == QLatin1String("shadow")) o.edge = LyricEdge::Shadow;
    else if (edge == QLatin1String("outline")) o.edge = LyricEdge::Outline;
    return o;
}

bool SaveLyricOptions(platform::SettingsStore& store, const QString& appName, const LyricOptions& o) {
    bool saved = true;
    auto put = [&](const char* key, const QString& value) {
        saved = store.SaveSetting(appName, kSection, QString::fromLatin1(key), value) && saved;
    };
    put("LrcLock", QString::number(o.locked ? 1 : 0));
    put("LrcLines", QString::number(o.lines));
    put("LrcFont", o.fontFamily);
    put("LrcFontSize", QString::number(o.fontPx));
    put("LrcPlayedColor", ColorText(o.playedColor));
    put("LrcColor", ColorText(o.color));
    put("LrcBackAlpha", QString::number(o.backAlpha));
    put("LrcKaraoke", QString::number(o.karaoke ? 1 : 0));
    put("LrcTranslation", QString::number(o.translation ? 1 : 0));
    put("LrcEdge", QString::fromLatin1(EdgeName(o.edge)));
    return saved;
}

}  // namespace tavo
