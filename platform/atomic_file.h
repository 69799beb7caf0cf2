// Replacing a whole file so that a crash at any moment leaves either the old or the new
// contents, never a mix: the bytes go to a temporary file beside it, which is flushed to the
// device and then renamed over the target. Thread-safe; does not coordinate writers (callers
// that read, change and rewrite a file hold their own lock around the whole step).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrova::platform {

// Writes `bytes` as the new contents of `path`. Throws io_error naming the path on failure,
// leaving the old file as it was. The new file gets mode 0666 less the umask. Afterwards the
// temporary files of earlier writers of `path` that died before their rename (their process is
// gone and the file is over an hour old) are removed.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// The same for contents made piece by piece: `produce` is called once, with a function that
// writes one piece and answers false (writing nothing more) once a write has failed. Throws
// the io_error of the failed write (or of the creation or rename), leaving the old file as it
// was; an exception from `produce` leaves it as it was too.
using PieceWriter = std::function<bool(std::string_view)>;
void ReplaceFileWith(const std::string& path,
                     const std::function<void(const PieceWriter&)>& produce);

}  // namespace kestrova::platform
