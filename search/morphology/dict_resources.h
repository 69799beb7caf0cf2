// The twelve dictionary resources of the lemmatizer: their ids, type and registered names.
#pragma once

#include "search/morphology/mem_file_registry.h"
#include "search/morphology/module_resources.h"

#include <array>
#include <functional>
#include <optional>

namespace kestrova {

struct DictResource {
    int id;
    const char* name;  // the name the lemmatizer opens it by
};

inline constexpr const char* kDictResourceType = "DICT";

// In registration order.
inline constexpr std::array<DictResource, 12> kDictResources = {{
    {152, "rus/chomoweight.bin"},
    {153, "rus/cwordweight.bin"},
    {154, "rus/fhomoweight.bin"},
    {155, "rus/fwordweight.bin"},
    {156, "rus/lhomoweight.bin"},
    {157, "rus/lwordweight.bin"},
    {158, "rus/morph.annot"},
    {159, "rus/morph.bases"},
    {160, "rus/morph.forms_autom"},
    {161, "rus/morph.options"},
    {162, "rus/npredict.bin"},
    {163, "rgramtab.tab"},
}};

// Finds a resource by id and type; the program's own resources by default.
using ResourceFinder = std::function<std::optional<ModuleResource>(int id, std::string_view type)>;

// Registers the twelve resources in table order. Throws std::runtime_error "morpho data:
// resource error" for a missing or empty resource, and the registry's error for a duplicate.
void RegisterDictResources(MemFileRegistry& registry, const ResourceFinder& finder);

}  // namespace kestrova
