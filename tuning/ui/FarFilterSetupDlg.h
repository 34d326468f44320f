#pragma once
// CFarFilterSetupDlg: the modal "Resonance Notch Filter Set". Shows the five notch filters as the
// drive holds them ("Current", "----" where a read failed) and as they will be written ("Preset"),
// checks the presets in table order and writes all fifteen through the view's filter write.
#include "framework/ui/Dialog.h"
#include "link/services/RegisterServices.h"
#include "tuning/NotchFilterSet.h"

#include <array>
#include <string>

class CFarFilterSetupDlg : public CDialog {
public:
    CFarFilterSetupDlg(CWnd* parent, CRegisterServices& services);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Write.
    void OnOK() override;

    std::array<int, NotchFieldCount> m_values{};
    std::array<std::string, NotchFieldCount> m_current{};

private:
    CRegisterServices& services_;
};
