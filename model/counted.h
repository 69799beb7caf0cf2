// Shared lifetimes: CounterBase_ is the base of every object whose lifetime is shared between
// owners and threads (models, topic sets, favorites nodes); CountedPtr holds one reference.
//
// A new object starts with a count of 1: the creator's reference. Every operation that returns
// a counted object returns it with one reference that the caller owns, as a CountedPtr.
// AddRef and Release are atomic, so counted objects may be handed between threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kestrova {

class CounterBase_ {
public:
    CounterBase_() = default;
    CounterBase_(const CounterBase_&) = delete;
    CounterBase_& operator=(const CounterBase_&) = delete;
    virtual ~CounterBase_() = default;

    // Adds one reference.
    void AddRef() const noexcept { count_.fetch_add(1, std::memory_order_relaxed); }
    // Gives one reference back; the last one destroys the object.
    void Release() const noexcept {
        if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    // The current count, for tests and diagnostics only.
    int32_t RefCount() const noexcept { return count_.load(std::memory_order_relaxed); }

private:
    mutable std::atomic<int32_t> count_{1};
};

// Holds one reference to a counted object (or null). Copying takes a reference, destruction
// and Reset give it back.
template <class T>
class CountedPtr {
public:
    CountedPtr() = default;
    CountedPtr(std::nullptr_t) {}
    CountedPtr(const CountedPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    CountedPtr(CountedPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    CountedPtr(CountedPtr<U> other) : p_(other.Detach()) {}
    ~CountedPtr() {
        if (p_) p_->Release();
    }

    CountedPtr& operator=(CountedPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    // Takes over a reference the caller already owns (a new object, or a returned one).
    static CountedPtr Adopt(T* p) {
        CountedPtr r;
        r.p_ = p;
        return r;
    }
    // Takes a new reference on an object owned elsewhere.
    static CountedPtr Share(T* p) {
        if (p) p->AddRef();
        return Adopt(p);
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Gives the reference back and becomes null.
    void Reset() { CountedPtr().swap(*this); }
    // Hands the reference to the caller and becomes null.
    T* Detach() { return std::exchange(p_, nullptr); }
    void swap(CountedPtr& other) noexcept { std::swap(p_, other.p_); }

private:
    T* p_ = nullptr;
};

// A new counted object, owning the creator's reference.
template <class T, class... Args>
CountedPtr<T> MakeCounted(Args&&... args) {
    return CountedPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

template <class T, class U>
bool operator==(const CountedPtr<T>& a, const CountedPtr<U>& b) {
    return a.get() == b.get();
}
template <class T>
bool operator==(const CountedPtr<T>& a, std::nullptr_t) {
    return a.get() == nullptr;
}

}  // namespace kestrova
