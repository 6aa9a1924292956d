#pragma once
// SkinModule: the program-wide skin state. It owns the skin colours, the
// name of the skin in use (`CurrentSkin`), the main window's background
// picture read from the skin (`Image1`) and the one PNG decoder that paints
// skins.
//
// A skin is a folder program folder/"skin"/<name>/ with `skin.ini` (see
// skin_ini.h), the button faces "A.png", "B.png", "C.png" and an optional
// background picture. Where the screen's device pixel ratio is above 1.5 the
// skin is painted from the "@2x" variants of its images ("A@2x.png",
// "bg@2x.png" for "bg.png") when the skin has them.
//
// Start-up: SetDefaultSkinColours, CurrentSkin from the settings, LoadSkin
// with CurrentSkin, then the window paints the skin (skin_painter.h).
// Switching skins: CurrentSkin = name, LoadSkin(name), paint again.

#include "imaging/load_png.h"
#include "skin/skin_ini.h"

#include <QImage>
#include <QString>

#include <filesystem>

namespace tavo::SkinModule {

// What a skin folder's files may weigh. Past it a file is not read and the
// skin's load says so (background pictures: see ReadPicture).
inline constexpr qsizetype kMaxSkinIniBytes = 256 << 10;
inline constexpr qsizetype kMaxFaceFileBytes = 8 << 20;

// The colour variables, as one record and under their own names.
inline SkinColours Colours;
inline int32_t& TitleTextColor = Colours.TitleTextColor;
inline int32_t& PageNumberColor = Colours.PageNumberColor;
inline int32_t& DropButtonTextColor = Colours.DropButtonTextColor;
inline int32_t& DropBackColor = Colours.DropBackColor;
inline int32_t& DropTextColor = Colours.DropTextColor;
inline int32_t& CalendarTextColor = Colours.CalendarTextColor;
inline int32_t& CalendarNoteTextColor = Colours.CalendarNoteTextColor;
inline int32_t& CalendarWeekColor = Colours.CalendarWeekColor;
inline int32_t& CalendarTodayBackColor = Colours.CalendarTodayBackColor;
inline int32_t& CalendarTodayTextColor = Colours.CalendarTodayTextColor;
inline int32_t& SongListTextColor = Colours.SongListTextColor;
inline int32_t& HeadTailBorderColor = Colours.HeadTailBorderColor;
inline int32_t& FloatBorderColor = Colours.FloatBorderColor;
inline int32_t& BackgroundColor = Colours.BackgroundColor;
inline int32_t& PlayStateBackColor = Colours.PlayStateBackColor;
inline int32_t& PlayStateProgressColor = Colours.PlayStateProgressColor;
inline int32_t& VolumeBackColor = Colours.VolumeBackColor;
inline int32_t& VolumeColor = Colours.VolumeColor;
inline int32_t& SongListSelectedTextColor = Colours.SongListSelectedTextColor;
inline int32_t& LyricsTextColor = Colours.LyricsTextColor;
inline Bool16& ShowCalendar = Colours.ShowCalendar;

// The skin in use (its folder name).
inline QString CurrentSkin;
// The skin shipped as the default.
inline const QString kDefaultSkin = QStringLiteral("蓝色科技");

// The main window's background picture: null when the skin has none. Its
// device pixel ratio tells whether it is an "@2x" picture. Held from
// LoadSkin until the window has painted its pictures from it.
inline QImage Image1;

// 1, or 2 to paint from the "@2x" images. Set by the window from its
// screen before LoadSkin; see ScaleForDevicePixelRatio.
inline int Scale = 1;
int ScaleForDevicePixelRatio(double dpr);

// The one decoder that paints skin images (created on first use).
imaging::LoadPNG& Decoder();

// Writes the built-in colours (BackgroundColor and FloatBorderColor keep
// their values).
void SetDefaultSkinColours();

// A name that can only mean a folder directly inside the skin folder: not
// empty, no "/" or "\", no "..", no NUL.
bool IsSafeSkinName(const QString& name);

// program folder/"skin", and one skin's folder in it.
std::filesystem::path SkinRoot();
std::filesystem::path SkinFolder(const QString& name);

// Reads the skin `skinName`:
//  1. When the folder of CurrentSkin is missing: the "缺少皮肤" message, and
//     that folder is created (a CurrentSkin that is not a safe name is first
//     replaced by the default, so nothing is made outside the skin folder).
//  2. When the folder of `skinName` is missing (or the name is not safe):
//     nothing changes.
//  3. Otherwise the background picture is cleared; without `skin.ini` the
//     default colours apply; with it, its lines are read in order and the
//     last "背景图" that names an existing, readable picture becomes Image1.
void LoadSkin(const QString& skinName);

// Where a "背景图" value points: a path beginning with "/" as it is; a
// Windows drive path ("D:\...") is not on this system (empty); anything
// else is a file of the skin folder ("\" read as "/").
std::filesystem::path PicturePath(const std::filesystem::path& skinFolder, const QString& value);

// "name@2x.ext" beside "name.ext" ("name@2x" without an extension).
std::filesystem::path DoubledPath(const std::filesystem::path& file);

// The file to paint from at `scale`: the "@2x" variant when scale is 2 and
// it exists, else `file`. `usedScale` tells which.
std::filesystem::path ImageForScale(const std::filesystem::path& file, int scale, int* usedScale);

// Reads a picture file: PNG through the skin decoder (alpha blended over
// `backColour`), other formats through the toolkit's image readers. Null
// when missing, undecodable or larger than 4096 x 4096.
QImage ReadPicture(const std::filesystem::path& file, int32_t backColour);

}  // namespace tavo::SkinModule
