// Checks of the files that commands read.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova::cli {

// Empty when `path` names a readable-looking regular file; otherwise the reason, as
// "PATH: no such file" or "PATH: not a regular file".
inline std::string InputFileProblem(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return path + ": no such file";
    if (!std::filesystem::is_regular_file(status)) return path + ": not a regular file";
    return {};
}

// The absolute, lexically normal form of a path.
inline std::string FullPath(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return (ec ? std::filesystem::path(path) : absolute).lexically_normal().string();
}

}  // namespace kestrova::cli
