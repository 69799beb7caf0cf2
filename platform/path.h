// Paths. Full paths are native POSIX paths in UTF-8. Inside the model, relative page paths
// keep their stored form with parts joined by '\'; the helpers here turn them into native
// paths when a file is opened. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct timespec;

namespace kestrova::platform {

// Native names are bytes, usually UTF-8 but not always (names in code page 1251 unpacked from
// archives made on Windows), and may hold a backslash, which a relative path of the model uses
// as its separator. PathFromNative keeps every name lossless: UTF-8 becomes UTF-16, and each
// byte that is not part of valid UTF-8, and each backslash, becomes the lone surrogate
// UnitOfNativeByte(byte) (U+DC00 + byte). NativePath gives back the same bytes.

// A UTF-16 path with '\' or '/' separators as a native path with '/'.
std::string NativePath(std::u16string_view path);

// A native path as UTF-16, losslessly (see above).
std::u16string PathFromNative(std::string_view native);

// The code unit that carries a byte of a native name that is not text.
char16_t UnitOfNativeByte(char byte);
// The byte a code unit of PathFromNative carries, or -1 when it is ordinary text.
int NativeByteOf(char16_t unit);

// The normalised form of a folder or file path that identifies it: absolute (relative
// paths are taken from the current directory), '.' and '..' resolved, both separators
// accepted, no repeated or trailing separator; '/' separated. Letter case is kept.
std::u16string NormalizePath(std::u16string_view path);

// folder + '/' + relative, where the relative path may use '\' or '/'; '/' separated.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative);

// 100-ns intervals since 1601-01-01 UTC (the stored file time) from a POSIX time.
uint64_t FileTimeFromTimespec(const struct timespec& ts);

}  // namespace kestrova::platform
