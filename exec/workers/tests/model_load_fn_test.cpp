#include "exec/workers/model_load_fn.h"

#include "exec/workers/tests/fakes.h"
#include "platform/path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace kestrova {
namespace {

// Unsets an environment variable for the life of the object.
class WithoutVariable {
public:
    explicit WithoutVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) old_ = value;
        ::unsetenv(name);
    }
    ~WithoutVariable() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Without a data folder there is no model.log: the real loader says why on standard error.
TEST(LoadModelFromDisk, AFolderWithoutADataFolderIsToldOnStandardError) {
    const WithoutVariable noData("XDG_DATA_HOME");
    const WithoutVariable noHome("HOME");
    const std::u16string folder = testing::UniqueFolder("no-data-folder");
    platform::ManualResetEvent stop;
    NamedLockSet locks(kLoadLockSet, folder, kLockSetSize, stop);
    NullExecControl control;
    ::testing::internal::CaptureStderr();
    const ModelLoadOutcome outcome = LoadModelFromDisk(folder, control, locks, false);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(outcome.model, nullptr);
    EXPECT_EQ(err, "kestrova: " + platform::NativePath(folder) +
                       ": no model (no per-user data folder: neither XDG_DATA_HOME nor HOME is "
                       "set)\n");
}

// A lock that cannot be had ends the load as no model, with the reason, instead of a failure
// that the loader thread would drop without a word.
TEST(LoadModelFromDisk, ALockThatCannotBeHadIsToldAsNoModel) {
    const std::u16string folder = testing::UniqueFolder("unusable-locks");
    const std::string runtime = platform::NativePath(testing::UniqueFolder("runtime"));
    std::filesystem::create_directories(runtime);
    std::ofstream(runtime + "/kestrova-locks") << "a file where the lock folder should be";
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    platform::ManualResetEvent stop;
    std::optional<ModelLoadOutcome> outcome;
    std::string err;
    {
        NamedLockSet locks(kLoadLockSet, folder, kLockSetSize, stop);
        NullExecControl control;
        ::testing::internal::CaptureStderr();
        outcome = LoadModelFromDisk(folder, control, locks, false);
        err = ::testing::internal::GetCapturedStderr();
    }
    if (saved)
        ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(outcome->model, nullptr);
    EXPECT_NE(err.find(": no model (can't take lock"), std::string::npos) << err;
    EXPECT_NE(err.find("not a folder"), std::string::npos) << err;
}

}  // namespace
}  // namespace kestrova
