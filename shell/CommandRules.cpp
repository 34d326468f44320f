#include "shell/CommandRules.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "resources/ids/shell.h"

#include <initializer_list>

namespace {

using Mask = unsigned;

constexpr Mask Bit(ToolWindow w) {
    return 1u << w;
}
constexpr Mask Closed(std::initializer_list<ToolWindow> windows) {
    Mask m = 0;
    for (ToolWindow w : windows)
        m |= Bit(w);
    return m;
}
constexpr Mask AllClosed = (1u << ToolWindowCount) - 1;

enum Need : unsigned {
    NeedNothing = 0,
    NeedLink = 1,
    NeedDebug = 2,
    NeedSeries4 = 4,
    NeedOffsetItem = 8,
};

struct Rule {
    int id;
    unsigned needs;
    Mask closed; // windows that must all be closed
};

constexpr Rule kRules[] = {
    {ID_COPY_TO_DEVICE, NeedLink | NeedDebug, 0},
    {ID_COPY_TO_COMPUTER, NeedLink | NeedDebug, 0},
    {ID_EDIT_PARAMETER, NeedNothing,
     Closed({ToolOnline, ToolAutoGain, ToolAutoOffset, ToolNotch, ToolLowFreq, ToolRigid, ToolPosition})},
    {ID_EDIT_ONLINE_PARAMETER, NeedLink,
     Closed({ToolEditor, ToolAutoGain, ToolAutoOffset, ToolNotch, ToolLowFreq, ToolRigid, ToolPosition})},
    {ID_DIDO_CONTACT_SET, NeedLink, AllClosed},
    {ID_POSITION_PROGRAMMING, NeedLink, AllClosed},
    {ID_MECHANICAL_ANALYSIS, NeedLink, AllClosed},
    {ID_POLE_ALIGNMENT, NeedLink, AllClosed},
    {ID_CUSTOM_PARAMETER, NeedLink | NeedDebug, 0},
    {ID_SETUP_WIZARD, NeedNothing, AllClosed},
    {ID_SELF_BUILT_MOTOR, NeedNothing, AllClosed},
    {ID_PROJECT_MODE, NeedNothing, AllClosed},
    {ID_DISPLAY_PARAMETER, NeedLink, 0},
    {ID_DIAGNOSTICS_PARAMETERS, NeedLink, 0},
    {ID_ALARM_PARAMETERS, NeedLink, 0},
    {ID_LIFE_PREDICTION, NeedLink, 0},
    {ID_SOFTWARE_RESET, NeedLink, 0},
    {ID_FACTORY_RESET, NeedLink, 0},
    {ID_MULTI_POSITION, NeedLink, 0},
    {ID_WAVE_TRACE, NeedNothing, Closed({ToolBox})},
    {ID_BOX_FUNCTION, NeedLink | NeedSeries4, Closed({ToolTrace})},
    {ID_JOG_MODE, NeedLink, Closed({ToolInertia, ToolAutoGain, ToolProgJog, ToolPosition})},
    {ID_INERTIA_ESTIMATION, NeedLink,
     Closed({ToolJog, ToolAutoGain, ToolNotch, ToolLowFreq, ToolRigid, ToolProgJog, ToolPosition})},
    {ID_AUTO_GAIN_ADJUST, NeedLink,
     Closed({ToolEditor, ToolOnline, ToolJog, ToolInertia, ToolNotch, ToolLowFreq, ToolRigid, ToolProgJog,
             ToolPosition})},
    {ID_AUTO_OFFSET_ADJUST, NeedLink | NeedOffsetItem,
     Closed({ToolEditor, ToolOnline, ToolNotch, ToolLowFreq, ToolRigid})},
    {ID_ONLINE_NOTCH, NeedLink,
     Closed({ToolEditor, ToolOnline, ToolInertia, ToolAutoGain, ToolAutoOffset, ToolLowFreq, ToolRigid})},
    {ID_ONLINE_LOW_FREQUENCY, NeedLink,
     Closed({ToolEditor, ToolOnline, ToolInertia, ToolAutoGain, ToolAutoOffset, ToolNotch, ToolRigid})},
    {ID_RIGID_ADJUST, NeedLink,
     Closed({ToolEditor, ToolOnline, ToolInertia, ToolAutoGain, ToolAutoOffset, ToolNotch, ToolLowFreq})},
    {ID_PROGRAM_JOG, NeedLink, Closed({ToolJog, ToolInertia, ToolAutoGain, ToolPosition})},
    {ID_POSITION_CONTROL, NeedLink,
     Closed({ToolEditor, ToolOnline, ToolJog, ToolInertia, ToolAutoGain, ToolProgJog})},
    {ID_EDIT_RAM, NeedLink | NeedDebug, Closed({ToolTrace, ToolOnline})},
    {ID_STATUSBAR_SET, NeedNothing, 0},
};

struct Opener {
    int id;
    ToolWindow window;
};

constexpr Opener kOpeners[] = {
    {ID_EDIT_PARAMETER, ToolEditor},
    {ID_EDIT_ONLINE_PARAMETER, ToolOnline},
    {ID_JOG_MODE, ToolJog},
    {ID_INERTIA_ESTIMATION, ToolInertia},
    {ID_AUTO_GAIN_ADJUST, ToolAutoGain},
    {ID_AUTO_OFFSET_ADJUST, ToolAutoOffset},
    {ID_ONLINE_NOTCH, ToolNotch},
    {ID_ONLINE_LOW_FREQUENCY, ToolLowFreq},
    {ID_RIGID_ADJUST, ToolRigid},
    {ID_PROGRAM_JOG, ToolProgJog},
    {ID_POSITION_CONTROL, ToolPosition},
    {ID_ALARM_PARAMETERS, ToolAlarm},
    {ID_DIAGNOSTICS_PARAMETERS, ToolDiag},
    {ID_DISPLAY_PARAMETER, ToolUnList},
    {ID_LIFE_PREDICTION, ToolLife},
    {ID_WAVE_TRACE, ToolTrace},
    {ID_BOX_FUNCTION, ToolBox},
};

Mask OpenMask(const ToolWindowFlags& flags) {
    Mask m = 0;
    for (int w = 0; w < ToolWindowCount; ++w)
        if (flags[static_cast<size_t>(w)])
            m |= Bit(static_cast<ToolWindow>(w));
    return m;
}

} // namespace

std::optional<bool> ViewCommandEnabled(int commandId, const ViewCommandState& state) {
    if (commandId == ID_CONNECT)
        return !state.LinkOpenIndicator;
    if (commandId == ID_DISCONNECT)
        return state.LinkOpenIndicator;
    for (const Rule& rule : kRules) {
        if (rule.id != commandId)
            continue;
        if ((rule.needs & NeedLink) && !state.Connected)
            return false;
        if ((rule.needs & NeedDebug) && !state.DebugMode)
            return false;
        if ((rule.needs & NeedSeries4) && state.SeriesCode != 4)
            return false;
        if ((rule.needs & NeedOffsetItem) && !state.OffsetItemInSeries)
            return false;
        return (OpenMask(state.ToolWindowOpenFlags) & rule.closed) == 0;
    }
    return std::nullopt;
}

int ToolWindowOfCommand(int commandId) {
    for (const Opener& opener : kOpeners)
        if (opener.id == commandId)
            return opener.window;
    return -1;
}

bool OffsetItemInSeries(const CatalogueContext& context) {
    return ParamInSeries(ParamCodeFromIndex(ParamIndexOf(Groupdn, 7)), context);
}
