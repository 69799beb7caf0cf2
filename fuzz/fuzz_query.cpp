// Queries of any text against a real knowledge base: in both index kinds, with and without
// the query language, and in titles only, FindTopics gives a topic set or fails with a
// SearchError (the search thread's "failed search"), never a crash. The model and
// its two indexes are built once, from a few generated pages, and shared by every input.
//
// Input: UTF-8 text, or, after a first byte 0xFF, raw UTF-16LE code units (lone surrogates
// included).
#include "exec/exec_control.h"
#include "model/model.h"
#include "model/model_loader.h"
#include "model/topic.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "search/searcher.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace kestrova;

void WritePage(const std::filesystem::path& file, const std::string& title,
               const std::string& body) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "<html><head><meta charset=\"utf-8\"><title>" << title
                                          << "</title></head><body>" << body << "</body></html>";
}

const std::filesystem::path& Root() {
    static const std::filesystem::path root =
        "/tmp/kestrova-fuzz-query-" + std::to_string(::getpid());
    return root;
}

void RemoveRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(Root(), ignored);
}

CountedPtr<IModel> BuildModel() {
    const std::filesystem::path& root = Root();
    std::filesystem::remove_all(root);
    std::atexit(RemoveRoot);
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    const std::filesystem::path kb = root / "kb";
    WritePage(
        kb / "law" / "contract.html", "Трудовой договор",
        "Трудовой договор заключается в письменной форме. Договором признаётся соглашение сторон.");
    WritePage(kb / "law" / "supply.html", "Договор поставки товаров",
              "По договору поставки поставщик обязуется передать товары; title:word a+b (скобки) "
              "[1990] {x}");
    WritePage(
        kb / "tech" / "ground.html", "Защитное заземление",
        "Заземление электроустановок: ГОСТ 12.1.030-81, сопротивление 4 Ом, ёмкость и емкость.");
    WritePage(kb / "about.html", "About the reference",
              "The quick brown fox jumps over the lazy dog; alpha beta gamma 3.14 e-mail "
              "user@example.org");
    const std::u16string folder = platform::NormalizePath(platform::PathFromNative(kb.string()));
    CountedPtr<IModel> model = LoadModelOnce(folder, true).model;
    NullExecControl control;
    if (model) model->BuildIndex(control);
    if (!model || !model->IsIndexReady()) {
        std::fprintf(stderr, "fuzz_query: the knowledge base in %s could not be built\n",
                     root.c_str());
        std::abort();
    }
    return model;
}

std::u16string QueryOf(const uint8_t* data, size_t size) {
    if (size > 0 && data[0] == 0xFF) {
        std::u16string units;
        for (size_t i = 1; i + 1 < size; i += 2)
            units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        return units;
    }
    return platform::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
}

bool HasSurrogates(const std::u16string& text) {
    for (const char16_t c : text) {
        if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CountedPtr<IModel> model = BuildModel();
    const std::u16string query = QueryOf(data, size);
    NullExecControl control;
    const uint32_t kOptions[] = {0,
                                 kSearchRelatedWords,
                                 kSearchQueryLanguage,
                                 kSearchRelatedWords | kSearchQueryLanguage,
                                 kSearchTitles,
                                 kSearchTitles | kSearchRelatedWords};
    for (const uint32_t options : kOptions) {
        try {
            CountedPtr<ITopicSet> found = model->FindTopics(query.c_str(), options, control);
            for (int32_t i = 0; i < found->GetCount(); ++i) found->GetItem(i)->GetPage();
        } catch (const SearchError&) {
            // A failed search, as the search thread reports it: a query-language syntax error,
            // or a character outside the basic plane that the library's query lexer refuses.
            // Plain text within the basic plane must always parse.
            if (!(options & kSearchQueryLanguage) && !HasSurrogates(query)) std::abort();
        }
    }
    return 0;
}
