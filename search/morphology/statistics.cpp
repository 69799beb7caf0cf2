#include "search/morphology/statistics.h"

namespace kestrova {
namespace {

// Reads records of N integers until the data end; false on a partial record.
template <int N, class Store>
bool ReadRecords(MemFile& file, Store store) {
    while (true) {
        std::int32_t record[N];
        std::size_t got = file.ReadItems(record, sizeof(std::int32_t), N);
        if (got == 0) return true;
        if (got != N) return false;
        store(record);
    }
}

}  // namespace

bool Statistics::Load(MemFile& homoweight, MemFile& wordweight) {
    forms_.clear();
    models_.clear();
    bool ok = ReadRecords<3>(homoweight, [this](const std::int32_t* r) {
        forms_[Key(static_cast<std::uint32_t>(r[0]), static_cast<std::uint32_t>(r[1]))] = r[2];
    });
    ok = ok && ReadRecords<2>(wordweight, [this](const std::int32_t* r) {
             models_[static_cast<std::uint32_t>(r[0])] = r[1];
         });
    loaded_ = ok;
    return ok;
}

std::int32_t Statistics::Weight(std::uint32_t model, std::uint32_t item) const {
    if (auto it = forms_.find(Key(model, item)); it != forms_.end()) return it->second;
    if (auto it = models_.find(model); it != models_.end()) return it->second;
    return 0;
}

}  // namespace kestrova
