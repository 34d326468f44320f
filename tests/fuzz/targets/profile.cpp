// The per-user profile (ini sections and entries): whatever loads can be asked for and saved.
#include "tests/fuzz/FuzzSupport.h"

#include "framework/core/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "profile.ini");
    CProfile profile(path);
    profile.Load();
    profile.GetString("Recent File List", "File1");
    profile.GetInt("Settings", "PreviewPages", 1);
    profile.WriteString("Recent File List", "File1", "/tmp/a.zpf");
    FuzzCheck(profile.Save(), "a loaded profile cannot be saved");
    CProfile again(path);
    FuzzCheck(again.Load(), "a saved profile does not load");
    FuzzCheck(again.GetString("Recent File List", "File1") == "/tmp/a.zpf", "a saved entry is lost");
    return 0;
}
