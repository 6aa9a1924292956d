#include "skin/skin_ini.h"

#include "skin/skin_colour.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace tavo {

namespace {

constexpr SkinKey kKeys[] = {
    {u"标题文字色", SkinKeyKind::Colour, &SkinColours::TitleTextColor},
    {u"页码文字色", SkinKeyKind::Colour, &SkinColours::PageNumberColor},
    {u"下拉框按扭文字色", SkinKeyKind::Colour, &SkinColours::DropButtonTextColor},
    {u"下拉框背景色", SkinKeyKind::Colour, &SkinColours::DropBackColor},
    {u"下拉框文字色", SkinKeyKind::Colour, &SkinColours::DropTextColor},
    {u"日历文字色", SkinKeyKind::Colour, &SkinColours::CalendarTextColor},
    {u"日历有记事文字色", SkinKeyKind::Colour, &SkinColours::CalendarNoteTextColor},
    {u"日历星期色", SkinKeyKind::Colour, &SkinColours::CalendarWeekColor},
    {u"日历今天背景色", SkinKeyKind::Colour, &SkinColours::CalendarTodayBackColor},
    {u"日历今天文字色", SkinKeyKind::Colour, &SkinColours::CalendarTodayTextColor},
    {u"歌曲列表文字色", SkinKeyKind::Colour, &SkinColours::SongListTextColor},
    {u"背景图", SkinKeyKind::Picture, nullptr},
    {u"头尾边框", SkinKeyKind::Colour, &SkinColours::HeadTailBorderColor},
    {u"浮动边框", SkinKeyKind::Colour, &SkinColours::FloatBorderColor},
    {u"背景色", SkinKeyKind::Colour, &SkinColours::BackgroundColor},
    {u"播放状态背景色", SkinKeyKind::Colour, &SkinColours::PlayStateBackColor},
    {u"播放状态进度色", SkinKeyKind::Colour, &SkinColours::PlayStateProgressColor},
    {u"音量状态背景色", SkinKeyKind::Colour, &SkinColours::VolumeBackColor},
    {u"音量状态色", SkinKeyKind::Colour, &SkinColours::VolumeColor},
    {u"歌曲列表选中文字色", SkinKeyKind::Colour, &SkinColours::SongListSelectedTextColor},
    {u"歌词文字色", SkinKeyKind::Colour, &SkinColours::LyricsTextColor},
    {u"日历", SkinKeyKind::Calendar, nullptr},
};

bool Blank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool Digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double v) {
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff > 0.5) return f + 1;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

}  // namespace

void SetDefaultColours(SkinColours& c) {
    c.TitleTextColor = SkinRgb(166, 165, 165);
    c.PageNumberColor = SkinRgb(0, 0, 0);
    c.DropButtonTextColor = SkinRgb(205, 205, 205);
    c.DropBackColor = SkinRgb(255, 255, 255);
    c.DropTextColor = SkinRgb(0, 0, 0);
    c.CalendarTextColor = SkinRgb(128, 128, 128);
    c.CalendarNoteTextColor = SkinRgb(255, 128, 0);
    c.CalendarWeekColor = SkinRgb(97, 73, 29);
    c.CalendarTodayBackColor = SkinRgb(155, 122, 68);
    c.CalendarTodayTextColor = SkinRgb(255, 255, 255);
    c.SongListTextColor = SkinRgb(100, 100, 100);
    c.HeadTailBorderColor = SkinRgb(64, 64, 64);
    c.PlayStateBackColor = 0;
    c.PlayStateProgressColor = 0;
    c.VolumeBackColor = 0;
    c.VolumeColor = 0;
    c.SongListSelectedTextColor = 0;
    c.LyricsTextColor = SkinRgb(255, 255, 255);
    c.ShowCalendar = True16;
}

std::span<const SkinKey> SkinKeys() { return kKeys; }

int16_t CountOf(QStringView text, QStringView part) {
    if (part.isEmpty()) return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0 && count < 32767; at = text.indexOf(part, at + 1)) ++count;
    return static_cast<int16_t>(count);
}

int ColourComponent(QStringView text) {
    // Collect the longest prefix that reads as a number: sign, digits, one
    // point, digits, an exponent with its sign and digits.
    std::string num;
    enum { Sign, Int, Frac, ExpSign, Exp } at = Sign;
    for (QChar qc : text) {
        if (Blank(qc)) continue;
        const char16_t c = qc.unicode();
        if (at == Sign && (c == u'+' || c == u'-')) {
            num += static_cast<char>(c);
            at = Int;
        } else if ((at == Sign || at == Int || at == Frac) && Digit(c)) {
            num += static_cast<char>(c);
            if (at == Sign) at = Int;
        } else if ((at == Sign || at == Int) && c == u'.') {
            num += '.';
            at = Frac;
        } else if ((at == Int || at == Frac) && (c == u'e' || c == u'E' || c == u'd' || c == u'D')) {
            num += 'e';
            at = ExpSign;
        } else if (at == ExpSign && (c == u'+' || c == u'-')) {
            num += static_cast<char>(c);
            at = Exp;
        } else if ((at == ExpSign || at == Exp) && Digit(c)) {
            num += static_cast<char>(c);
            at = Exp;
        } else {
            break;
        }
    }
    // strtod stops where the collected text stops being a number ("1e",
    // "-", "."), which is what an incomplete tail means.
    const double v = num.empty() ? 0.0 : std::strtod(num.c_str(), nullptr);
    if (!(v > 0)) return 0;  // negatives, zero (and NaN, which cannot occur)
    if (v >= 255) return 255;
    return static_cast<int>(RoundHalfEven(v));
}

void ReadSkinLine(QStringView line, SkinColours& c, QStringList& pictures) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return;  // a key without a value sets nothing
    QStringView value = line.mid(eq + 1);
    if (const qsizetype second = value.indexOf(u'='); second >= 0) value = value.left(second);

    for (const SkinKey& k : kKeys) {
        if (!line.contains(QStringView(k.key))) continue;
        switch (k.kind) {
            case SkinKeyKind::Colour: {
                if (CountOf(value, u",") != 2) break;  // malformed: keep the value
                const qsizetype c1 = value.indexOf(u',');
                const qsizetype c2 = value.indexOf(u',', c1 + 1);
                c.*k.colour = SkinRgb(ColourComponent(value.left(c1)), ColourComponent(value.mid(c1 + 1, c2 - c1 - 1)),
                                      ColourComponent(value.mid(c2 + 1)));
                break;
            }
            case SkinKeyKind::Picture:
                pictures.append(value.trimmed().toString());
                break;
            case SkinKeyKind::Calendar:
                c.ShowCalendar = ToBool16(value.trimmed() == u"显示");
                break;
        }
    }
}

void ReadSkinLines(const QStringList& lines, SkinColours& c, QStringList& pictures) {
    for (const QString& line : lines) ReadSkinLine(line, c, pictures);
}

}  // namespace tavo
