#pragma once
// The parsers read a downloaded file: each fuzz input is written to one
// scratch file (in memory-backed storage when there is some) and parsed.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tavo::fuzz {

inline const std::filesystem::path& ScratchFile() {
    static const std::filesystem::path file = [] {
        std::error_code ec;
        const std::filesystem::path dir =
            std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        return dir / ("tavo_fuzz_page_" + std::to_string(::getpid()) + ".txt");
    }();
    return file;
}

inline const std::filesystem::path& WritePage(const uint8_t* data, size_t size) {
    const auto& file = ScratchFile();
    if (FILE* f = std::fopen(file.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return file;
}

}  // namespace tavo::fuzz
