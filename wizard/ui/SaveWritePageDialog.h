#pragma once
// CSaveWritePageDialog: the save/write page. Its buttons only ask the wizard, its parent (message
// 0x978), to save the collected set as a document file or to write it to the linked drive.
#include "wizard/ui/WizardPage.h"

// wParam 1 save, 2 write (lParam: fill the values into the document afterwards).
inline constexpr UINT WM_WIZARD_SAVEWRITE = 0x978;
// wParam 0 shows Next and hides Apply, 1 the reverse.
inline constexpr UINT WM_WIZARD_STEP_TOGGLE = 0x979;

class CSaveWritePageDialog : public CWizardPage {
public:
    CSaveWritePageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void LoadPage() override { RefreshButtons(); }

    // Write and the check box only while a drive is linked.
    void RefreshButtons();
    bool m_FillIn = false;

protected:
    void OnWrite();
    void OnSave();
    void OnToggleFillIn();

private:
    LRESULT SendToWizard(WPARAM wParam, LPARAM lParam);
};
