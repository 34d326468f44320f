#include "EditorFixture.h"

#include "tests/support/DialogDriver.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParamPassRules.h"
#include "resources/ids/paraedit.h"
#include "shell/ShellGlobals.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriveLink.h"
#include "tests/support/DriveParameters.h"

#include <cstdlib>
#include <filesystem>

void EditorFixture::Start(int series) {
    OpenWorld("paramwin", series, "ttyPEW");
    if (HasFatalFailure())
        return;
    ParaEditKept = ParaEditMemory{};
    view.document = doc.get();
    view.services.Document = doc.get();
}

void EditorFixture::TearDown() {
    CDialog::SetModalHookForTest(nullptr);
    if (!editorLife_.expired())
        editor->DestroyWindow();
    editor = nullptr;
    CloseWorld();
}

void EditorFixture::LoadDriveDefaults() {
    for (const std::string& code : ReadAllCodes(doc->Context()))
        if (const int* value = doc->FindDefault(code))
            SetDriveParameter(*drive, code, *value);
    drive->SetRegister(Register("Cn030"), static_cast<uint16_t>(ModelCode));
}

CParaEditDlg* EditorFixture::Open() {
    editor = new CParaEditDlg(view);
    EXPECT_TRUE(editor->Create(IDD_PARAEDIT, nullptr));
    editor->ShowWindow(SW_SHOW); // on the screen, as the command leaves it, so the user can click it
    editorLife_ = editor->Life();
    return editor;
}

void EditorFixture::Close() {
    Click(IDCANCEL);
    EXPECT_TRUE(editorLife_.expired());
    editor = nullptr;
}

std::map<std::string, int> EditorFixture::Snapshot() {
    std::map<std::string, int> values;
    for (const std::string& code : ReadAllCodes(doc->Context()))
        values[code] = *doc->FindValue(code);
    for (int n = 1; n <= 7; ++n)
        values[ParamCodeFromIndex(500 + n)] = doc->Value(Docqn, n);
    return values;
}

std::string EditorFixture::Cell(const std::string& code, int column) const {
    const int row = Row(code);
    return row < 0 ? std::string("<no row>") : editor->m_list.GetItemText(row, column);
}

std::vector<std::string> EditorFixture::TabLabels() const {
    std::vector<std::string> labels;
    for (int i = 0; i < editor->m_tab.GetItemCount(); ++i) {
        TCITEM item;
        item.mask = TCIF_TEXT;
        editor->m_tab.GetItem(i, &item);
        labels.push_back(item.pszText);
    }
    return labels;
}

void EditorFixture::ChooseTab(const std::string& label) {
    const std::vector<std::string> labels = TabLabels();
    for (size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] != label)
            continue;
        editor->m_tab.SetCurSel(static_cast<int>(i));
        NMHDR header;
        header.hwndFrom = editor->m_tab.GetSafeHwnd();
        header.idFrom = IDC_PE_TAB;
        header.code = TCN_SELCHANGE;
        editor->SendMessage(WM_NOTIFY, IDC_PE_TAB, reinterpret_cast<LPARAM>(&header));
        return;
    }
    ADD_FAILURE() << "no tab " << label;
}

void EditorFixture::CheckOnly(const std::vector<std::string>& codes) {
    for (int row = 0; row < editor->m_list.GetItemCount(); ++row)
        editor->m_list.SetCheck(row, false);
    for (const std::string& code : codes) {
        const int row = Row(code);
        ASSERT_GE(row, 0) << code;
        editor->m_list.SetCheck(row, true);
    }
}

uint16_t EditorFixture::Register(const std::string& code) const {
    return ParamCodeRegisterAddress(code).value_or(0xFFFF);
}

std::string EditorFixture::Maker(const std::string& text) {
    return sim::WithMakerChecksum(text);
}

void EditorFixture::Click(int id) {
    ui::Press(*editor, id);
}

COLORREF EditorFixture::ValueBack(const std::string& code) const {
    const int row = Row(code);
    return row < 0 ? 0xFFFFFFFF : editor->m_list.ResolveCell(row, 2, false).back;
}
