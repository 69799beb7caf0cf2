// A private per-user data folder for one test: XDG_DATA_HOME points at a fresh scratch folder
// while the object lives, so files of the base folder (folders.bin, bookmarks.xml) start
// absent and no other test sees them.
#pragma once

#include "platform/tests/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace kestrova::testing {

class PrivateDataHome {
public:
    // Also creates the base folder (Kestrova) inside it.
    explicit PrivateDataHome(const std::string& name) : root_(FreshScratchDir(name)) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
        std::filesystem::create_directories(Base());
    }
    PrivateDataHome(const PrivateDataHome&) = delete;
    PrivateDataHome& operator=(const PrivateDataHome&) = delete;
    ~PrivateDataHome() {
        if (old_)
            ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    // The base folder, $XDG_DATA_HOME/Kestrova.
    std::filesystem::path Base() const { return root_ / "Kestrova"; }

private:
    std::filesystem::path root_;
    std::optional<std::string> old_;
};

}  // namespace kestrova::testing
