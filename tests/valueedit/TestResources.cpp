#include "tests/valueedit/TestResources.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::shared_ptr<const CResourceModule> ValueEditResources() {
    static std::shared_ptr<const CResourceModule> module = [] {
        const std::filesystem::path root = KELO_SOURCE_DIR;
        ResourceIdNames names;
        std::vector<ResourceError> errors;
        for (const auto& entry : std::filesystem::directory_iterator(root / "resources/ids"))
            if (entry.path().extension() == ".h")
                names.ReadHeader(ReadFile(entry.path()), entry.path().string(), errors);
        ResourceSet set;
        ResourceScriptParser parser(&names, ResourceParseOptions{false});
        for (const char* script : {"resources/valueedit.rc", "resources/catalogue.rc"}) {
            if (!parser.Parse(ReadFile(root / script), script, set))
                throw std::runtime_error(script + std::string(": ") + parser.Errors().front().message);
        }
        return std::make_shared<const CResourceModule>(std::move(set));
    }();
    return module;
}

StringLoader ValueEditStrings() {
    auto module = ValueEditResources();
    return [module](int id) { return module->String(id); };
}
