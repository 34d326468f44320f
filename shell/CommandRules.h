#pragma once
// Which view commands may run: the update rule of every menu and toolbar command of the view, as
// one pure function of the view's state. The rules decide which feature windows may be open
// together and which commands need a linked drive or Project Mode.
#include <array>
#include <optional>

// The feature windows the view tracks, one open flag each.
enum ToolWindow : int {
    ToolEditor,     // parameter editor
    ToolOnline,     // online parameter editor
    ToolJog,        // JOG window
    ToolInertia,    // inertia estimation
    ToolAutoGain,   // auto gain adjust
    ToolAutoOffset, // auto offset adjust
    ToolNotch,      // online notch
    ToolLowFreq,    // online low-frequency vibration
    ToolRigid,      // rigid adjust
    ToolProgJog,    // program jog
    ToolPosition,   // position control
    ToolAlarm,      // alarm monitor
    ToolDiag,       // diagnostics monitor
    ToolUnList,     // status display list
    ToolLife,       // life prediction
    ToolTrace,      // wave trace
    ToolBox,        // box record viewer
    ToolWindowCount
};

using ToolWindowFlags = std::array<bool, ToolWindowCount>;

struct ViewCommandState {
    ToolWindowFlags ToolWindowOpenFlags{};
    bool LinkOpenIndicator = false;
    bool Connected = false; // ConnectedFlag
    bool DebugMode = false; // DebugModeFlag
    int SeriesCode = 0;
    // Whether the drive's offset monitor item (dn-07) exists in the current series; the caller asks
    // the catalogue (OffsetItemInSeries below).
    bool OffsetItemInSeries = false;
};

// Whether the view enables the command. Empty for a command that has no rule of the view (the
// framework's own handling then applies).
std::optional<bool> ViewCommandEnabled(int commandId, const ViewCommandState& state);

// The feature window a command opens, or -1.
int ToolWindowOfCommand(int commandId);

struct CatalogueContext;
// The catalogue test behind Auto Offset Adjust.
bool OffsetItemInSeries(const CatalogueContext& context);
