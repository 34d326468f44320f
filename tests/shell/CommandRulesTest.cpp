#include "shell/CommandRules.h"

#include "catalogue/CatalogueContext.h"
#include "resources/ids/shell.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Every command the view has a rule for.
const std::vector<int> kRuled = {
    ID_CONNECT,
    ID_DISCONNECT,
    ID_COPY_TO_DEVICE,
    ID_COPY_TO_COMPUTER,
    ID_EDIT_PARAMETER,
    ID_EDIT_ONLINE_PARAMETER,
    ID_DIDO_CONTACT_SET,
    ID_POSITION_PROGRAMMING,
    ID_MECHANICAL_ANALYSIS,
    ID_POLE_ALIGNMENT,
    ID_CUSTOM_PARAMETER,
    ID_SETUP_WIZARD,
    ID_SELF_BUILT_MOTOR,
    ID_PROJECT_MODE,
    ID_DISPLAY_PARAMETER,
    ID_DIAGNOSTICS_PARAMETERS,
    ID_ALARM_PARAMETERS,
    ID_LIFE_PREDICTION,
    ID_SOFTWARE_RESET,
    ID_FACTORY_RESET,
    ID_MULTI_POSITION,
    ID_WAVE_TRACE,
    ID_BOX_FUNCTION,
    ID_JOG_MODE,
    ID_INERTIA_ESTIMATION,
    ID_AUTO_GAIN_ADJUST,
    ID_AUTO_OFFSET_ADJUST,
    ID_ONLINE_NOTCH,
    ID_ONLINE_LOW_FREQUENCY,
    ID_RIGID_ADJUST,
    ID_PROGRAM_JOG,
    ID_POSITION_CONTROL,
    ID_EDIT_RAM,
    ID_STATUSBAR_SET,
};

using Ids = std::set<int>;

Ids Enabled(const ViewCommandState& state) {
    Ids ids;
    for (int id : kRuled) {
        std::optional<bool> enabled = ViewCommandEnabled(id, state);
        EXPECT_TRUE(enabled.has_value()) << id;
        if (enabled.value_or(false))
            ids.insert(id);
    }
    return ids;
}

Ids Without(Ids ids, const Ids& gone) {
    for (int id : gone)
        ids.erase(id);
    return ids;
}

Ids With(Ids ids, const Ids& added) {
    ids.insert(added.begin(), added.end());
    return ids;
}

ViewCommandState Unlinked() {
    return {};
}

ViewCommandState Linked(std::initializer_list<ToolWindow> open = {}) {
    ViewCommandState s;
    s.Connected = true;
    s.LinkOpenIndicator = true;
    s.SeriesCode = 4;
    s.OffsetItemInSeries = true;
    for (ToolWindow w : open)
        s.ToolWindowOpenFlags[w] = true;
    return s;
}

ViewCommandState Debug(ViewCommandState s) {
    s.DebugMode = true;
    return s;
}

// No link needed.
const Ids kOffline = {ID_CONNECT,      ID_EDIT_PARAMETER, ID_SETUP_WIZARD, ID_SELF_BUILT_MOTOR,
                      ID_PROJECT_MODE, ID_WAVE_TRACE,     ID_STATUSBAR_SET};
// What a linked view with no window open offers outside Project Mode.
const Ids kIdle = {
    ID_DISCONNECT,           ID_EDIT_PARAMETER,      ID_EDIT_ONLINE_PARAMETER, ID_DIDO_CONTACT_SET,
    ID_POSITION_PROGRAMMING, ID_MECHANICAL_ANALYSIS, ID_POLE_ALIGNMENT,        ID_SETUP_WIZARD,
    ID_SELF_BUILT_MOTOR,     ID_PROJECT_MODE,        ID_DISPLAY_PARAMETER,     ID_DIAGNOSTICS_PARAMETERS,
    ID_ALARM_PARAMETERS,     ID_LIFE_PREDICTION,     ID_SOFTWARE_RESET,        ID_FACTORY_RESET,
    ID_MULTI_POSITION,       ID_WAVE_TRACE,          ID_BOX_FUNCTION,          ID_JOG_MODE,
    ID_INERTIA_ESTIMATION,   ID_AUTO_GAIN_ADJUST,    ID_AUTO_OFFSET_ADJUST,    ID_ONLINE_NOTCH,
    ID_ONLINE_LOW_FREQUENCY, ID_RIGID_ADJUST,        ID_PROGRAM_JOG,           ID_POSITION_CONTROL,
    ID_STATUSBAR_SET};
// Enabled only while every feature window is closed.
const Ids kNeedAllClosed = {ID_DIDO_CONTACT_SET, ID_POSITION_PROGRAMMING, ID_MECHANICAL_ANALYSIS,
                            ID_POLE_ALIGNMENT,   ID_SETUP_WIZARD,         ID_SELF_BUILT_MOTOR,
                            ID_PROJECT_MODE};
const Ids kProjectMode = {ID_COPY_TO_DEVICE, ID_COPY_TO_COMPUTER, ID_CUSTOM_PARAMETER, ID_EDIT_RAM};

ViewCommandState LinkLostOutsideSupervision() {
    ViewCommandState s = Debug(Linked());
    s.Connected = false; // an exchange of a window failed; the indicator stays set
    return s;
}

ViewCommandState Series(int series) {
    ViewCommandState s = Linked();
    s.SeriesCode = series;
    return s;
}

ViewCommandState WithoutOffsetItem() {
    ViewCommandState s = Linked();
    s.OffsetItemInSeries = false;
    return s;
}

struct Row {
    const char* name;
    ViewCommandState state;
    Ids enabled;
};

TEST(CommandRules, EnabledCommandsByState) {
    const Row rows[] = {
        {"unlinked", Unlinked(), kOffline},
        {"unlinked in Project Mode", Debug(Unlinked()), kOffline},
        {"unlinked with the box viewer open",
         [] {
             ViewCommandState s;
             s.ToolWindowOpenFlags[ToolBox] = true;
             return s;
         }(),
         Without(kOffline, With(kNeedAllClosed, {ID_WAVE_TRACE}))},
        {"linked, idle", Linked(), kIdle},
        {"linked, Project Mode", Debug(Linked()), With(kIdle, kProjectMode)},
        {"link lost outside the supervision",
         LinkLostOutsideSupervision(),
         {ID_DISCONNECT, ID_EDIT_PARAMETER, ID_SETUP_WIZARD, ID_SELF_BUILT_MOTOR, ID_PROJECT_MODE,
          ID_WAVE_TRACE, ID_STATUSBAR_SET}},
        {"series 5", Series(5), Without(kIdle, {ID_BOX_FUNCTION})},
        {"series without the offset item", WithoutOffsetItem(), Without(kIdle, {ID_AUTO_OFFSET_ADJUST})},
        {"editor open", Linked({ToolEditor}),
         Without(kIdle, With(kNeedAllClosed, {ID_EDIT_ONLINE_PARAMETER, ID_AUTO_GAIN_ADJUST,
                                              ID_AUTO_OFFSET_ADJUST, ID_ONLINE_NOTCH, ID_ONLINE_LOW_FREQUENCY,
                                              ID_RIGID_ADJUST, ID_POSITION_CONTROL}))},
        {"online editor open", Linked({ToolOnline}),
         Without(kIdle, With(kNeedAllClosed,
                             {ID_EDIT_PARAMETER, ID_AUTO_GAIN_ADJUST, ID_AUTO_OFFSET_ADJUST, ID_ONLINE_NOTCH,
                              ID_ONLINE_LOW_FREQUENCY, ID_RIGID_ADJUST, ID_POSITION_CONTROL}))},
        {"JOG open", Linked({ToolJog}),
         Without(kIdle, With(kNeedAllClosed, {ID_INERTIA_ESTIMATION, ID_AUTO_GAIN_ADJUST, ID_PROGRAM_JOG,
                                              ID_POSITION_CONTROL}))},
        {"inertia open", Linked({ToolInertia}),
         Without(kIdle, With(kNeedAllClosed,
                             {ID_JOG_MODE, ID_AUTO_GAIN_ADJUST, ID_ONLINE_NOTCH, ID_ONLINE_LOW_FREQUENCY,
                              ID_RIGID_ADJUST, ID_PROGRAM_JOG, ID_POSITION_CONTROL}))},
        {"auto gain open", Linked({ToolAutoGain}),
         Without(kIdle, With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER, ID_JOG_MODE,
                                              ID_INERTIA_ESTIMATION, ID_ONLINE_NOTCH, ID_ONLINE_LOW_FREQUENCY,
                                              ID_RIGID_ADJUST, ID_PROGRAM_JOG, ID_POSITION_CONTROL}))},
        {"auto offset open", Linked({ToolAutoOffset}),
         Without(kIdle, With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER, ID_ONLINE_NOTCH,
                                              ID_ONLINE_LOW_FREQUENCY, ID_RIGID_ADJUST}))},
        {"notch open", Linked({ToolNotch}),
         Without(kIdle,
                 With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER, ID_INERTIA_ESTIMATION,
                                       ID_AUTO_GAIN_ADJUST, ID_AUTO_OFFSET_ADJUST, ID_ONLINE_LOW_FREQUENCY,
                                       ID_RIGID_ADJUST}))},
        {"low frequency open", Linked({ToolLowFreq}),
         Without(kIdle, With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER,
                                              ID_INERTIA_ESTIMATION, ID_AUTO_GAIN_ADJUST,
                                              ID_AUTO_OFFSET_ADJUST, ID_ONLINE_NOTCH, ID_RIGID_ADJUST}))},
        {"rigid open", Linked({ToolRigid}),
         Without(kIdle,
                 With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER, ID_INERTIA_ESTIMATION,
                                       ID_AUTO_GAIN_ADJUST, ID_AUTO_OFFSET_ADJUST, ID_ONLINE_NOTCH,
                                       ID_ONLINE_LOW_FREQUENCY}))},
        {"program jog open", Linked({ToolProgJog}),
         Without(kIdle, With(kNeedAllClosed, {ID_JOG_MODE, ID_INERTIA_ESTIMATION, ID_AUTO_GAIN_ADJUST,
                                              ID_POSITION_CONTROL}))},
        {"position control open", Linked({ToolPosition}),
         Without(kIdle, With(kNeedAllClosed, {ID_EDIT_PARAMETER, ID_EDIT_ONLINE_PARAMETER, ID_JOG_MODE,
                                              ID_INERTIA_ESTIMATION, ID_AUTO_GAIN_ADJUST, ID_PROGRAM_JOG}))},
        {"a monitor window open", Linked({ToolAlarm}), Without(kIdle, kNeedAllClosed)},
        {"trace open in Project Mode", Debug(Linked({ToolTrace})),
         Without(With(kIdle, kProjectMode), With(kNeedAllClosed, {ID_BOX_FUNCTION, ID_EDIT_RAM}))},
        {"box open", Linked({ToolBox}), Without(kIdle, With(kNeedAllClosed, {ID_WAVE_TRACE}))},
        {"online editor open in Project Mode", Debug(Linked({ToolOnline})),
         Without(With(kIdle, kProjectMode),
                 With(kNeedAllClosed,
                      {ID_EDIT_RAM, ID_EDIT_PARAMETER, ID_AUTO_GAIN_ADJUST, ID_AUTO_OFFSET_ADJUST,
                       ID_ONLINE_NOTCH, ID_ONLINE_LOW_FREQUENCY, ID_RIGID_ADJUST, ID_POSITION_CONTROL}))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Enabled(row.state), row.enabled);
    }
}

TEST(CommandRules, CommandsWithoutARuleOfTheView) {
    for (int id :
         {ID_HELP_CONTENT, ID_INSTALLATION_MANUAL, ID_ACCESSORIES_SELECT, ID_PORT_SETTING, 57607, 57609, 0})
        EXPECT_FALSE(ViewCommandEnabled(id, Debug(Linked())).has_value()) << id;
}

TEST(CommandRules, WindowsOpenedByCommands) {
    EXPECT_EQ(ToolWindowOfCommand(ID_EDIT_PARAMETER), ToolEditor);
    EXPECT_EQ(ToolWindowOfCommand(ID_DISPLAY_PARAMETER), ToolUnList);
    EXPECT_EQ(ToolWindowOfCommand(ID_BOX_FUNCTION), ToolBox);
    EXPECT_EQ(ToolWindowOfCommand(ID_CONNECT), -1);
    std::set<int> windows;
    for (int id : kRuled)
        if (ToolWindowOfCommand(id) >= 0)
            windows.insert(ToolWindowOfCommand(id));
    EXPECT_EQ(windows.size(), static_cast<size_t>(ToolWindowCount));
}

TEST(CommandRules, OffsetItemFollowsTheSeries) {
    CatalogueContext context;
    context.seriesCode = 5;
    EXPECT_TRUE(OffsetItemInSeries(context));
    context.seriesCode = 4;
    EXPECT_FALSE(OffsetItemInSeries(context));
}

} // namespace

// The trace and the box viewer share one acquisition store and stop event: whatever else holds,
// the command of one is never enabled while the other's window is open.
TEST(CommandRules, TraceAndBoxViewerAreNeverOpenTogether) {
    for (const auto& [open, other] :
         {std::pair{ToolTrace, ID_BOX_FUNCTION}, std::pair{ToolBox, ID_WAVE_TRACE}}) {
        for (int bits = 0; bits < 8; ++bits) {
            for (int series : {1, 4, 5, 6}) {
                ViewCommandState state;
                state.ToolWindowOpenFlags[open] = true;
                state.LinkOpenIndicator = bits & 1;
                state.Connected = bits & 2;
                state.DebugMode = bits & 4;
                state.SeriesCode = series;
                EXPECT_EQ(ViewCommandEnabled(other, state), std::optional<bool>(false))
                    << "open " << open << " series " << series << " state " << bits;
            }
        }
    }
}
