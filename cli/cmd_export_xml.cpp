// kestrova-cli export-xml: writes the whole model of a knowledge base as XML.
#include "cli/cli_model.h"
#include "cli/command.h"

#include "platform/io_error.h"
#include "platform/path.h"

#include <cstring>
#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct ExportOptions {
    std::string folder;
    std::string file;
};

int RunExport(const ExportOptions& o) {
    if (!RequireFolder("export-xml", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("export-xml", o.folder, false);
    if (!result.model) return kStatusFailed;
    try {
        const std::u16string path = platform::NormalizePath(platform::PathFromNative(o.file));
        result.model->ExportXml(path.c_str());
    } catch (const platform::io_error& e) {
        std::cerr << "kestrova-cli export-xml: " << o.file << ": " << e.what() << "\n"
                  << o.file << ": " << (e.code() != 0 ? std::strerror(e.code()) : "write failed")
                  << "\n";
        return kStatusFailed;
    } catch (const std::exception& e) {
        std::cerr << "kestrova-cli export-xml: " << o.file << ": " << e.what() << "\n";
        return kStatusFailed;
    }
    return kStatusOk;
}

auto options = std::make_shared<ExportOptions>();

CommandRegistration registration({
    "export-xml",
    "write the whole model of a knowledge base as an XML file",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_option("file", options->file, "the XML file to write (replaced when it exists)")
            ->required();
    },
    [] { return RunExport(*options); },
});

}  // namespace
}  // namespace kestrova::cli
