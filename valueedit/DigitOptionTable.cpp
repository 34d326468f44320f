#include "valueedit/DigitOptionTable.h"

#include "resources/ids/valueedit.h"

#include <vector>

namespace {

// {description, first option, count, hex entries, if visible, first value, needs control mode}
const DigitOptionRow kRows[] = {
    {"Cn004", {{45000, 45001, 2, false, false, 0, false}, {}, {}, {}}},
    {"Cn008", {{45003, 45004, 6, false, false, 0, false}, {}, {}, {}}},
    {"Cn009",
     {{45010, 45011, 3, false, false, 0, false},
      {45014, 45015, 2, false, true, 0, false},
      {45017, 45018, 5, false, true, 0, false},
      {45023, 45024, 3, false, true, 0, true}}},
    {"Cn030",
     {{0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false}}},
    {"Cn041",
     {{45027, 45028, 3, false, false, 0, false},
      {},
      {45031, 45032, 2, false, true, 0, false},
      {45034, 45035, 2, false, true, 0, false}}},
    {"Cn078", {{45037, 45038, 2, false, true, 0, false}, {}, {45040, 45041, 6, false, false, 0, false}, {}}},
    {"Cn084", {{}, {}, {}, {45047, 45048, 2, false, false, 0, false}}},
    {"Cn090", {{}, {}, {}, {45050, 45051, 2, false, false, 0, false}}},
    {"Cn097",
     {{45053, 45054, 2, false, false, 0, false},
      {45056, 45057, 2, false, true, 0, false},
      {45059, 45060, 2, false, true, 0, false},
      {45062, 45063, 2, false, true, 0, false}}},
    {"Sn205", {{45065, 45066, 4, false, true, 0, false}, {45070, 45071, 2, false, true, 0, false}, {}, {}}},
    {"Pn332", {{45073, 45074, 3, false, true, 0, false}, {}, {}, {45077, 45078, 2, false, true, 0, false}}},
    {"tn830",
     {{45080, 45081, 3, false, false, 1, false},
      {},
      {45084, 45085, 2, false, false, 0, false},
      {45087, 45088, 4, false, false, 1, false}}},
    {"EC902",
     {{45092, 45093, 2, false, false, 0, false},
      {45095, 45096, 2, false, false, 0, false},
      {45098, 45099, 2, false, false, 0, false},
      {45101, 45102, 2, false, false, 0, false}}},
    {"Cn091", {{}, {}, {}, {45104, 45105, 3, false, false, 0, false}}},
    {"Pn315",
     {{45108, 45179, 3, false, false, 0, false},
      {45109, 45182, 2, false, true, 0, false},
      {45110, 0, 16, true, true, 0, false},
      {45111, 0, 16, true, true, 0, false}}},
    {"Pn346",
     {{45112, 0, 16, true, true, 0, false},
      {45113, 0, 16, true, false, 0, false},
      {45114, 0, 16, true, false, 0, false},
      {45115, 0, 16, true, true, 0, false}}},
    {"Pn350", {{45116, 0, 16, true, true, 0, false}, {45117, 0, 16, true, false, 0, false}, {}, {}}},
    {"Pn381", {{}, {}, {45118, 45192, 3, false, false, 0, false}, {}}},
    {"Tn101",
     {{45119, 45184, 4, false, false, 0, false},
      {45120, 45188, 2, false, true, 0, false},
      {45121, 45190, 2, false, true, 0, false},
      {}}},
    {"En709", {{45122, 0, 16, true, false, 0, false}, {45123, 0, 16, true, true, 0, false}, {}, {}}},
    {"tn837",
     {{45124, 0, 16, true, false, 0, false},
      {45125, 0, 16, true, false, 0, false},
      {45126, 0, 16, true, false, 0, false},
      {}}},
    {"tn845", {{45127, 0, 16, true, false, 0, false}, {}, {}, {}}},
    {"onT07", {{}, {}, {}, {45128, 0, 16, true, false, 0, false}}},
    {"onT08", {{}, {45129, 0, 16, true, false, 0, false}, {}, {}}},
    {"onT10",
     {{45130, 0, 16, true, false, 0, false},
      {45131, 0, 16, true, false, 0, false},
      {45132, 0, 16, true, false, 0, false},
      {}}},
    {"onT14",
     {{45133, 0, 16, true, false, 0, false},
      {45134, 0, 16, true, false, 0, false},
      {45135, 0, 16, true, false, 0, false},
      {}}},
    {"onS02", {{}, {45136, 0, 16, true, false, 0, false}, {}, {}}},
    {"onS06", {{45137, 0, 16, true, false, 0, false}, {45138, 0, 16, true, false, 0, false}, {}, {}}},
    {"onS08", {{45139, 0, 16, true, false, 0, false}, {45140, 0, 16, true, false, 0, false}, {}, {}}},
    {"onS11", {{45141, 0, 16, true, false, 0, false}, {45142, 0, 16, true, false, 0, false}, {}, {}}},
    {"onC02", {{45143, 0, 16, true, false, 0, false}, {}, {}, {}}},
    {"onC09", {{45144, 0, 16, true, false, 0, false}, {}, {}, {}}},
    {"onC12",
     {{45124, 0, 16, true, false, 0, false},
      {45145, 0, 16, true, false, 0, false},
      {45146, 0, 16, true, false, 0, false},
      {}}},
    {"onC18", {{45147, 0, 16, true, false, 0, false}, {45148, 0, 16, true, false, 0, false}, {}, {}}},
    {"onC19", {{}, {}, {45149, 0, 16, true, false, 0, false}, {45150, 0, 16, true, false, 0, false}}},
    {"onC30", {{}, {45151, 0, 16, true, false, 0, false}, {45152, 0, 16, true, false, 0, false}, {}}},
    // onC42 is tn830's twin: the same word, so the same option texts.
    {"onC42",
     {{45153, 45081, 3, false, false, 1, false},
      {45151, 0, 16, true, false, 0, false},
      {45154, 45085, 2, false, false, 0, false},
      {45155, 45088, 4, false, false, 1, false}}},
    {"onC54", {{45156, 0, 16, true, false, 0, false}, {45157, 0, 16, true, false, 0, false}, {}, {}}},
    {"onC59", {{45158, 0, 16, true, false, 0, false}, {}, {}, {}}},
    {"onC60", {{}, {45159, 0, 16, true, false, 0, false}, {}, {}}},
    {"onC61",
     {{45160, 0, 16, true, false, 0, false},
      {45161, 0, 16, true, false, 0, false},
      {45162, 0, 16, true, false, 0, false},
      {45163, 0, 16, true, false, 0, false}}},
    {"ono19", {{}, {}, {}, {45164, 0, 16, true, false, 0, false}}},
    {"ono23",
     {{45165, 0, 16, true, false, 0, false},
      {45166, 0, 16, true, false, 0, false},
      {},
      {45167, 0, 16, true, false, 0, false}}},
    {"ono24", {{45168, 0, 16, true, false, 0, false}, {}, {}, {45169, 0, 16, true, false, 0, false}}},
    {"ono26",
     {{45170, 0, 16, true, false, 0, false},
      {45171, 0, 16, true, false, 0, false},
      {45172, 0, 16, true, false, 0, false},
      {}}},
    {"onA01",
     {{45173, 0, 16, true, false, 0, false},
      {45174, 0, 16, true, false, 0, false},
      {45175, 0, 16, true, false, 0, false},
      {45176, 0, 16, true, false, 0, false}}},
    {"onE01", {{45177, 0, 16, true, false, 0, false}, {}, {}, {45178, 0, 16, true, false, 0, false}}},
    {"tn832",
     {{0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false}}},
    {"onC37",
     {{0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false},
      {0, 0, 16, true, false, 0, false}}},
};

} // namespace

const DigitOptionRow* FindDigitOptionRow(std::string_view code) {
    if (code == "Pn314")
        code = "Cn004";
    for (const auto& row : kRows)
        if (code == row.code)
            return &row;
    return nullptr;
}

DigitOptionLayout BuildDigitOptions(std::string_view code, int value, const OptionVisibility& visible,
                                    int controlMode, const StringLoader& load) {
    DigitOptionLayout layout;
    layout.valueText = FormatHexValue(value);
    // The two flags the fill derives from the drive's control mode.
    const bool notSpeedOrPosition = controlMode != 11 && controlMode != 12;
    const bool notTorque = controlMode != 13;
    const DigitOptionRow* row = FindDigitOptionRow(code);
    std::vector<FieldCombo> combos;
    for (int n = 0; n < 4; ++n) {
        FieldCombo combo;
        combo.controlId = IDC_VE_COMBO0 + n;
        combo.shift = 4 * n;
        layout.digitLabels[static_cast<std::size_t>(n)] = std::string(code) + "." + std::to_string(n);
        const DigitOptionSpec spec = row ? row->digits[static_cast<std::size_t>(n)] : DigitOptionSpec{};
        const bool listed = spec.hexEntries || spec.optionCount > 0;
        bool offered = listed;
        if (offered && spec.ifVisible)
            offered = visible ? visible(code, n) : true;
        if (offered && spec.needsControlMode)
            offered = notSpeedOrPosition && notTorque;
        combo.enabled = offered;
        if (offered) {
            if (spec.descriptionId && load)
                layout.descriptions[static_cast<std::size_t>(n)] = load(spec.descriptionId);
            combo.entries = spec.hexEntries ? HexEntries(spec.firstValue)
                                            : LoadOptions({spec.firstOptionId, spec.optionCount}, load);
            for (std::size_t k = 0; spec.firstValue != 0 && k < combo.entries.size(); ++k)
                combo.entryValues.push_back(spec.firstValue + static_cast<int>(k));
        }
        combos.push_back(std::move(combo));
    }
    layout.composer = DigitComposer(std::move(combos), value);
    return layout;
}
