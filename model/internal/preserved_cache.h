// The model cache preserved.bin: a flat dump of a built model in array order, read back in
// one sequential pass (docs/preserved-cache.md gives the format byte for byte).
//
// Runs on the loader thread. Other processes are kept out by the load lock set that the
// caller holds; inside the file, readers share and a writer is alone (see OpenWithRetry).
#pragma once

#include "model/open_retry.h"

namespace kestrova {

class ILog;
class IExecControl;
class Model_original_impl_;

inline constexpr uint32_t kCacheMagic = 0x5056534B;  // "KSVP"
inline constexpr uint32_t kCacheVersion = 2;

// Writes the model's cache file and logs the completion line; when that fails, logs what
// failed instead ("can't open preserved file for writing", "preserved saving: ...") and sets
// the model's cacheSaveFailure. Never throws io_error.
// Throws BreakExec when the control asks to stop; the partial file then fails its next read.
void SaveCache(Model_original_impl_& model, IExecControl& control, ILog& log,
               const OpenRetry& retry = kCacheOpenRetry);

// Fills the empty model from its cache file, writing the lines of this read to a new
// model.log. False, with the reason logged, when the file is missing, locked, of another
// format or version, cut short, unreadable or damaged (a count or index out of range, a
// contents tree that is not a tree); the partly filled model must then be dropped.
// Throws BreakExec when the control asks to stop.
bool LoadCache(Model_original_impl_& model, IExecControl& control,
               const OpenRetry& retry = kCacheOpenRetry);

}  // namespace kestrova
