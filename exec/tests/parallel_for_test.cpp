#include "exec/parallel_for.h"

#include "exec/exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace kestrova {
namespace {

// Every item runs exactly once on a known worker, whatever the number of helpers and however
// the chunks fall at the end; the calling thread's reports count up.
TEST(ParallelFor, EveryItemOnceAndReportsCountUp) {
    for (const int helpers : {0, 1, 3}) {
        for (const size_t count : {size_t{0}, size_t{1}, size_t{15}, size_t{1000}}) {
            std::unique_ptr<std::atomic<int>[]> runs(new std::atomic<int>[count]());
            std::atomic<bool> badWorker{false};
            std::vector<size_t> reports;
            ParallelFor(
                count, 16, helpers,
                [&](size_t i, int worker) {
                    if (worker < 0 || worker > helpers) badWorker = true;
                    ++runs[i];
                },
                [&](size_t done) { reports.push_back(done); });
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(runs[i].load(), 1) << i << " of " << count << ", " << helpers;
            EXPECT_FALSE(badWorker);
            for (size_t r = 1; r < reports.size(); ++r) EXPECT_LT(reports[r - 1], reports[r]);
            if (helpers == 0) {
                EXPECT_EQ(reports.size(), count);
            }
            if (count > 0) {  // the calling thread always reports at least once
                ASSERT_FALSE(reports.empty());
                EXPECT_LE(reports.back(), count);
            }
        }
    }
}

// A report that throws (the user cancelled) stops the loop: the exception comes out, and the
// helpers soon start no more items. Here the helpers' items wait for the throw and then take
// a while each, so that a loop that went on would run far more than the calling thread's 50.
TEST(ParallelFor, ThrowingReportStopsEveryThread) {
    std::atomic<size_t> ran{0};
    std::atomic<bool> thrown{false};
    EXPECT_THROW(ParallelFor(
                     100000, 4, 3,
                     [&](size_t, int worker) {
                         if (worker != 0) {
                             while (!thrown) std::this_thread::yield();
                             std::this_thread::sleep_for(std::chrono::microseconds(100));
                         }
                         ++ran;
                     },
                     [&](size_t done) {
                         if (done < 50) return;
                         thrown = true;
                         throw BreakExec();
                     }),
                 BreakExec);
    EXPECT_GE(ran.load(), size_t{50});
    EXPECT_LT(ran.load(), size_t{1000});
}

// An exception from the work on a helper leaves ParallelFor on the calling thread, which
// stops taking items.
TEST(ParallelFor, ErrorOnAHelperReachesTheCaller) {
    std::atomic<bool> failed{false};
    EXPECT_THROW(ParallelFor(10000, 1, 2,
                             [&](size_t i, int worker) {
                                 if (worker != 0) {
                                     failed = true;
                                     throw std::runtime_error("helper failed");
                                 }
                                 // The calling thread's first item comes before the helpers start.
                                 while (i > 0 && !failed) std::this_thread::yield();
                             },
                             {}),
                 std::runtime_error);
    EXPECT_EQ(HelperCount(10, 256, 3), 0);
    EXPECT_LE(HelperCount(100000, 256, 3), 3);
    EXPECT_EQ(HelperCount(100000, 256, 0), 0);
}

}  // namespace
}  // namespace kestrova
