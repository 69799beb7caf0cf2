// One HTML file while a model is built from the pages: the file and what its head declares.
// A page's index is the position of its record in the list handed to the builders.
#pragma once

#include "model/page/page_meta.h"
#include "model/records.h"

namespace kestrova {

struct PageRecord {
    FileInfo file;  // path in the model's pool
    PageMeta meta;
};

}  // namespace kestrova
