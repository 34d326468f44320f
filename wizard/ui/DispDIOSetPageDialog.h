#pragma once
// CDispDIOSetPageDialog: the "Display Digital I/O Setting" page: the collected DI and DO assignment
// as two lists, or as a painted wiring diagram. It shows values and never changes them.
#include "framework/core/PaintedLabels.h"
#include "wizard/ui/WizardPage.h"

class CDispDIOSetPageDialog : public CWizardPage {
public:
    CDispDIOSetPageDialog();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void LoadPage() override { RefreshLists(); }

    void RefreshLists();
    bool PictureMode() const { return pictureMode_; }

    // Diagram geometry, in pixels of the diagram; DiagramOffset() moves it onto the page.
    static constexpr int PanelLeft = 230, PanelTop = 125, PanelRight = 380, PanelBottom = 510;
    static int InputY(int pin) { return 125 + 30 * (pin + 1); }
    static int OutputY(int pin) { return 125 + 30 * (pin + 5); }
    // Everything the diagram draws: from the input common wire to the outputs' load return and
    // from the panel's top to the end of the DOCOM wire.
    static constexpr CRect DiagramBounds{87, 125, 524, 526};
    // Where the diagram goes on the page: centred in the picture frame (at the frame's top left when
    // the frame is smaller), so that the page's button does not cover its last rows.
    CPoint DiagramOffset();
    // The labels the last paint of the diagram drew.
    const PaintedLabels& Labels() const { return labels_; }

protected:
    void OnTogglePicture();
    void OnPaint();

private:
    void FillList(int listId, bool outputs);
    bool pictureMode_ = false;
    PaintedLabels labels_;
};
