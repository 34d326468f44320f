#pragma once
// CFRAReadDlg: the small modal window that shows while the analysis data are read. Its first timer
// tick asks its parent (FraProgressMessage, code 4) to read, so the read runs inside this window's
// own modal loop; the parent closes it with OnCancel when done. Enter and Esc do not close it. The
// message line is the progress windows' one (SetProgressText).
#include "paramedit/ProgressDlg.h"

inline constexpr UINT FraProgressMessage = 0x950;
inline constexpr WPARAM FraReadDataCode = 4;
inline constexpr UINT_PTR FraReadTimer = 1128;
inline constexpr UINT FraReadTimerPeriodMs = 100;

class CFRAReadDlg : public CProgressDlg {
public:
    explicit CFRAReadDlg(CWnd* parent);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnTimer(UINT_PTR id);

    bool m_started = false;

protected:
    // Modal, on its opener's stack: nothing to delete.
    void PostNcDestroy() override {}
};
