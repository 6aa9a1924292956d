#include "support/temp_dir.h"

#include "platform/program_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace tavo::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string templ = (fs::temp_directory_path() / "tavo-test-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::Write(const fs::path& rel, const std::string& bytes) const {
    const fs::path file = path_ / rel;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string TempDir::Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScopedProgramFolder::ScopedProgramFolder() : previous_(platform::ProgramFolder()) {
    platform::SetProgramFolder(dir_.path());
}

ScopedProgramFolder::~ScopedProgramFolder() { platform::SetProgramFolder(previous_); }

}  // namespace tavo::test
