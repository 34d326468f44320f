// The settings file and what the editor takes from it (its display set and its defined list): a
// file that reads gives settings whose text reads back to the same text.
#include "tests/fuzz/FuzzSupport.h"

#include "paramedit/DefinedList.h"
#include "paramedit/DisplaySet.h"
#include "paramedit/ParaEditState.h"
#include "shell/SettingsFile.h"

#include <algorithm>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "KeloServo.ini");
    ShellSettings settings;
    if (!ReadSettingsFile(path, 0, settings))
        return 0;

    // The editor's side, as the view hands the settings over.
    std::array<int, DisplayValueCount> values{};
    std::copy(settings.DisplaySettings.begin(), settings.DisplaySettings.end(), values.begin());
    EditorDisplaySet set;
    int tab = 0;
    DisplaySetFromValues(values, set, tab);
    DisplaySetTitle(set);
    DefinedList defined;
    defined.count = std::clamp(settings.DefiniteListSize, 0, DefinedListCapacity);
    for (int i = 0; i < defined.count; ++i) {
        defined.group[i] = settings.DefiniteGroup[i];
        defined.number[i] = settings.DefiniteNumber[i];
    }
    AddRemoveModel model(defined, [](std::string_view) { return true; });
    FuzzCheck(model.CustomList().size() <= static_cast<std::size_t>(defined.count),
              "the defined list grew in the dialog");

    const std::string text = SettingsText(settings, 0, 4);
    const std::string saved = FuzzScratchPath("saved.ini");
    std::ofstream(saved, std::ios::binary) << text;
    ShellSettings again;
    FuzzCheck(ReadSettingsFile(saved, 0, again), "written settings do not read");
    FuzzCheck(SettingsText(again, 0, 4) == text, "settings change through a write and a read");
    return 0;
}
