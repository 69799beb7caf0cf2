#pragma once
// Spreads independent items of work over the calling thread and a few helper threads, for long
// loops whose items cost about the same (reading the pages of a folder). The calling thread
// takes part, alone reports after each of its items, and alone may stop the loop.

#include <cstddef>
#include <functional>

namespace kestrova {

// Items in [0, count) go out in chunks of `chunk`, in increasing order, to whichever thread
// asks next; `work` (item, worker) runs once per item, with worker 0 for the calling thread
// and 1..helpers for the others, so that callers can keep state per worker. After each item of
// its own the calling thread runs `afterEach` (items finished so far, on all threads); an
// exception from it stops the loop: no item is started afterwards, the helpers finish the item
// in hand, and the exception leaves ParallelFor. An exception from `work` does the same (the
// first one seen wins). The calling thread takes the first chunk before the helpers start, so
// it runs `afterEach` at least once when `count` > 0. Returns when every started item has
// finished and every helper has ended.
void ParallelFor(size_t count, size_t chunk, int helpers,
                 const std::function<void(size_t, int)>& work,
                 const std::function<void(size_t)>& afterEach);

// How many helper threads a loop of `count` items should use beside the calling thread: none
// for short loops, otherwise one fewer than the processors, at most `most`.
int HelperCount(size_t count, size_t worthwhile, int most);

}  // namespace kestrova
