#include "platform/bounded_file.h"

#include <fstream>
#include <system_error>

namespace tavo::platform {

namespace fs = std::filesystem;

BoundedRead ReadFileUpTo(const fs::path& file, qsizetype maxBytes) {
    BoundedRead out;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        out.error = BoundedReadError::Missing;
        return out;
    }
    const auto size = fs::file_size(file, ec);
    if (ec) {
        out.error = BoundedReadError::Unreadable;
        return out;
    }
    if (size > static_cast<std::uintmax_t>(maxBytes)) {
        out.error = BoundedReadError::TooLarge;
        return out;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        out.error = BoundedReadError::Unreadable;
        return out;
    }
    // One byte past the limit tells a file that grew since the size check.
    QByteArray bytes(maxBytes + 1 > static_cast<qsizetype>(size) ? static_cast<qsizetype>(size) + 1 : maxBytes + 1,
                     Qt::Uninitialized);
    in.read(bytes.data(), bytes.size());
    const auto got = static_cast<qsizetype>(in.gcount());
    if (in.bad()) {
        out.error = BoundedReadError::Unreadable;
        return out;
    }
    if (got > maxBytes) {
        out.error = BoundedReadError::TooLarge;
        return out;
    }
    bytes.truncate(got);
    out.bytes = std::move(bytes);
    return out;
}

}  // namespace tavo::platform
