// The view's wizard command: a local setup wizard on a copy of the document's values.
#include "shell/ui/KeloServoView.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/MessageSeam.h"
#include "paramedit/ParaEditDlg.h"
#include "wizard/ui/SetupWizardDialog.h"

void CKeloServoView::OnSetupWizard() {
    CKeloServoDoc* doc = GetDoc();
    if (!doc)
        return;
    CSetupWizardDialog wizard(this);
    wizard.m_SeriesCode = SeriesCode;
    wizard.m_MotorTypeCode = static_cast<unsigned>(ModelCode);
    wizard.CopyDocument(doc);
    wizard.SetServices(this);
    if (wizard.DoModal() == IDOK && EditorWindow)
        EditorWindow->RefreshRows();
}
