#include "exec/exceptions.h"

namespace kestrova {

shutdown_exception::shutdown_exception() : std::runtime_error("shutdown") {}

BreakExec::BreakExec() : std::runtime_error("break") {}

SyncBreak::SyncBreak() : std::runtime_error("sync break") {}

}  // namespace kestrova
