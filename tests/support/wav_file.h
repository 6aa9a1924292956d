#pragma once
// Short WAV files for playback tests: 16-bit mono PCM, a quiet tone.

#include <cmath>
#include <cstdint>
#include <string>

namespace tavo::test {

inline std::string MakeWav(double seconds, int rate = 8000) {
    const std::uint32_t samples = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t dataBytes = samples * 2;
    std::string out;
    auto u32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&out](std::uint16_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>(v >> 8));
    };
    out += "RIFF";
    u32(36 + dataBytes);
    out += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * 2);
    u16(2);
    u16(16);
    out += "data";
    u32(dataBytes);
    for (std::uint32_t i = 0; i < samples; ++i)
        u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(1000 * std::sin(i * 0.2))));
    return out;
}

}  // namespace tavo::test
