#include "paramedit/DisplaySet.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "paramedit/DefinedList.h"
#include "shell/SettingsFile.h"

#include <initializer_list>

namespace {

constexpr unsigned T = ModeBitTorque, S = ModeBitSpeed, I = ModeBitInternal, X = ModeBitExternal,
                   R = ModeBitTurret;

bool In(int n, std::initializer_list<int> list) {
    for (int v : list)
        if (v == n)
            return true;
    return false;
}

bool Between(int n, int low, int high) {
    return n >= low && n <= high;
}

unsigned CnBits(int n) {
    if (!Between(n, 1, 99))
        return 0;
    if (In(n, {4, 7}))
        return T | S;
    if (Between(n, 13, 25) || n == 32 || Between(n, 59, 65))
        return S | I | X | R;
    if (n == 33)
        return I | X | R;
    if (Between(n, 45, 47))
        return X;
    if (Between(n, 48, 50))
        return S | I | X;
    if (n == 58 || Between(n, 66, 77))
        return I | R;
    if (n == 88)
        return I | X;
    if (Between(n, 89, 93))
        return 0;
    return ModeBitsAll;
}

unsigned Pn3Bits(int n) {
    if (n > 90)
        return I;
    if (Between(n, 1, 5) || n == 14 || Between(n, 45, 49) || In(n, {54, 84, 85}))
        return I | X;
    if (In(n, {16, 57, 58}))
        return ModeBitsAll;
    if (In(n, {22, 23}) || Between(n, 32, 34))
        return I | R;
    if (Between(n, 24, 27) || In(n, {31, 35, 59, 60}) || Between(n, 78, 80))
        return R;
    if (n == 28 || Between(n, 50, 53) || n == 55 || Between(n, 63, 77) || n == 81)
        return I;
    if (n == 56 || Between(n, 86, 90))
        return X;
    return I | X | R;
}

unsigned tnBits(int n) {
    if (In(n, {44, 62, 63}) || Between(n, 32, 36) || Between(n, 48, 54))
        return I | X | R;
    if (Between(n, 45, 47))
        return S | I | X;
    if (n == 57)
        return ModeBitsAll;
    if (Between(n, 26, 63))
        return S | I | X | R;
    return 0;
}

// Words of the title.
std::string JoinFlags(std::initializer_list<std::pair<bool, const char*>> parts) {
    std::string text;
    for (const auto& [set, word] : parts) {
        if (!set)
            continue;
        if (!text.empty())
            text += "+";
        text += word;
    }
    return text;
}

// The catalogue groups of the classic walk, each with its tab and its display-set flag.
struct WalkGroup {
    ParamGroup group;
    EditorTab tab;
    int flag;
};
constexpr WalkGroup ClassicWalk[] = {
    {GroupCn, EditorTab::Cn, ShowSystem},     {GroupTn, EditorTab::Tn, ShowTorque},
    {GroupSn, EditorTab::Sn, ShowSpeed},      {GroupPn3, EditorTab::Pn3, ShowPosition},
    {GroupPn4, EditorTab::Pn4, ShowPosition}, {Groupqn, EditorTab::qn, ShowQuick},
    {GroupHn, EditorTab::Hn, ShowDiDo},       {GroupEn, EditorTab::En, ShowCiA402},
    {Grouptn, EditorTab::tn, ShowTuning},     {GroupEC, EditorTab::EC, ShowEcam},
    {GroupMAb, EditorTab::MAb, ShowMapping},
};
constexpr ParamGroup NewerWalk[] = {GrouponT, GrouponS, Groupond, GrouponC, Groupono, GrouponE, GrouponA};

bool Present(EditorTab tab, const EditorTabPresence& presence) {
    switch (tab) {
    case EditorTab::Pn4:
        return presence.pn4;
    case EditorTab::En:
        return presence.en;
    case EditorTab::EC:
        return presence.ec;
    case EditorTab::MAb:
        return presence.mab;
    default:
        return true;
    }
}

constexpr int AlwaysOffered[] = {ChoiceCn, ChoiceTn, Choiceqn, ChoiceSn, ChoicePn, ChoiceHn, Choicetn};
struct Optional {
    int flag;
    int availability;
};
constexpr Optional OptionalGroups[] = {
    {ChoiceEn, AvailableEn}, {ChoiceEC, AvailableEC}, {ChoiceMAb, AvailableMAb}};
constexpr Optional OptionalModes[] = {{ChoiceInternalMode, AvailableInternalMode},
                                      {ChoiceExternalMode, AvailableExternalMode},
                                      {ChoiceTurretMode, AvailableTurretMode}};
constexpr int GroupChoices[] = {ChoiceCn, ChoiceTn, Choiceqn, ChoiceSn, ChoicePn,
                                ChoiceHn, ChoiceEn, Choicetn, ChoiceEC, ChoiceMAb};
constexpr int ModeChoices[] = {ChoiceTorqueMode, ChoiceSpeedMode, ChoiceInternalMode, ChoiceExternalMode,
                               ChoiceTurretMode};

// Editor flag <-> dialog flag.
constexpr std::pair<int, int> GroupFlagPairs[] = {
    {ShowAll, ChoiceAll},     {ShowSystem, ChoiceCn}, {ShowTorque, ChoiceTn},   {ShowSpeed, ChoiceSn},
    {ShowPosition, ChoicePn}, {ShowQuick, Choiceqn},  {ShowDiDo, ChoiceHn},     {ShowCiA402, ChoiceEn},
    {ShowTuning, Choicetn},   {ShowEcam, ChoiceEC},   {ShowMapping, ChoiceMAb},
};

} // namespace

unsigned ControlModeMask(const std::array<int, DisplayModeFlagCount>& modes) {
    const unsigned bits[DisplayModeFlagCount] = {T, S, I, X, R};
    unsigned mask = 0;
    for (int i = 0; i < DisplayModeFlagCount; ++i)
        if (modes[static_cast<std::size_t>(i)])
            mask |= bits[i];
    return mask;
}

unsigned ControlModeBits(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    if (index < 0)
        return 0;
    const int n = index % 100;
    switch (ParamGroupOfIndex(index)) {
    case GroupCn:
        return CnBits(n);
    case GroupPn3:
        return Pn3Bits(n);
    case GroupPn4:
        return I;
    case GroupSn:
        return Between(n, 11, 14) ? (S | I | X | R) : n == 26 ? (T | S) : ModeBitsAll;
    case GroupTn:
        return In(n, {8, 16, 18}) ? ModeBitsAll : T;
    case Groupqn:
        return In(n, {1, 2, 4}) ? (S | I | X | R) : (n == 3 || Between(n, 5, 7)) ? (I | X | R) : 0;
    case Grouptn:
        return tnBits(n);
    case GroupEn:
        return ModeBitsAll;
    case GroupEC:
        return I;
    case GrouponC:
        return Between(n, 31, 33) ? (S | I | X) : ModeBitsAll;
    case Groupono:
        return In(n, {19, 20}) ? (I | X | R) : ModeBitsAll;
    case GroupHn:
    case GrouponT:
    case GrouponS:
    case Groupond:
    case GrouponA:
    case GrouponE:
        return ModeBitsAll;
    default:
        return 0;
    }
}

bool IsShownForControlModes(std::string_view code, unsigned mask) {
    return (ControlModeBits(code) & mask) != 0;
}

std::string DisplaySetTitle(const EditorDisplaySet& set) {
    const auto& g = set.groups;
    const auto& m = set.modes;
    switch (set.mode) {
    case DisplayGroups:
        if (g[ShowAll])
            return "All Parameter";
        return JoinFlags({{g[ShowSystem], "System"},
                          {g[ShowTorque], "Torque"},
                          {g[ShowSpeed], "Speed"},
                          {g[ShowPosition], "Position"},
                          {g[ShowQuick], "Quick"},
                          {g[ShowDiDo], "DI/DO Planning"},
                          {g[ShowCiA402], "CiA402"},
                          {g[ShowTuning], "Tuning"},
                          {g[ShowEcam], "ECAM"},
                          {g[ShowMapping], "Mapping"}}) +
               " Parameter";
    case DisplayControlModes: {
        if (set.mask == ModeBitsAll)
            return "All Control Mode";
        const bool internal = m[ModeInternalPosition], external = m[ModeExternalPulse];
        const char* position = internal && external ? "Position"
                               : internal           ? "Position(Internal Position Command)"
                               : external           ? "Position(External Pulse Command)"
                                                    : "";
        std::string text =
            JoinFlags({{m[ModeTorque], "Torque"}, {m[ModeSpeed], "Speed"}, {internal || external, position}});
        if (set.mask == ModeBitTurret)
            text = "Tool Turret";
        else if (set.mask & ModeBitTurret)
            text = JoinFlags({{!text.empty(), text.c_str()}, {true, "Tool Turret"}});
        return text + " Control Mode";
    }
    case DisplayDefined:
        return "Defined Parameter";
    default:
        return {};
    }
}

std::vector<EditorTab> EditorTabs(const EditorTabPresence& presence) {
    std::vector<EditorTab> tabs;
    for (EditorTab tab : {EditorTab::Custom, EditorTab::Cn, EditorTab::Tn, EditorTab::Sn, EditorTab::Pn3,
                          EditorTab::Pn4, EditorTab::qn, EditorTab::Hn, EditorTab::En, EditorTab::tn,
                          EditorTab::EC, EditorTab::MAb, EditorTab::Compare})
        if (Present(tab, presence))
            tabs.push_back(tab);
    return tabs;
}

std::string EditorTabLabel(EditorTab tab) {
    switch (tab) {
    case EditorTab::Custom:
        return "Custom Display";
    case EditorTab::Cn:
        return "Cn0";
    case EditorTab::Tn:
        return "Tn1";
    case EditorTab::Sn:
        return "Sn2";
    case EditorTab::Pn3:
        return "Pn3";
    case EditorTab::Pn4:
        return "Pn4";
    case EditorTab::qn:
        return "qn5";
    case EditorTab::Hn:
        return "Hn6";
    case EditorTab::En:
        return "En7";
    case EditorTab::tn:
        return "tn8";
    case EditorTab::EC:
        return "EC9";
    case EditorTab::MAb:
        return "MAb";
    case EditorTab::Compare:
        return "Initial Value Compare Table";
    }
    return {};
}

std::string DefinedEntryCode(int groupId, int numberIndex) {
    if (!IsValidDefiniteEntry(groupId, numberIndex))
        return {};
    return ParamCodeFromIndex(
        ParamIndexOf(static_cast<ParamGroup>(ParamGroupFromDefiniteId(groupId)), numberIndex + 1));
}

std::vector<std::string> EditorRowCodes(EditorTab tab, const EditorTabPresence& presence,
                                        const EditorDisplaySet& set, const DefinedList& defined,
                                        const CKeloServoDoc& doc, const CatalogueContext& context,
                                        bool projectMode) {
    std::vector<std::string> codes;
    const bool custom = tab == EditorTab::Custom;
    const bool last = tab == EditorTab::Compare;
    const auto walk = [&](ParamGroup group) {
        const auto docGroup = static_cast<DocGroup>(DocGroupOfParamGroup(group));
        for (int n = 1; n <= ParamGroupTable(group).count; ++n) {
            const std::string code = ParamCodeFromIndex(ParamIndexOf(group, n));
            if (!ParamInSeries(code, context))
                continue;
            if (custom && set.mode == DisplayControlModes && !IsShownForControlModes(code, set.mask))
                continue;
            if (last && doc.Value(docGroup, n) == doc.Default(docGroup, n))
                continue;
            codes.push_back(code);
        }
    };
    for (const WalkGroup& g : ClassicWalk) {
        if (!Present(g.tab, presence))
            continue;
        const bool chosen =
            custom && (set.mode == DisplayControlModes ||
                       (set.mode == DisplayGroups && set.groups[static_cast<std::size_t>(g.flag)]));
        if (tab == g.tab || last || chosen)
            walk(g.group);
    }
    if (projectMode && ((custom && (set.mode == DisplayGroups || set.mode == DisplayControlModes)) || last))
        for (ParamGroup group : NewerWalk)
            walk(group);
    if (custom && set.mode == DisplayDefined) {
        for (int i = 0; i < defined.Count(); ++i) {
            const std::string code = DefinedEntryCode(defined.group[static_cast<std::size_t>(i)],
                                                      defined.number[static_cast<std::size_t>(i)]);
            if (!code.empty() && ParamInSeries(code, context))
                codes.push_back(code);
        }
    }
    return codes;
}

// Display set dialog -------------------------------------------------------------------------------

bool GroupChoiceComplete(const DisplaySetChoice& choice) {
    for (int flag : AlwaysOffered)
        if (!choice.flags[static_cast<std::size_t>(flag)])
            return false;
    for (const Optional& o : OptionalGroups)
        if (!choice.flags[static_cast<std::size_t>(o.flag)] &&
            choice.available[static_cast<std::size_t>(o.availability)])
            return false;
    return true;
}

DisplaySetControls RefreshDisplaySet(DisplaySetChoice& choice) {
    auto& f = choice.flags;
    const auto available = [&](const Optional& o) {
        return choice.available[static_cast<std::size_t>(o.availability)];
    };
    DisplaySetControls controls;
    auto& enabled = controls.enabled;
    switch (choice.type) {
    case DisplayGroups:
        enabled[ChoiceAll] = true;
        if (f[ChoiceAll]) {
            for (int flag : AlwaysOffered)
                f[static_cast<std::size_t>(flag)] = 1;
            for (const Optional& o : OptionalGroups)
                f[static_cast<std::size_t>(o.flag)] = available(o) ? 1 : 0;
        } else {
            for (int flag : AlwaysOffered)
                enabled[static_cast<std::size_t>(flag)] = true;
            for (const Optional& o : OptionalGroups) {
                enabled[static_cast<std::size_t>(o.flag)] = available(o);
                if (!available(o))
                    f[static_cast<std::size_t>(o.flag)] = 0;
            }
        }
        for (const Optional& o : OptionalModes)
            if (!available(o))
                f[static_cast<std::size_t>(o.flag)] = 0;
        break;
    case DisplayControlModes:
        enabled[ChoiceTorqueMode] = enabled[ChoiceSpeedMode] = true;
        for (const Optional& o : OptionalModes) {
            enabled[static_cast<std::size_t>(o.flag)] = available(o);
            if (!available(o))
                f[static_cast<std::size_t>(o.flag)] = 0;
        }
        if (GroupChoiceComplete(choice))
            f[ChoiceAll] = 1;
        break;
    case DisplayDefined:
        controls.addRemove = true;
        if (GroupChoiceComplete(choice))
            f[ChoiceAll] = 1;
        break;
    default:
        break;
    }
    return controls;
}

DisplaySetControls ToggleDisplayChoice(DisplaySetChoice& choice, int flag) {
    if (flag < 0 || flag >= DisplayChoiceFlagCount)
        return RefreshDisplaySet(choice);
    auto& value = choice.flags[static_cast<std::size_t>(flag)];
    value = value ? 0 : 1;
    bool isGroup = false;
    for (int g : GroupChoices)
        isGroup = isGroup || g == flag;
    if (isGroup && GroupChoiceComplete(choice))
        choice.flags[ChoiceAll] = 1;
    return RefreshDisplaySet(choice);
}

void ConfirmDisplaySet(DisplaySetChoice& choice) {
    auto& f = choice.flags;
    const auto available = [&](const Optional& o) {
        return choice.available[static_cast<std::size_t>(o.availability)];
    };
    if (choice.type == DisplayGroups) {
        if (GroupChoiceComplete(choice))
            f[ChoiceAll] = 1;
        bool any = false;
        for (int g : GroupChoices)
            any = any || f[static_cast<std::size_t>(g)];
        if (!f[ChoiceAll] && !any) {
            f[ChoiceAll] = 1;
            for (int g : AlwaysOffered)
                f[static_cast<std::size_t>(g)] = 1;
            for (const Optional& o : OptionalGroups)
                if (available(o))
                    f[static_cast<std::size_t>(o.flag)] = 1;
        }
    } else if (choice.type == DisplayControlModes) {
        bool any = false;
        for (int m : ModeChoices)
            any = any || f[static_cast<std::size_t>(m)];
        if (!any) {
            f[ChoiceTorqueMode] = f[ChoiceSpeedMode] = 1;
            for (const Optional& o : OptionalModes)
                if (available(o))
                    f[static_cast<std::size_t>(o.flag)] = 1;
        }
    }
}

DisplaySetChoice ChoiceFromDisplaySet(const EditorDisplaySet& set, const EditorTabPresence& presence) {
    DisplaySetChoice choice;
    choice.type = set.mode;
    for (const auto& [editor, dialog] : GroupFlagPairs)
        choice.flags[static_cast<std::size_t>(dialog)] = set.groups[static_cast<std::size_t>(editor)];
    for (int i = 0; i < DisplayModeFlagCount; ++i)
        choice.flags[static_cast<std::size_t>(ModeChoices[i])] = set.modes[static_cast<std::size_t>(i)];
    choice.available[AvailableEn] = presence.en;
    choice.available[AvailableEC] = presence.ec;
    choice.available[AvailableMAb] = presence.mab;
    return choice;
}

EditorDisplaySet DisplaySetFromChoice(const DisplaySetChoice& choice) {
    EditorDisplaySet set;
    set.mode = choice.type;
    for (const auto& [editor, dialog] : GroupFlagPairs)
        set.groups[static_cast<std::size_t>(editor)] = choice.flags[static_cast<std::size_t>(dialog)];
    for (int i = 0; i < DisplayModeFlagCount; ++i)
        set.modes[static_cast<std::size_t>(i)] = choice.flags[static_cast<std::size_t>(ModeChoices[i])];
    set.mask = ControlModeMask(set.modes);
    return set;
}
