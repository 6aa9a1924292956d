#pragma once
// Reading a whole file that must stay below a size: the size is checked
// before anything is read, and no more than the limit is ever read (a file
// that grows meanwhile is read up to the limit and refused).

#include <QByteArray>

#include <filesystem>

namespace tavo::platform {

enum class BoundedReadError {
    None,
    Missing,     // no such file, or not a regular file
    TooLarge,    // above the limit
    Unreadable,  // it exists but could not be read
};

struct BoundedRead {
    BoundedReadError error = BoundedReadError::None;
    QByteArray bytes;  // empty on any error
};

BoundedRead ReadFileUpTo(const std::filesystem::path& file, qsizetype maxBytes);

}  // namespace tavo::platform
