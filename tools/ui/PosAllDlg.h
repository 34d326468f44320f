#pragma once
// CPosAllDlg: the modeless "Position Control" window: a tab of four pages (system setting with the
// virtual inputs, homing, the timer-driven multi-position run and the path-program run). Closing it
// switches the PC servo-on command off, tells the view and frees the window.
#include "framework/ui/Dialog.h"
#include "framework/ui/TabCtrl.h"
#include "tools/ui/HomeDlg.h"
#include "tools/ui/MulPosDlg.h"
#include "tools/ui/MulPosDlg1.h"
#include "tools/ui/PosSysDlg.h"

#include <array>
#include <optional>

class IPositionToolsLink;

class CPosAllDlg : public CDialogEx {
public:
    CPosAllDlg(IPositionToolsLink& link, CWnd* parent);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL Create();

    // The values read on opening: Hn618, Hn617, Hn602, Hn606, Hn604, Hn605, Hn608, Hn612, Hn616,
    // Cn001, En714, En715, En716 (nothing where a read failed).
    static constexpr std::array<const char*, 13> SnapshotCodes = {"Hn618", "Hn617", "Hn602", "Hn606", "Hn604",
                                                                  "Hn605", "Hn608", "Hn612", "Hn616", "Cn001",
                                                                  "En714", "En715", "En716"};
    std::array<std::optional<int>, 13> Snapshot{};

    CPosSysDlg m_system;
    CHomeDlg m_home;
    CMulPosDlg m_multi;
    CMulPosDlg1 m_multiIo;
    CTabCtrl m_tab;

protected:
    void OnTabChange(NMHDR*, LRESULT* result);
    void OnCancel() override;
    void OnOK() override {}
    void PostNcDestroy() override;

private:
    void ShowPage(int index);

    IPositionToolsLink& link_;
    CWnd* parent_;
    bool multiIoCreated_ = false;
};
