#include "trace/ui/GraphButtons.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "resources/ids/trace.h"

#include <utility>

GraphToolRow::GraphToolRow() {
    struct Faces {
        CBitmapButton& button;
        UINT normal, selected, focused, disabled;
    };
    // Focused or not, START shows STOP only while a run goes on.
    for (const Faces& f : {
             Faces{start, IDB_TRACE_START_NORMAL, IDB_TRACE_START_SELECTED, IDB_TRACE_START_NORMAL,
                   IDB_TRACE_START_DISABLED},
             Faces{setting, IDB_TRACE_SETTING_NORMAL, IDB_TRACE_SETTING_SELECTED, IDB_TRACE_SETTING_FOCUSED,
                   IDB_TRACE_SETTING_DISABLED},
             Faces{open, IDB_TRACE_OPEN_NORMAL, IDB_TRACE_OPEN_SELECTED, IDB_TRACE_OPEN_FOCUSED,
                   IDB_TRACE_OPEN_DISABLED},
             Faces{save, IDB_TRACE_SAVE_NORMAL, IDB_TRACE_SAVE_SELECTED, IDB_TRACE_SAVE_FOCUSED,
                   IDB_TRACE_SAVE_DISABLED},
             Faces{saveAs, IDB_TRACE_SAVEAS_NORMAL, IDB_TRACE_SAVEAS_SELECTED, IDB_TRACE_SAVEAS_FOCUSED,
                   IDB_TRACE_SAVEAS_DISABLED},
             Faces{online, IDB_TRACE_ONLINE_NORMAL, IDB_TRACE_ONLINE_SELECTED, IDB_TRACE_ONLINE_FOCUSED,
                   IDB_TRACE_ONLINE_DISABLED},
         })
        f.button.LoadBitmaps(f.normal, f.selected, f.focused, f.disabled);
}

void GraphToolRow::ShowRunning(bool running) {
    const UINT face = running ? IDB_TRACE_STOP : IDB_TRACE_START_SELECTED;
    start.LoadBitmaps(face, IDB_TRACE_START_SELECTED, face, IDB_TRACE_START_DISABLED);
    start.Invalidate(TRUE);
}

void ShowStepArrows(CWnd& window, std::span<const int> upIds, std::span<const int> downIds) {
    for (const auto& [ids, icon] :
         {std::pair{upIds, IDI_TRACE_STEP_UP}, std::pair{downIds, IDI_TRACE_STEP_DOWN}})
        for (int id : ids)
            if (auto* button = dynamic_cast<CButton*>(window.GetDlgItem(id)))
                button->SetIcon(FindImage(icon));
}
