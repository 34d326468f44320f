// The view's mechanical characteristic analysis command: the analysis window runs modally, and the
// view keeps it while it runs so a lost link can disable its Start.
#include "shell/ui/KeloServoView.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "resources/ids/tuning.h"
#include "tuning/ui/FRADlg.h"

void CKeloServoView::OnMechanicalAnalysis() {
    if (ServoOnFlag) {
        ShowMessage(LoadResString(IDS_FRA_SERVO_ON), LoadResString(IDS_FRA_CAPTION),
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    CFRADlg window(this, *this);
    AnalysisWindow = &window;
    window.DoModal();
    AnalysisWindow = nullptr;
}

void CKeloServoView::DisableAnalysisStart() {
    DisableOkButton(AnalysisWindow);
}
