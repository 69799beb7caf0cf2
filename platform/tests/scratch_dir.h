// Scratch folders for tests. kestrova_test() gives every test program its own scratch area in
// KESTROVA_TEST_TMP; a program run by hand falls back to the system's temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova::testing {

// The scratch area of the running test program (created when missing).
inline std::filesystem::path ScratchRoot() {
    const char* base = std::getenv("KESTROVA_TEST_TMP");
    std::filesystem::path root =
        base ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(root);
    return root;
}

// A fresh, empty folder of that name below the scratch area.
inline std::filesystem::path FreshScratchDir(const std::string& name) {
    const std::filesystem::path dir = ScratchRoot() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace kestrova::testing
