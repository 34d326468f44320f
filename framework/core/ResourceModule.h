#pragma once
// The program's resource module: the parsed resource set every lookup by id is answered from.
//
// At start-up the program loads the resource library by its plain name (RUNPATH $ORIGIN of the
// program finds it beside the executable) and makes it the current module; from then on strings,
// dialog templates, menus, accelerators, toolbars and images come from it. Tests make a module
// from a script text and make that one current instead.
//
// Pointers returned by the lookups stay valid for the whole process: a module that stops being
// current is kept alive, since windows built from it may still hold its templates.
#include "framework/core/ResourceScript.h"
#include "framework/core/ResourceTypes.h"

#include <memory>
#include <string>
#include <string_view>

inline constexpr const char* kResourceLibraryName = "libVimbra.so";

class CResourceModule {
public:
    explicit CResourceModule(ResourceSet set) : set_(std::move(set)) {}

    // Loads the library by the given name (a plain name searches the caller's RUNPATH), fetches
    // its resource set and parses it. nullptr on any failure (not found, no resource set, a set
    // that does not parse); the reason goes to *error when given, nothing is shown to the user.
    static std::shared_ptr<const CResourceModule> LoadLibrary(const std::string& name,
                                                              std::string* error = nullptr);

    // A module parsed from script text (numbers, or names from the optional id names). nullptr
    // when the script does not parse; "file:line: message" goes to *error.
    static std::shared_ptr<const CResourceModule> FromScript(std::string_view text,
                                                             std::string_view fileName = "script",
                                                             const ResourceIdNames* names = nullptr,
                                                             std::string* error = nullptr);

    // "" for an id without a string.
    const std::string& String(int id) const;
    bool HasString(int id) const { return set_.strings.count(id) != 0; }
    const DialogTemplate* Dialog(int id) const;
    const MenuTemplate* Menu(int id) const;
    const AcceleratorTable* Accelerators(int id) const;
    const ToolbarTemplate* Toolbar(int id) const;
    const ImageResource* Image(int id) const;

    const ResourceSet& Set() const { return set_; }

private:
    ResourceSet set_;
};

// Loads the named library and makes it the current module. false when it cannot be loaded (the
// current module is then left as it was); no message.
bool AfxLoadResourceLibrary(const char* name = kResourceLibraryName);

// Makes the module current (nullptr: no module, every lookup misses). The previous one stays alive.
void AfxSetResourceModule(std::shared_ptr<const CResourceModule> module);
std::shared_ptr<const CResourceModule> AfxGetResourceModule();

// Lookups in the current module. A missing id (or no module) gives "" or nullptr.
std::string LoadResString(int id);
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenu(int id);
const AcceleratorTable* FindAccelerators(int id);
const ToolbarTemplate* FindToolbar(int id);
const ImageResource* FindImage(int id);

// For tests: makes a module current for the scope and restores the previous one after.
class ScopedResourceModule {
public:
    explicit ScopedResourceModule(std::shared_ptr<const CResourceModule> module);
    ~ScopedResourceModule();
    ScopedResourceModule(const ScopedResourceModule&) = delete;
    ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;

private:
    std::shared_ptr<const CResourceModule> previous_;
};
