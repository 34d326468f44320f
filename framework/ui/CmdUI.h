#pragma once
// Update-UI: before a menu shows, and while the program idles, every menu item, toolbar button and
// status pane asks the command route whether its command is enabled, checked, or has a new text.
// A handler receives a CCmdUI and calls Enable / SetCheck / SetText on it; an item whose command has
// neither an update handler nor a command handler is disabled (when the owner asks for that).
#include "framework/ui/MessageMap.h"

#include <string>

// Command ids the framework itself knows.
enum : UINT {
    ID_SEPARATOR = 0,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE4 = 57619,
    ID_FILE_MRU_LAST = 57631,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    AFX_IDW_TOOLBAR = 0xE800,
    AFX_IDW_STATUS_BAR = 0xE801,
    AFX_IDW_PANE_FIRST = 0xE900,
};

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE) { m_bEnabled = on != 0; }
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1) { m_nCheck = check; }
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(const std::string& text) { m_strText = text; }

    // Asks the target (which routes on as it does for commands). Returns whether an update handler
    // answered; without one, and with disableIfNoHandler, the item is enabled exactly when some target
    // on the route handles the command itself.
    bool DoUpdate(CCmdTarget* target, bool disableIfNoHandler);

    // The menu holding the item, for a menu item's update (the recent-file list rebuilds its entries).
    class CMenu* m_pMenu = nullptr;
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    std::string m_strText;
};
