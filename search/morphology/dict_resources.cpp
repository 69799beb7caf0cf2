#include "search/morphology/dict_resources.h"

#include <stdexcept>

namespace kestrova {

void RegisterDictResources(MemFileRegistry& registry, const ResourceFinder& finder) {
    for (const DictResource& r : kDictResources) {
        std::optional<ModuleResource> found = finder(r.id, kDictResourceType);
        if (!found || found->data == nullptr || found->size == 0) {
            throw std::runtime_error("morpho data: resource error");
        }
        registry.Register(r.name, found->data, found->size);
    }
}

}  // namespace kestrova
