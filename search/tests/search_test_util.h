// Shared helpers of the search tests: a scratch folder, page files and a page list.
#pragma once

#include "exec/exec_control.h"
#include "model/index_files.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace kestrova::testing {

// A fresh folder below the test scratch area, removed at the end of the test.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = FreshScratchDir(std::string(info->test_suite_name()) + "." + info->name());
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }
    std::u16string Path16() const { return platform::PathFromNative(path_.string()); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A UTF-8 page with a title and a body.
inline std::string Page(const std::string& title, const std::string& body) {
    return "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body +
           "</body></html>";
}

// Pages in a folder, written as name -> bytes, in the given order.
class PageFiles final : public IIndexFiles {
public:
    PageFiles(std::u16string folder, std::vector<std::u16string> names)
        : folder_(std::move(folder)), names_(std::move(names)) {}
    int32_t GetCount() override { return static_cast<int32_t>(names_.size()); }
    const char16_t* GetFullPath(int32_t i) override {
        full_ = platform::JoinPath(folder_, names_[static_cast<size_t>(i)]);
        return full_.c_str();
    }
    const char16_t* GetName(int32_t i) override { return names_[static_cast<size_t>(i)].c_str(); }

private:
    std::u16string folder_;
    std::vector<std::u16string> names_;
    std::u16string full_;
};

// A control that records progress and asks to stop when `stopWhen` says so.
class RecordingControl final : public IExecControl {
public:
    bool ShouldBreak() override { return stop || (stopWhen && stopWhen(last)); }
    void ReportProgress(const ExecProgress& p) override {
        last = p;
        reports.push_back(p);
    }
    std::atomic<bool> stop{false};
    std::function<bool(const ExecProgress&)> stopWhen;
    ExecProgress last{0, 0, 0};
    std::vector<ExecProgress> reports;
};

}  // namespace kestrova::testing
