#pragma once
// The 16-bit boolean convention kept by members and globals: true is -1
// (all bits set), false is 0.

#include <cstdint>

namespace tavo {

using VbBool = std::int16_t;
inline constexpr VbBool VbTrue = -1;
inline constexpr VbBool VbFalse = 0;

constexpr VbBool ToVb(bool b) { return b ? VbTrue : VbFalse; }
constexpr bool FromVb(VbBool v) { return v != 0; }

}  // namespace tavo
