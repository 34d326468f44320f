#pragma once
// CStatusbarSetDlg: the modal "Statusbar Set" dialog: what each of the nine status-bar panes shows.
#include "framework/ui/Dialog.h"

#include <array>

class CStatusbarSetDlg : public CDialog {
public:
    static constexpr UINT IDD = 1016;
    static constexpr int PaneCount = 9;

    // kinds: the pane kinds the panes show now (StatusPaneKind; anything outside 0..10 shows no
    // choice and is kept unless the user picks one).
    explicit CStatusbarSetDlg(const std::array<int, PaneCount>& kinds = {}, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    // The chosen kinds after OK; the given ones after Cancel.
    const std::array<int, PaneCount>& Kinds() const { return m_kinds; }

    // The combo index of each pane, as the data exchange reads and writes it.
    std::array<int, PaneCount> m_selection{};

private:
    std::array<int, PaneCount> m_kinds;
};
