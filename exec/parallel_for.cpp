#include "exec/parallel_for.h"

#include <sched.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kestrova {
namespace {

class Loop {
public:
    Loop(size_t count, size_t chunk, const std::function<void(size_t, int)>& work)
        : count_(count), chunk_(std::max<size_t>(chunk, 1)), work_(work) {}

    // Runs chunks on this thread (at most `chunks` of them) until none is left or the loop
    // stops; `afterEach` (may be empty) runs after each item.
    void Take(int worker, const std::function<void(size_t)>* afterEach, size_t chunks = SIZE_MAX) {
        try {
            for (; chunks > 0; --chunks) {
                const size_t begin = next_.fetch_add(chunk_);
                if (begin >= count_) return;
                const size_t end = std::min(count_, begin + chunk_);
                for (size_t i = begin; i < end; ++i) {
                    if (stopped_.load(std::memory_order_relaxed)) return;
                    work_(i, worker);
                    const size_t done = done_.fetch_add(1) + 1;
                    if (afterEach && *afterEach) (*afterEach)(done);
                }
            }
        } catch (...) {
            Stop(std::current_exception());
        }
    }

    void RethrowFirstError() {
        if (error_) std::rethrow_exception(error_);
    }

private:
    void Stop(std::exception_ptr error) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!error_) error_ = std::move(error);
        stopped_.store(true);
    }

    const size_t count_;
    const size_t chunk_;
    const std::function<void(size_t, int)>& work_;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> done_{0};
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::exception_ptr error_;
};

// The processors this process may run on (fewer than the machine has when its affinity is
// limited, as in a container), at least 1.
int UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) return std::max(CPU_COUNT(&set), 1);
    return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

}  // namespace

void ParallelFor(size_t count, size_t chunk, int helpers,
                 const std::function<void(size_t, int)>& work,
                 const std::function<void(size_t)>& afterEach) {
    Loop loop(count, chunk, work);
    // The calling thread's first chunk comes before any helper starts, so that it reports, and
    // may stop the loop, at least once whenever there is work.
    loop.Take(0, &afterEach, 1);
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(std::max(helpers, 0)));
    try {
        for (int worker = 1; worker <= helpers; ++worker) {
            threads.emplace_back([&loop, worker] { loop.Take(worker, nullptr); });
        }
    } catch (const std::system_error&) {
        // No more threads to be had: the ones started and this thread do the work.
    }
    loop.Take(0, &afterEach);
    for (std::thread& t : threads) t.join();
    loop.RethrowFirstError();
}

int HelperCount(size_t count, size_t worthwhile, int most) {
    if (count < worthwhile) return 0;
    return std::clamp(UsableProcessors() - 1, 0, std::max(most, 0));
}

}  // namespace kestrova
