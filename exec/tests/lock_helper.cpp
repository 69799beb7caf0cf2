// A process that holds a named lock set for the cross-process tests. It reads one command
// per line from standard input, carries it out (waiting as long as the lock needs) and then
// answers one line on standard output:
//   any         -> "any I"        (AcquireAny obtained mutex I)
//   all         -> "all"          (AcquireAll returned)
//   release     -> "released"     (the mutex of the last "any" given back)
//   releaseall  -> "releasedall"
// Arguments: PREFIX FOLDER. It ends at the end of its input.
#include "exec/exceptions.h"
#include "exec/named_lock_set.h"
#include "platform/codepage.h"

#include <cstdio>
#include <iostream>
#include <string>

using namespace kestrova;

namespace {

std::string Carry(NamedLockSet& set, platform::NamedMutex*& reader, const std::string& command) {
    if (command == "any") {
        reader = &set.AcquireAny();
        for (int i = 0; i < set.Count(); ++i) {
            if (&set.Mutex(i) == reader) return "any " + std::to_string(i);
        }
    } else if (command == "all") {
        set.AcquireAll();
        return "all";
    } else if (command == "release") {
        return reader != nullptr && NamedLockSet::Release(*reader) ? "released" : "not held";
    } else if (command == "releaseall") {
        set.ReleaseAll();
        return "releasedall";
    }
    return "unknown command";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PREFIX FOLDER\n", argv[0]);
        return 2;
    }
    platform::ManualResetEvent stop;
    NamedLockSet set(platform::Utf8ToUtf16(argv[1]), platform::Utf8ToUtf16(argv[2]), kLockSetSize,
                     stop);
    platform::NamedMutex* reader = nullptr;
    std::string command;
    while (std::getline(std::cin, command)) {
        std::string answer;
        try {
            answer = Carry(set, reader, command);
        } catch (const std::exception& error) {
            answer = std::string("error: ") + error.what();
        }
        std::cout << answer << std::endl;
    }
    return 0;
}
