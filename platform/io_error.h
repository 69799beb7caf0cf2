// The failure of a file operation: a message that names the file, and the system error code.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrova::platform {

class io_error : public std::runtime_error {
public:
    io_error(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    // The errno value of the failed call (0 when there was none, e.g. a short read).
    int code() const noexcept { return code_; }

private:
    int code_;
};

}  // namespace kestrova::platform
