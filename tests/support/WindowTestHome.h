#pragma once
// What a test or benchmark that opens the program's windows stands on: a private home and temporary
// folder, so no file of a real installation is touched, and the resource library the windows are
// built from.
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class PrivateHome {
public:
    explicit PrivateHome(const std::string& prefix) {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return;
        path_ = pattern;
        setenv("HOME", path_.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    }
    ~PrivateHome() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    bool Ok() const { return !path_.empty(); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The Qt application and the resource library, loaded once per process; null when the library is
// not beside the program.
inline std::shared_ptr<const CResourceModule> ProgramResources() {
    EnsureQtApplication();
    static const std::shared_ptr<const CResourceModule> module =
        CResourceModule::LoadLibrary(kResourceLibraryName);
    return module;
}
