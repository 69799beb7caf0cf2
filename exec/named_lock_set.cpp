#include "exec/named_lock_set.h"

#include "exec/exceptions.h"
#include "platform/lock_wait.h"
#include "platform/path.h"

#include <chrono>
#include <optional>

namespace kestrova {
namespace {

// How often a waiting thread tries the mutexes again.
constexpr std::chrono::milliseconds kPollInterval{20};

}  // namespace

std::u16string NamedLockSet::MutexName(std::u16string_view prefix, int index,
                                       std::u16string_view folderPath) {
    std::u16string name = u"Global\\";
    name += prefix;
    name += u':';
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    name += u':';
    name += platform::NormalizePath(folderPath);
    return name;
}

NamedLockSet::NamedLockSet(std::u16string_view prefix, std::u16string_view folderPath, int count,
                           const platform::ManualResetEvent& stop)
    : stop_(stop), what_("lock ") {
    for (char16_t c : prefix) what_ += static_cast<char>(c);  // the prefixes are ASCII
    what_ += " of " + platform::NativePath(platform::NormalizePath(folderPath));
    if (stop_.IsSet()) throw shutdown_exception();
    for (int i = 0; i < count; ++i) {
        mutexes_.push_back(
            std::make_unique<platform::NamedMutex>(MutexName(prefix, i, folderPath)));
    }
}

platform::NamedMutex& NamedLockSet::Wait(const std::vector<platform::NamedMutex*>& candidates) {
    std::optional<platform::LockWait> wait;  // from the first round that finds them all busy
    for (;;) {
        if (stop_.IsSet()) throw shutdown_exception();
        for (platform::NamedMutex* mutex : candidates) {
            switch (mutex->TryAcquire()) {
                case platform::NamedMutex::TryResult::Obtained:
                    return *mutex;
                case platform::NamedMutex::TryResult::Failed:
                    throw LockError("can't take " + what_ + ": " + mutex->Error());
                case platform::NamedMutex::TryResult::Busy:
                    break;
            }
        }
        if (!wait) {
            std::vector<std::string> files;
            for (platform::NamedMutex* mutex : candidates) files.push_back(mutex->LockFilePath());
            wait.emplace(what_, std::move(files));
        }
        if (!wait->KeepWaiting()) throw LockError(wait->GiveUpMessage());
        if (stop_.WaitFor(kPollInterval)) throw shutdown_exception();
    }
}

platform::NamedMutex& NamedLockSet::AcquireAny() {
    std::vector<platform::NamedMutex*> all;
    for (auto& mutex : mutexes_) all.push_back(mutex.get());
    return Wait(all);
}

void NamedLockSet::AcquireAll() {
    std::vector<int> given(mutexes_.size(), 0);
    for (size_t i = 0; i < mutexes_.size(); ++i) {
        while (mutexes_[i]->Release()) ++given[i];
    }
    const auto retake = [&] {
        for (size_t i = 0; i < mutexes_.size(); ++i) {
            for (int k = 0; k < given[i]; ++k) mutexes_[i]->TryAcquire();  // owned: at once
        }
    };
    size_t taken = 0;
    try {
        for (auto& mutex : mutexes_) {
            Wait({mutex.get()});
            ++taken;
        }
    } catch (const LockError&) {
        // The thread goes on after this failure, so it must not keep half of the set.
        for (size_t i = 0; i < taken; ++i) mutexes_[i]->Release();
        retake();
        throw;
    }
    retake();
}

void NamedLockSet::ReleaseAll() {
    for (auto& mutex : mutexes_) mutex->Release();
}

}  // namespace kestrova
