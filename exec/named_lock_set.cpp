#include "exec/named_lock_set.h"

#include "exec/exceptions.h"
#include "platform/path.h"

namespace kestrova {

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
    : stop_(stop) {
    if (stop_.IsSet()) throw shutdown_exception();
    for (int i = 0; i < count; ++i) {
        mutexes_.push_back(
            std::make_unique<platform::NamedMutex>(MutexName(prefix, i, folderPath)));
    }
}

platform::NamedMutex& NamedLockSet::Wait(const std::vector<platform::NamedMutex*>& candidates) {
    std::optional<size_t> obtained = platform::WaitForStopOrMutex(stop_, candidates);
    if (!obtained) throw shutdown_exception();
    return *candidates[*obtained];
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
    for (auto& mutex : mutexes_) Wait({mutex.get()});
    for (size_t i = 0; i < mutexes_.size(); ++i) {
        for (int k = 0; k < given[i]; ++k) mutexes_[i]->TryAcquire();  // owned: obtained at once
    }
}

void NamedLockSet::ReleaseAll() {
    for (auto& mutex : mutexes_) mutex->Release();
}

}  // namespace kestrova
