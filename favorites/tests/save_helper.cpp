// A process that saves the favorites again and again, alternating between two large trees,
// and answers "saved N" on standard output after each save, until it is killed. It uses the
// base folder of its XDG_DATA_HOME.
#include "favorites/tests/favorites_test_util.h"

#include <cstdio>

int main() {
    using namespace kestrova;
    CountedPtr<IBookmarkSet> sets[2] = {CreateBookmarkSet(u"/nonexistent"),
                                        CreateBookmarkSet(u"/nonexistent")};
    for (int i = 0; i < 2; ++i) test::BuildLargeTree(*sets[i], i);
    for (long n = 0;; ++n) {
        if (!sets[n % 2]->Save()) {
            std::printf("failed\n");
            return 1;
        }
        std::printf("saved %ld\n", n);
        std::fflush(stdout);
    }
}
