#pragma once
// CTraceReadDlg: the hidden "Reading Data from Servo..." window of a graph window. Its first timer
// tick asks the parent to read the record (acquisition step 4); the parent ends it afterwards.
#include "framework/ui/Dialog.h"

#include <string>

inline constexpr UINT_PTR TraceReadTimer = 1118;

class CTraceReadDlg : public CDialog {
public:
    explicit CTraceReadDlg(CWnd* parent);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);

protected:
    void PostNcDestroy() override;

private:
    std::string text_;
    int started_ = 0;
};
