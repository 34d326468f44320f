#pragma once
// CLowfreDlg: the "Online Low-frequency vibration suppression" window (template 6017): Pn336..Pn344
// live, each written by its own Write button or all together.
#include "tuning/ui/OnlineFilterDialog.h"

class CLowfreDlg : public COnlineFilterDialog {
public:
    explicit CLowfreDlg(ITuningViewLink& view);
};
