#pragma once
// Which parameters the editor's table shows: the display set (chosen groups, chosen control modes or
// the defined list), the control-mode membership of each parameter, the title of the display set,
// the tabs and the codes of the rows of a tab, and the rules of the display set dialog.
#include "catalogue/CatalogueContext.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class CKeloServoDoc;
struct DefinedList;

enum DisplayMode : int { DisplayGroups = 0, DisplayControlModes = 1, DisplayDefined = 2 };

// Group flags of the editor's display set.
enum DisplayGroupFlag : int {
    ShowAll,
    ShowSystem,   // Cn
    ShowTorque,   // Tn
    ShowSpeed,    // Sn
    ShowPosition, // Pn3 and Pn4
    ShowQuick,    // qn
    ShowDiDo,     // Hn
    ShowCiA402,   // En
    ShowTuning,   // tn
    ShowEcam,     // EC
    ShowMapping,  // MAb
    DisplayGroupFlagCount
};

// Control-mode flags and their mask bits.
enum DisplayModeFlag : int {
    ModeTorque,
    ModeSpeed,
    ModeInternalPosition,
    ModeExternalPulse,
    ModeTurret,
    DisplayModeFlagCount
};
enum : unsigned {
    ModeBitTorque = 0x1000,
    ModeBitSpeed = 0x100,
    ModeBitInternal = 0x10,
    ModeBitExternal = 0x1,
    ModeBitTurret = 0x10000,
    ModeBitsAll = 0x11111,
};

struct EditorDisplaySet {
    int mode = DisplayGroups;
    std::array<int, DisplayGroupFlagCount> groups{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::array<int, DisplayModeFlagCount> modes{1, 1, 1, 1, 1};
    unsigned mask = ModeBitsAll;
};

// The mask of the set control-mode flags.
unsigned ControlModeMask(const std::array<int, DisplayModeFlagCount>& modes);
// The control modes a parameter belongs to (mask bits); 0 for none.
unsigned ControlModeBits(std::string_view code);
// Whether the parameter's modes and the mask share a bit.
bool IsShownForControlModes(std::string_view code, unsigned mask);

// The display set's title ("All Parameter", "System+Speed Parameter", "Torque+Speed Control Mode").
std::string DisplaySetTitle(const EditorDisplaySet& set);

// The editor's tabs. Which optional groups the series has decides which tabs exist.
enum class EditorTab { Custom, Cn, Tn, Sn, Pn3, Pn4, qn, Hn, En, tn, EC, MAb, Compare };
struct EditorTabPresence {
    bool pn4 = true;
    bool en = true;
    bool ec = true;
    bool mab = true;
};
std::vector<EditorTab> EditorTabs(const EditorTabPresence& presence);
// Tab label ("Custom Display", "Cn0", ..., "Initial Value Compare Table").
std::string EditorTabLabel(EditorTab tab);

// The code of a defined-list entry (group id and number index); "" for an entry the list cannot hold.
std::string DefinedEntryCode(int groupId, int numberIndex);

// The codes of the rows that a tab shows, in row order. projectMode adds the newer groups on the
// custom tab (display modes 0 and 1) and on the last tab; the last tab lists the parameters whose
// value differs from the default.
std::vector<std::string> EditorRowCodes(EditorTab tab, const EditorTabPresence& presence,
                                        const EditorDisplaySet& set, const DefinedList& defined,
                                        const CKeloServoDoc& doc, const CatalogueContext& context,
                                        bool projectMode);

// The display set dialog ---------------------------------------------------------------------------

// Its 16 choice flags, bound to the check boxes 1217..1232 in this order.
enum DisplayChoiceFlag : int {
    ChoiceAll,
    ChoiceCn,
    ChoiceTn,
    Choiceqn,
    ChoiceSn,
    ChoicePn,
    ChoiceHn,
    ChoiceTorqueMode,
    ChoiceSpeedMode,
    ChoiceInternalMode,
    ChoiceExternalMode,
    ChoiceTurretMode,
    ChoiceEn,
    Choicetn,
    ChoiceEC,
    ChoiceMAb,
    DisplayChoiceFlagCount
};

// Availability flags of the dialog.
enum DisplayAvailability : int {
    AvailableEn,
    AvailableEC,
    AvailableMAb,
    AvailableInternalMode,
    AvailableExternalMode,
    AvailableTurretMode,
    DisplayAvailabilityCount
};

struct DisplaySetChoice {
    int type = DisplayGroups;
    std::array<int, DisplayChoiceFlagCount> flags{};
    std::array<bool, DisplayAvailability::DisplayAvailabilityCount> available{true, true, true,
                                                                              true, true, true};
};

struct DisplaySetControls {
    std::array<bool, DisplayChoiceFlagCount> enabled{};
    bool addRemove = false;
};

// All seven always-offered groups are chosen and every optional group is chosen or not available.
bool GroupChoiceComplete(const DisplaySetChoice& choice);
// Brings the flags in line with the display type and gives the controls' enabled states.
DisplaySetControls RefreshDisplaySet(DisplaySetChoice& choice);
// A click on one of the check boxes: toggles a group or a mode (a group completing the choice turns
// All on); All itself is toggled. Then refreshes.
DisplaySetControls ToggleDisplayChoice(DisplaySetChoice& choice, int flag);
// OK: an empty group choice means every available group, an empty mode choice every available mode.
void ConfirmDisplaySet(DisplaySetChoice& choice);

// Between the editor's display set and the dialog's flags. The dialog's result rebuilds the mask.
DisplaySetChoice ChoiceFromDisplaySet(const EditorDisplaySet& set, const EditorTabPresence& presence);
EditorDisplaySet DisplaySetFromChoice(const DisplaySetChoice& choice);
