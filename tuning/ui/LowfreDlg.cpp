#include "tuning/ui/LowfreDlg.h"

#include "resources/ids/tuningwindows.h"

CLowfreDlg::CLowfreDlg(ITuningViewLink& view)
    : COnlineFilterDialog(IDD_ONLINE_LOW_FREQUENCY, view, LowFrequencyTable()) {}
