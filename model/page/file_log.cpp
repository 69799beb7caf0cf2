#include "model/page/file_log.h"

#include "platform/codepage.h"

namespace kestrova {

FileLog::FileLog(const std::string& path) {
    file_.Open(path, platform::File::Access::kAppendShared);
}

FileLog::~FileLog() = default;

void FileLog::Write(std::u16string_view text) {
    WriteText(platform::EncodeText(platform::kCodePageAnsi, text));
}

void FileLog::WriteText(std::string_view bytes) {
    if (!file_.IsOpen()) return;
    // One write per line, so that lines of a log never interleave.
    std::string line(bytes);
    line += "\r\n";
    file_.Write(line.data(), line.size());
}

}  // namespace kestrova
