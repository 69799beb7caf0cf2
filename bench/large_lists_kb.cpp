#include "bench/large_lists_kb.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace kestrova::bench {
namespace fs = std::filesystem;

void WriteLargeListsKb(const fs::path& dir) {
    fs::create_directories(dir);
    char name[32];
    char keyword[48];
    for (int page = 0; page < kLargeListPages; ++page) {
        std::snprintf(name, sizeof name, "p%05d.html", page);
        std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
        out << "<html><head><meta charset=\"utf-8\"><title>Страница " << page << "</title>\n"
            << "<meta chapter=\"Большой раздел\">\n<meta content=\"Страница " << page
            << "\" order=\"" << page + 1 << "\">\n<meta name=\"keywords\" content=\"";
        for (int k = 0; k < kKeywordsPerPage; ++k) {
            std::snprintf(keyword, sizeof keyword, "термин %06d", page * kKeywordsPerPage + k);
            out << (k ? ", " : "") << keyword;
        }
        out << "\">\n</head><body><p>Текст страницы " << page << ".</p></body></html>\n";
        if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
    }
}

std::string AnyPage(const fs::path& dir) {
    std::vector<fs::path> pages;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file() && e.path().extension() == ".html") pages.push_back(e.path());
    }
    if (pages.empty()) throw std::runtime_error("no page under " + dir.string());
    return std::min_element(pages.begin(), pages.end())->string();
}

}  // namespace kestrova::bench
