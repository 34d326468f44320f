#include "framework/core/ResourceModule.h"

#include "framework/core/ResourceBinary.h"
#include "framework/core/ResourceLibraryFormat.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstddef>
#include <mutex>
#include <vector>

namespace {

struct ModuleState {
    std::mutex mutex;
    std::shared_ptr<const CResourceModule> current;
    // Modules that were current once: templates handed out from them may still be in use.
    std::vector<std::shared_ptr<const CResourceModule>> retired;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

void SetError(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
}

template <typename Map> auto FindIn(const Map& map, int id) -> const typename Map::mapped_type* {
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

// dlopen of a plain name searches the RUNPATH of the object that calls it. When something stands
// between us and the loader (the address sanitizer's dlopen wrapper does), the loader sees that
// wrapper as the caller and our RUNPATH ($ORIGIN: the program's folder) is skipped. So the program's
// own search list is walked first, in the loader's order, then the plain call is made as well.
void* OpenByPlainName(const std::string& name) {
    constexpr int kFlags = RTLD_NOW | RTLD_LOCAL;
    if (name.find('/') != std::string::npos)
        return dlopen(name.c_str(), kFlags);
    void* program = dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size{};
    if (program && dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0 && size.dls_size >= sizeof(Dl_serinfo)) {
        std::vector<std::max_align_t> buffer(size.dls_size / sizeof(std::max_align_t) + 1);
        auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
        *info = size;
        if (dlinfo(program, RTLD_DI_SERINFOSIZE, info) == 0 && dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
            for (unsigned i = 0; i < info->dls_cnt; ++i) {
                const std::string path = std::string(info->dls_serpath[i].dls_name) + "/" + name;
                if (access(path.c_str(), F_OK) != 0)
                    continue;
                if (void* handle = dlopen(path.c_str(), kFlags))
                    return handle;
            }
        }
    }
    return dlopen(name.c_str(), kFlags);
}

} // namespace

std::shared_ptr<const CResourceModule> CResourceModule::LoadLibrary(const std::string& name,
                                                                    std::string* error) {
    // Kept loaded for the life of the process (never dlclose'd): the script text is read in place.
    void* handle = OpenByPlainName(name);
    if (!handle) {
        const char* reason = dlerror();
        SetError(error, reason ? reason : "cannot load " + name);
        return nullptr;
    }
    auto function = reinterpret_cast<KeloResourceSetFunction>(dlsym(handle, kKeloResourceSetSymbol));
    const KeloResourceBlob* blob = function ? function() : nullptr;
    if (!blob) {
        SetError(error, name + " holds no resource set");
        return nullptr;
    }
    if (blob->version != kKeloResourceFormatVersion || (!blob->data && blob->size)) {
        SetError(error, name + " holds a resource set of another format");
        return nullptr;
    }
    ResourceSet set;
    std::string problem;
    if (!ReadResourceBinary(std::string_view(reinterpret_cast<const char*>(blob->data), blob->size), set,
                            &problem)) {
        SetError(error, name + ": " + problem);
        return nullptr;
    }
    return std::make_shared<const CResourceModule>(std::move(set));
}

std::shared_ptr<const CResourceModule> CResourceModule::FromScript(std::string_view text,
                                                                   std::string_view fileName,
                                                                   const ResourceIdNames* names,
                                                                   std::string* error) {
    ResourceSet set;
    ResourceScriptParser parser(names);
    if (!parser.Parse(text, fileName, set)) {
        SetError(error, parser.Errors().front().ToString());
        return nullptr;
    }
    return std::make_shared<const CResourceModule>(std::move(set));
}

const std::string& CResourceModule::String(int id) const {
    static const std::string empty;
    const std::string* text = FindIn(set_.strings, id);
    return text ? *text : empty;
}

const DialogTemplate* CResourceModule::Dialog(int id) const {
    return FindIn(set_.dialogs, id);
}
const MenuTemplate* CResourceModule::Menu(int id) const {
    return FindIn(set_.menus, id);
}
const AcceleratorTable* CResourceModule::Accelerators(int id) const {
    return FindIn(set_.accelerators, id);
}
const ToolbarTemplate* CResourceModule::Toolbar(int id) const {
    return FindIn(set_.toolbars, id);
}
const ImageResource* CResourceModule::Image(int id) const {
    return FindIn(set_.images, id);
}

bool AfxLoadResourceLibrary(const char* name) {
    auto module = CResourceModule::LoadLibrary(name ? name : kResourceLibraryName);
    if (!module)
        return false;
    AfxSetResourceModule(std::move(module));
    return true;
}

void AfxSetResourceModule(std::shared_ptr<const CResourceModule> module) {
    ModuleState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.current)
        state.retired.push_back(state.current);
    state.current = std::move(module);
}

std::shared_ptr<const CResourceModule> AfxGetResourceModule() {
    ModuleState& state = State();
    std::lock_guard lock(state.mutex);
    return state.current;
}

std::string LoadResString(int id) {
    auto module = AfxGetResourceModule();
    return module ? module->String(id) : std::string();
}

namespace {
// The current module is never destroyed while the process runs (see AfxSetResourceModule), so the
// pointers handed out outlive the shared_ptr copy taken here.
template <typename Record>
const Record* FromCurrent(const Record* (CResourceModule::*lookup)(int) const, int id) {
    auto module = AfxGetResourceModule();
    return module ? ((*module).*lookup)(id) : nullptr;
}
} // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    return FromCurrent(&CResourceModule::Dialog, id);
}
const MenuTemplate* FindMenu(int id) {
    return FromCurrent(&CResourceModule::Menu, id);
}
const AcceleratorTable* FindAccelerators(int id) {
    return FromCurrent(&CResourceModule::Accelerators, id);
}
const ToolbarTemplate* FindToolbar(int id) {
    return FromCurrent(&CResourceModule::Toolbar, id);
}
const ImageResource* FindImage(int id) {
    return FromCurrent(&CResourceModule::Image, id);
}

ScopedResourceModule::ScopedResourceModule(std::shared_ptr<const CResourceModule> module)
    : previous_(AfxGetResourceModule()) {
    AfxSetResourceModule(std::move(module));
}

ScopedResourceModule::~ScopedResourceModule() {
    AfxSetResourceModule(previous_);
}
