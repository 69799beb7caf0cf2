// Reading arrays of fixed-size records from a dictionary file, with the checks and messages
// of the lemmatizer's binary sections.
#pragma once

#include "search/morphology/cexpc.h"
#include "search/morphology/mem_file.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <vector>

namespace kestrova {

// Replaces `out` with `count` records read from `file`. Throws CExpc when the file is not
// opened in binary mode, the memory cannot be had, or the data end before the last record
// (naming the 0-based number of the first record missing).
template <class T>
void ReadVectorInner(MemFile& file, std::vector<T>& out, std::size_t count) {
    char message[128];
    if (!file.IsBinary()) throw CExpc("ReadVectorInner: File is not opened in binary mode!");
    out.clear();
    try {
        if (count > out.max_size()) throw std::length_error("count");
        // The rest grows as the records arrive, so a damaged count costs no memory.
        out.reserve(std::min<std::size_t>(count, (std::size_t{64} << 20) / sizeof(T)));
    } catch (const std::exception&) {
        std::snprintf(message, sizeof message, "cannot allocate %u bytes in ReadVectorInner",
                      static_cast<unsigned>(count * sizeof(T)));
        throw CExpc(message);
    }
    // Reads in chunks, so that a count larger than the data never touches all the memory.
    constexpr std::size_t kChunk = 1 << 16;
    while (out.size() < count) {
        std::size_t have = out.size();
        std::size_t want = std::min(kChunk, count - have);
        out.resize(have + want);
        std::size_t got = file.ReadItems(out.data() + have, sizeof(T), want);
        if (got < want) {
            std::snprintf(message, sizeof message, "cannot read %i item in ReadVectorInner",
                          static_cast<int>(have + got));
            out.resize(have + got);
            throw CExpc(message);
        }
    }
}

}  // namespace kestrova
