#pragma once
// The User-Agent every request of this program carries: the downloads of the
// web layer and the streams the media player opens say the same.

#ifndef TAVO_VERSION
#error "TAVO_VERSION must name the program's version (the build defines it)"
#endif

namespace tavo::platform {

inline constexpr char kUserAgent[] = "TavoMusicBox/" TAVO_VERSION;

}  // namespace tavo::platform
