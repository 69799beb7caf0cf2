// Paths. Full paths are native POSIX paths in UTF-8. Inside the model, relative page paths
// keep their stored form with parts joined by '\'; the helpers here turn them into native
// paths when a file is opened. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct timespec;

namespace kestrova::platform {

// A UTF-16 path with '\' or '/' separators as a native UTF-8 path with '/'.
std::string NativePath(std::u16string_view path);

// A native UTF-8 path as UTF-16.
std::u16string PathFromNative(std::string_view native);

// The normalised form of a folder or file path that identifies it: absolute (relative
// paths are taken from the current directory), '.' and '..' resolved, both separators
// accepted, no repeated or trailing separator; '/' separated. Letter case is kept.
std::u16string NormalizePath(std::u16string_view path);

// folder + '/' + relative, where the relative path may use '\' or '/'; '/' separated.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative);

// 100-ns intervals since 1601-01-01 UTC (the stored file time) from a POSIX time.
uint64_t FileTimeFromTimespec(const struct timespec& ts);

}  // namespace kestrova::platform
