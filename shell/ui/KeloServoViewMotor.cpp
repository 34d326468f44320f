// The view's motor commands: the self-built motor data, the encoder pole alignment and the
// accessories selection, all modal.
#include "shell/ui/KeloServoView.h"

#include "catalogue/DocumentGlobals.h"
#include "shell/ShellGlobals.h"
#include "shell/ui/ShellLinkState.h"
#include "tools/ui/AccessoriesSelectDialog.h"
#include "tools/ui/LinearParaDlg.h"
#include "tools/ui/LinearPowDlg.h"

void CKeloServoView::OnSelfBuiltMotor() {
    CatalogueContext context;
    context.seriesCode = SeriesCode;
    context.modelCode = ModelCode;
    FillContext(context);
    CLinearParaDlg dialog(this, GetDoc(), DriveFeatureLevel, context);
    dialog.DoModal();
}

void CKeloServoView::OnPoleAlignment() {
    CLinearPowDlg dialog(this, GetDoc());
    dialog.DoModal();
}

void CKeloServoView::OnAccessoriesSelect() {
    CAccessoriesSelectDialog dialog(BrandMode);
    dialog.DoModal();
}
