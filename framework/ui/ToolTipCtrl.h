#pragma once
// Tooltips for windows: each tool is a window whose tip text shows when the pointer rests on it.
#include "framework/ui/Wnd.h"

#include <map>
#include <string>

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* tool, const std::string& text, const CRect* rect = nullptr, UINT_PTR toolId = 0);
    BOOL AddTool(CWnd* tool, UINT textId, const CRect* rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* tool, UINT_PTR toolId = 0);
    void UpdateTipText(const std::string& text, CWnd* tool, UINT_PTR toolId = 0);
    std::string GetText(CWnd* tool) const;
    int GetToolCount() const { return static_cast<int>(tips_.size()); }
    // Inactive tooltips keep their texts but show none.
    void Activate(BOOL activate);
    int SetMaxTipWidth(int width);
    void SetDelayTime(UINT duration, int time);
    // Tips show by themselves here; the call is kept for windows that forward their mouse messages.
    void RelayEvent(MSG*) {}

private:
    void Apply(HWND tool);
    std::map<HWND, std::string> tips_;
    bool active_ = true;
    int maxWidth_ = -1;
};
