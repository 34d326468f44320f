#pragma once
// CDispDIOSetPageDialog: the "Display Digital I/O Setting" page: the collected DI and DO assignment
// as two lists, or as a painted wiring diagram. It shows values and never changes them.
#include "wizard/ui/WizardPage.h"

class CDispDIOSetPageDialog : public CWizardPage {
public:
    CDispDIOSetPageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override { RefreshLists(); }

    void RefreshLists();
    bool PictureMode() const { return pictureMode_; }

    // Diagram geometry (client pixels).
    static constexpr int PanelLeft = 230, PanelTop = 125, PanelRight = 380, PanelBottom = 510;
    static int InputY(int pin) { return 125 + 30 * (pin + 1); }
    static int OutputY(int pin) { return 125 + 30 * (pin + 5); }

protected:
    void OnTogglePicture();
    void OnPaint();

private:
    void FillList(int listId, bool outputs);
    bool pictureMode_ = false;
};
