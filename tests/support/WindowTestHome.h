#pragma once
// What a test or benchmark that opens the program's windows stands on: a private home and temporary
// folder, so no file of a real installation is touched, and the resource library the windows are
// built from.
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "tests/support/PrivateHome.h"

#include <memory>

// The Qt application and the resource library, loaded once per process; null when the library is
// not beside the program.
inline std::shared_ptr<const CResourceModule> ProgramResources() {
    EnsureQtApplication();
    static const std::shared_ptr<const CResourceModule> module =
        CResourceModule::LoadLibrary(kResourceLibraryName);
    return module;
}
