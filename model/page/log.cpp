#include "model/page/log.h"

#include "platform/codepage.h"

#include <cstdio>

namespace kestrova {

void ILog::WriteFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string line = FormatLogLine(format, args);
    va_end(args);
    WriteText(line);
}

std::string FormatLogLine(const char* format, va_list args) {
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.push_back(*p);
            continue;
        }
        const char kind = *++p;
        if (kind == '\0') break;
        if (kind == 'd') {
            out += std::to_string(va_arg(args, int));
        } else if (kind == 'u') {
            out += std::to_string(va_arg(args, unsigned));
        } else if (kind == 's') {
            const char* s = va_arg(args, const char*);
            out += s ? s : "(null)";
        } else if (kind == 'S') {
            const char16_t* s = va_arg(args, const char16_t*);
            out += s ? platform::EncodeText(platform::kCodePageAnsi, s) : "(null)";
        } else {
            out.push_back(kind);  // "%%" and anything unknown
        }
        if (out.size() >= kMaxLogLine) break;
    }
    if (out.size() > kMaxLogLine) out.resize(kMaxLogLine);
    return out;
}

}  // namespace kestrova
