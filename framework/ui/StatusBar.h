#pragma once
// The status bar: panes left to right, each with a command id, a width, a text and optionally its
// own background and text colours. A double-click on a pane sends its id to the owner as WM_COMMAND.
// A pane's width is the room for its text; the pane's border and padding come on top of it.
#include "framework/ui/Wnd.h"

#include <string>
#include <vector>

// Pane styles.
enum : UINT {
    SBPS_NORMAL = 0x0000,
    SBPS_NOBORDERS = 0x0100,
    SBPS_POPOUT = 0x0200,
    SBPS_OWNERDRAW = 0x1000,
    SBPS_DISABLED = 0x04000000,
    SBPS_STRETCH = 0x0800,
};

// "No colour of its own" for the pane colour setters.
constexpr COLORREF kPaneDefaultColour = 0xFFFFFFFF;

class CStatusBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = 0xE801);
    // One pane per id; each pane's text starts as the string with its id (empty when none), its width
    // as that text's extent. An id of 0 gives an empty separator pane.
    bool SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(panes_.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;

    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneWidth(int index, int width);
    bool SetPaneText(int index, const std::string& text, bool update = true);
    std::string GetPaneText(int index) const;
    void SetPaneBackgroundColor(int index, COLORREF colour = kPaneDefaultColour, bool redraw = true);
    COLORREF GetPaneBackgroundColor(int index) const;
    void SetPaneTextColor(int index, COLORREF colour = kPaneDefaultColour, bool redraw = true);
    COLORREF GetPaneTextColor(int index) const;
    // The pane's rectangle in the bar's client coordinates.
    bool GetItemRect(int index, CRect* rect) const;
    // The part of the pane its text is drawn in (and clipped to).
    bool GetPaneTextRect(int index, CRect* rect) const;

    // What the bar's widget calls on a double-click at a client point.
    void OnPaneDoubleClick(CPoint point);

    struct Pane {
        UINT id = 0;
        UINT style = SBPS_NORMAL;
        int width = 0;
        std::string text;
        COLORREF background = kPaneDefaultColour;
        COLORREF textColour = kPaneDefaultColour;
    };
    const std::vector<Pane>& Panes() const { return panes_; }

private:
    std::vector<Pane> panes_;
};
