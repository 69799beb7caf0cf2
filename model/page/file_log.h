// ILog on a text file: created anew (replacing any previous file), every line written at once
// with CR LF, UTF-8 text. A file that cannot be created makes a log that writes nothing.
// Not thread-safe: one writer at a time.
#pragma once

#include "model/page/log.h"
#include "platform/file.h"

#include <string>

namespace kestrova {

class FileLog final : public ILog {
public:
    // Creates (or truncates) the file at the native path.
    explicit FileLog(const std::string& path);
    ~FileLog() override;

    void Write(std::u16string_view text) override;
    void WriteText(std::string_view bytes) override;

    // False when the file could not be created (the log then writes nothing).
    bool IsOpen() const { return file_.IsOpen(); }

private:
    platform::File file_;
};

}  // namespace kestrova
