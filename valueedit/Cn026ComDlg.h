#pragma once
// The rigidity level Cn026 (1..21) with the gains each level stands for.
#include "framework/ui/Dialog.h"

class CCn026ComDlg : public CDialog {
public:
    CCn026ComDlg();
    const MessageMap* GetMessageMap() const override;

    int m_Value = 0; // in: the parameter value; out: the level

    BOOL OnInitDialog() override;

protected:
    void OnLevelChanged();
    void RefreshGains();

    int level_ = 0;
};
