#pragma once
// The 16-bit boolean convention kept by members and globals: true is -1
// (all bits set), false is 0.

#include <cstdint>

namespace tavo {

using Bool16 = std::int16_t;
inline constexpr Bool16 True16 = -1;
inline constexpr Bool16 False16 = 0;

constexpr Bool16 ToBool16(bool b) { return b ? True16 : False16; }
constexpr bool FromBool16(Bool16 v) { return v != 0; }

}  // namespace tavo
