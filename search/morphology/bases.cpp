#include "search/morphology/bases.h"

#include "search/morphology/cexpc.h"

namespace kestrova {

void Bases::Load(MemFile& file, const std::string& name) {
    std::uint32_t count = 0;
    if (file.ReadItems(&count, sizeof count, 1) != 1) throw CExpc(name + ": missing base count");
    text_.clear();
    offsets_.assign(1, 0);
    char base[256];
    for (std::uint32_t i = 0; i < count; ++i) {
        int length = file.ReadByte();
        if (length < 0 ||
            file.ReadItems(base, 1, static_cast<std::size_t>(length)) !=
                static_cast<std::size_t>(length) ||
            file.ReadByte() != 0) {
            throw CExpc(name + ": damaged base No " + std::to_string(i));
        }
        text_.append(base, static_cast<std::size_t>(length));
        offsets_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    text_.shrink_to_fit();
    offsets_.shrink_to_fit();
}

}  // namespace kestrova
