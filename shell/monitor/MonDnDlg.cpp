#include "shell/monitor/MonDnDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/ui/DC.h"
#include "resources/ids/monitor.h"

namespace {
// Display texts bound to statics: dn-01..dn-04, dn-08, dn-09, dn-14.
struct BoundText {
    int text;
    int id;
};
constexpr BoundText kBoundTexts[] = {{0, 1015},
                                     {1, 1016},
                                     {2, 1017},
                                     {3, 1018},
                                     {7, IDC_DIAG_ITEM_8},
                                     {8, IDC_DIAG_ITEM_9},
                                     {13, IDC_DIAG_ITEM_14}};
constexpr int kDn14Index = 1114;
constexpr int kThirteenthInput = 12;
} // namespace

CMonDnDlg::CMonDnDlg(CWnd* owner, CMonitorReaders& readers, const CKeloServoDoc* doc)
    : CMonitorWindow(IDD, owner, readers), m_doc(doc) {}

const MessageMap* CMonDnDlg::GetMessageMap() const {
    static const MessageMap map(CMonitorWindow::GetMessageMap(), {msg::CtlColor(&CMonDnDlg::OnCtlColor)});
    return &map;
}

void CMonDnDlg::DoDataExchange(CDataExchange* dx) {
    CMonitorWindow::DoDataExchange(dx);
    for (const BoundText& bound : kBoundTexts)
        DDX_Text(dx, bound.id, m_texts[bound.text]);
}

BOOL CMonDnDlg::OnInitDialog() {
    CMonitorWindow::OnInitDialog();
    m_onBrush.CreateSolidBrush(DiagOnBrush);
    m_offBrush.CreateSolidBrush(DiagOffBrush);
    // The window has room for a thirteenth input, which no drive of these series has.
    for (int id :
         {IDC_DIAG_INPUT_LABEL_FIRST + kThirteenthInput, IDC_DIAG_INPUT_STATE_FIRST + kThirteenthInput})
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(SW_HIDE);
    if (m_doc && !ParamInSeries(ParamCodeFromIndex(kDn14Index), m_doc->Context()))
        for (int id : {IDC_DIAG_ITEM_14, IDC_DIAG_ITEM_14_LABEL, IDC_DIAG_ITEM_14_UNIT})
            if (CWnd* control = GetDlgItem(id))
                control->EnableWindow(FALSE);
    // The view asks for the contact group with the window's first refresh, for the labels.
    m_readers.ContactReadRequest = 1;
    ShowIoStates();
    return TRUE;
}

void CMonDnDlg::Register() {
    Slot<IDiagnosticsSink>(m_readers.DiagnosticsWindow, this);
}

void CMonDnDlg::SetDiagnostics(const DiagnosticsFrame& frame) {
    for (int i = 0; i < DiagnosticsItemCount; ++i)
        m_texts[i] = frame.texts[i];
    for (int i = 0; i < DiagInputCount; ++i)
        m_states[i] = frame.inputStates[i];
    for (int j = 0; j < DiagOutputCount; ++j)
        m_states[DiagFirstOutputState + j] = frame.outputStates[j];
}

void CMonDnDlg::ShowIoLabels() {
    if (!m_doc || !m_hWnd)
        return;
    const DiagnosticsTerminalLabels labels = TerminalLabels(*m_doc);
    for (int i = 0; i < DiagInputCount; ++i)
        SetDlgItemText(IDC_DIAG_INPUT_LABEL_FIRST + i, labels.inputs[i]);
    for (int j = 0; j < DiagOutputCount; ++j)
        SetDlgItemText(IDC_DIAG_OUTPUT_LABEL_FIRST + j, labels.outputs[j]);
}

void CMonDnDlg::ShowIoStates() {
    if (!m_hWnd)
        return;
    UpdateData(FALSE);
    const DiagnosticsStateRows rows = TerminalStates(m_states);
    for (int i = 0; i < DiagInputCount; ++i)
        SetDlgItemText(IDC_DIAG_INPUT_STATE_FIRST + i, rows.inputs[i].text);
    for (int j = 0; j < DiagOutputCount; ++j)
        SetDlgItemText(IDC_DIAG_OUTPUT_STATE_FIRST + j, rows.outputs[j].text);
    Invalidate(FALSE);
}

int CMonDnDlg::StateOfControl(int id) const {
    if (id >= IDC_DIAG_INPUT_STATE_FIRST && id <= IDC_DIAG_INPUT_STATE_FIRST + kThirteenthInput)
        return m_states[id - IDC_DIAG_INPUT_STATE_FIRST];
    if (id >= IDC_DIAG_OUTPUT_STATE_FIRST && id < IDC_DIAG_OUTPUT_STATE_FIRST + DiagOutputCount)
        return m_states[DiagFirstOutputState + id - IDC_DIAG_OUTPUT_STATE_FIRST];
    return -1;
}

HBRUSH CMonDnDlg::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    if (kind != CTLCOLOR_STATIC || !control)
        return nullptr;
    const int id = control->GetDlgCtrlID();
    for (const BoundText& bound : kBoundTexts) {
        if (bound.id == id) {
            dc->SetTextColor(DiagItemColour);
            dc->SetBkMode(TRANSPARENT);
            return nullptr;
        }
    }
    const int state = StateOfControl(id);
    if (state < 0)
        return nullptr;
    const TerminalStateLook look = TerminalState(state);
    dc->SetTextColor(look.textColour);
    dc->SetBkColor(look.background);
    return state != 0 ? &m_onBrush : &m_offBrush;
}
