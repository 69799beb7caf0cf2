// Runs this benchmark's own program as a child process in one of its measuring modes.
#pragma once

#include <string>
#include <vector>

namespace kestrova::bench {

// Starts `program` with `args` and returns the milliseconds from just before the start to the
// child's line "ready" on its standard output; the child is then ended. -1 when the child ends
// without that line.
// The lines the child printed before "ready" go to `output` when given.
double TimeChildUntilReady(const char* program, const std::vector<std::string>& args,
                           std::vector<std::string>* output = nullptr);

// Runs `program` with `args` to its end, passing its standard output through. False when it
// could not start or did not end with status 0.
bool RunChild(const char* program, const std::vector<std::string>& args);

}  // namespace kestrova::bench
