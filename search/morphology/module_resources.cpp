#include "search/morphology/module_resources.h"

namespace kestrova {

std::optional<ModuleResource> FindModuleResource(int id, std::string_view type) {
    for (std::size_t i = 0; i < detail::kModuleResourceCount; ++i) {
        const detail::ModuleResourceEntry& e = detail::kModuleResources[i];
        if (e.id == id && type == e.type) {
            return ModuleResource{e.begin, static_cast<std::size_t>(e.end - e.begin)};
        }
    }
    return std::nullopt;
}

}  // namespace kestrova
