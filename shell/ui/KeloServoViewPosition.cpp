// The view's commands of the position tools: the position control window, the multi-position test
// run alone, the internal position command programming, the program jog and the DI/DO contact
// assignment.
#include "shell/ui/KeloServoView.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "resources/ids/paraedit.h"
#include "shell/ui/FeatureWindow.h"
#include "tools/PathProgram.h"
#include "tools/ui/IPListDlg.h"
#include "tools/ui/MulPosDlg.h"
#include "tools/ui/PosAllDlg.h"
#include "tools/ui/PositionCommAPDlg.h"
#include "tools/ui/PositionToolsLink.h"
#include "tools/ui/ProgramJogDlg.h"

namespace {

class ViewPositionLink : public IPositionToolsLink {
public:
    explicit ViewPositionLink(CKeloServoView& view) : view_(view) {}
    CRegisterServices& Services() override { return view_; }
    CKeloServoDoc* Document() override { return view_.GetDoc(); }
    void ToolWindowClosed(CWnd* window) override {
        if (window == view_.PositionWindow) {
            view_.PositionWindow = nullptr;
            view_.ToolWindowOpenFlags[ToolPosition] = false;
        }
        if (window == view_.MultiPositionWindow)
            view_.MultiPositionWindow = nullptr;
    }

private:
    CKeloServoView& view_;
};

int DocumentValue(CKeloServoDoc& doc, const char* code) {
    const int* value = doc.FindValue(code);
    return value ? *value : 0;
}

} // namespace

IPositionToolsLink& CKeloServoView::PositionLink() {
    if (!positionLink_)
        positionLink_ = std::make_shared<ViewPositionLink>(*this);
    return *positionLink_;
}

void CKeloServoView::OnPositionControl() {
    if (ReactivateWindow(PositionWindow))
        return;
    auto* window = new CPosAllDlg(PositionLink(), this);
    if (CreateFeatureWindow(PositionWindow, window, [&] { return window->Create(); }))
        ToolWindowOpenFlags[ToolPosition] = true;
}

void CKeloServoView::OnMultiPosition() {
    if (ReactivateWindow(MultiPositionWindow))
        return;
    auto* window = new CMulPosDlg(PositionLink());
    CreateFeatureWindow(MultiPositionWindow, window, [&] { return window->CreateAlone(this); });
}

void CKeloServoView::OnProgramJog() {
    if (ReactivateWindow(ProgramJogWindow) || ServoOnRefusesStrokeJog())
        return;
    OpenMonitorWindow(ProgramJogWindow, new CProgramJogDlg(tuningLink_), ToolProgJog);
}

void CKeloServoView::OnPositionProgramming() {
    CKeloServoDoc* doc = GetDoc();
    if (!doc || !ReadPathPlanningParameters())
        return;
    const int pn316 = DocumentValue(*doc, "Pn316");
    const int pn313 = DocumentValue(*doc, "Pn313");
    CPositionCommAPDlg dialog(*doc);
    dialog.m_positionMode = pn316 & 0xF;
    dialog.m_pholdSelect = (pn316 >> 4) & 0xF;
    dialog.m_smoothing = pn313;
    if (dialog.DoModal() != IDOK)
        return;
    const int newPn316 = PathModeWord(dialog.m_positionMode, dialog.m_pholdSelect);
    if (int* value = doc->FindValue("Pn313"))
        *value = dialog.m_smoothing;
    if (int* value = doc->FindValue("Pn316"))
        *value = newPn316;
    // The transfer shows its own failure; only a complete write is reported as written.
    if (!WritePathPlanningParameters())
        return;
    std::string text = LoadResString(IDS_PE_WRITE_DONE);
    if (dialog.m_smoothing != pn313 || newPn316 != pn316)
        text += "\n\n" + LoadResString(IDS_PE_RESTART_NOTICE);
    ShowMessage(text, LoadResString(IDS_PE_WRITE_MESSAGE), MB_OK | MB_ICONEXCLAMATION);
}

void CKeloServoView::OnDioContactSet() {
    CKeloServoDoc* doc = GetDoc();
    if (!doc || !ReadDioContactParameters())
        return;
    std::array<int, DioValueCount> values{};
    for (int n = 1; n <= DioValueCount; ++n)
        values[static_cast<size_t>(n - 1)] = DocumentValue(*doc, Format("Hn6%02d", n).c_str());
    const CatalogueContext context = doc->Context();
    CIPListDlg dialog(values, [context](bool output, int function) {
        return ParamVisible(output ? "Hn613" : "Hn601", function, context);
    });
    DioDialogBusyFlag = 1;
    const INT_PTR result = dialog.DoModal();
    DioDialogBusyFlag = 0;
    if (result != IDOK)
        return;
    for (int n = 1; n <= DioValueCount; ++n)
        if (int* value = doc->FindValue(Format("Hn6%02d", n)))
            *value = dialog.Values()[static_cast<size_t>(n - 1)];
    WriteDioContactParameters();
}
