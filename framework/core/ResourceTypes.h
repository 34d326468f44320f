#pragma once
// What the resource library holds, as the window layer reads it. The resource compiler turns the
// text scripts in resources/ into these records; the window layer builds dialogs, menus, toolbars
// and bitmaps from them. Numeric ids are the ones the code names through resources/ids/*.h.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DialogControlTemplate {
    int id = -1;           // -1 for static texts nobody addresses
    std::string className; // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX", "SysListView32", ...
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::uint32_t style = 0;          // WS_* plus the class's own style bits
    std::uint32_t exStyle = 0;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string fontName = "MS Shell Dlg";
    int fontPointSize = 8;
    std::vector<DialogControlTemplate> controls;
    std::map<int, std::vector<std::string>> comboItems; // control id -> initial list items
    std::string sourceFile;                             // where it was defined, for messages
    int sourceLine = 0;
};

struct MenuItemTemplate {
    std::string text; // "&Open...\tCtrl+O"; empty text with id 0 is a separator
    int id = 0;       // command id; 0 for a popup or separator
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItemTemplate> children; // non-empty for a popup
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItemTemplate> items;
};

struct AcceleratorEntry {
    int key = 0; // a character ('O') or a virtual-key code
    bool virtKey = false;
    bool control = false;
    bool shift = false;
    bool alt = false;
    int command = 0;
};

struct AcceleratorTable {
    int id = 0;
    std::vector<AcceleratorEntry> entries;
};

struct ToolbarTemplate {
    int id = 0;
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<int> buttons; // command ids; 0 is a separator
};

// Bitmaps and icons are kept as image file bytes (PNG), decoded by the window layer.
struct ImageResource {
    int id = 0;
    bool icon = false;
    std::vector<std::uint8_t> bytes;
};
