#pragma once
// The skin's colour file `skin.ini`: one "key=value" entry a line, no
// sections, no comments. A key matches wherever it occurs in a line, so one
// line can set several variables: every key containing "背景色" also sets
// BackgroundColor, every key beginning with "日历" also sets ShowCalendar.
// Keys are tried in the table's order and the last matching line wins.
//
// Values: colours are "red,green,blue" (exactly two commas; each part a
// decimal number, blanks ignored, rounded half to even, clamped to
// 0..255); "背景图" names a picture file; "日历" shows the calendar exactly
// when its value is "显示". The value is what lies between the first "=" and
// a second one; a line without "=" sets nothing.

#include "platform/bool16.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>

namespace tavo {

// The skin colours, each R + G*256 + B*65536, and the calendar switch.
struct SkinColours {
    int32_t TitleTextColor = 0;
    int32_t PageNumberColor = 0;
    int32_t DropButtonTextColor = 0;
    int32_t DropBackColor = 0;
    int32_t DropTextColor = 0;
    int32_t CalendarTextColor = 0;
    int32_t CalendarNoteTextColor = 0;
    int32_t CalendarWeekColor = 0;
    int32_t CalendarTodayBackColor = 0;
    int32_t CalendarTodayTextColor = 0;
    int32_t SongListTextColor = 0;
    int32_t HeadTailBorderColor = 0;
    int32_t FloatBorderColor = 0;
    int32_t BackgroundColor = 0;
    int32_t PlayStateBackColor = 0;
    int32_t PlayStateProgressColor = 0;
    int32_t VolumeBackColor = 0;
    int32_t VolumeColor = 0;
    int32_t SongListSelectedTextColor = 0;
    int32_t LyricsTextColor = 0;
    Bool16 ShowCalendar = True16;

    bool operator==(const SkinColours&) const = default;
};

// The built-in colours. BackgroundColor and FloatBorderColor have no
// default: they keep whatever value they had.
void SetDefaultColours(SkinColours& c);

enum class SkinKeyKind { Colour, Picture, Calendar };

struct SkinKey {
    const char16_t* key;
    SkinKeyKind kind;
    int32_t SkinColours::*colour;  // Colour keys only
};

// Every key in the order lines are tested against them.
std::span<const SkinKey> SkinKeys();

// The number of occurrences of `part` in `text`, each search starting one
// character after the previous find (so "aaa" holds "aa" twice). An empty
// part occurs 0 times. At most 32767.
int16_t CountOf(QStringView text, QStringView part);

// A colour component as the file writes it: blanks anywhere are ignored, a
// decimal number is read up to the first character that cannot continue it
// (none gives 0), rounded half to even, negatives count as 0, above 255 as
// 255.
int ColourComponent(QStringView text);

// Applies one line to `c`. A "背景图" value (trimmed) is appended to
// `pictures` for the caller to look up; the last one that exists wins.
void ReadSkinLine(QStringView line, SkinColours& c, QStringList& pictures);

// All lines in order.
void ReadSkinLines(const QStringList& lines, SkinColours& c, QStringList& pictures);

}  // namespace tavo
