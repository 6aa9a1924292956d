#pragma once
// A temporary folder that is removed with everything in it when the object
// goes out of scope.

#include <filesystem>
#include <string>

namespace tavo::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return path_ / rel; }

    // Writes `bytes` to path()/rel, creating folders on the way.
    std::filesystem::path Write(const std::filesystem::path& rel, const std::string& bytes) const;
    // Reads a whole file as bytes (empty when missing).
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path path_;
};

// Makes the program folder a fresh temporary folder for one test and puts the
// previous one back afterwards.
class ScopedProgramFolder {
public:
    ScopedProgramFolder();
    ~ScopedProgramFolder();
    const std::filesystem::path& path() const { return dir_.path(); }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

}  // namespace tavo::test
