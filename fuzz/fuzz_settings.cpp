// The settings file parser on arbitrary bytes: it must never fail, and what it read must come
// back unchanged and undamaged through the writer.
#include "platform/settings_format.h"

#include <cstdlib>

using namespace kestrova::platform;

namespace {

bool Same(const SettingsData& a, const SettingsData& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (size_t k = 0; k < a.keys.size(); ++k) {
        const SettingsKeyData& x = a.keys[k];
        const SettingsKeyData& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size()) return false;
        for (size_t v = 0; v < x.values.size(); ++v) {
            const SettingsValue& p = x.values[v];
            const SettingsValue& q = y.values[v];
            if (p.name != q.name || p.type != q.type || p.dword != q.dword || p.text != q.text)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SettingsData first = ParseSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    SettingsData second = ParseSettings(SerializeSettings(first));
    if (second.damaged || !Same(first, second)) std::abort();
    return 0;
}
