#pragma once
// Menus: a tree of items built from a menu template (or by code), shown as a Qt menu bar or popup.
// The items keep their own state (text, grayed, checked), so update-UI and tests read the same state
// the user sees; a realised menu mirrors every change into its Qt actions.
#include "framework/core/ResourceTypes.h"
#include "framework/core/Types.h"

#include <QAction>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;
class CCmdTarget;
class CWnd;

// Item flags (AppendMenu, EnableMenuItem, CheckMenuItem, GetMenuState).
enum : UINT {
    MF_STRING = 0x0000,
    MF_BYCOMMAND = 0x0000,
    MF_ENABLED = 0x0000,
    MF_UNCHECKED = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_SEPARATOR = 0x0800,
    MF_BYPOSITION = 0x0400,
};
// TrackPopupMenu flags.
enum : UINT { TPM_LEFTALIGN = 0x0, TPM_RIGHTBUTTON = 0x2, TPM_RETURNCMD = 0x100 };

class CMenu {
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // From a menu of the resource module; false when there is none with this id.
    bool LoadMenu(int resourceId);
    bool LoadMenuIndirect(const MenuTemplate& menu);
    bool CreateMenu();
    bool CreatePopupMenu();
    bool DestroyMenu();
    bool IsCreated() const { return created_; }

    bool AppendMenu(UINT flags, UINT id = 0, const std::string& text = std::string());
    // Appends a copy of a popup menu under the given text.
    bool AppendPopup(const std::string& text, const CMenu& popup);
    bool DeleteMenu(UINT item, UINT flags);
    // Inserts a command (or separator) before the item; false when there is no such item.
    bool InsertMenu(UINT item, UINT flags, UINT newId, const std::string& text);
    bool InsertMenuAfter(UINT item, UINT flags, UINT newId, const std::string& text);
    int GetMenuItemCount() const;
    // The command id at the position; -1 for a popup, 0 for a separator.
    int GetMenuItemID(int position) const;
    CMenu* GetSubMenu(int position) const;
    // MF_GRAYED / MF_CHECKED / MF_POPUP / MF_SEPARATOR bits; -1 (as UINT) when there is no such item.
    UINT GetMenuState(UINT item, UINT flags) const;
    // Return the previous state, or -1 (as UINT) when there is no such item.
    UINT EnableMenuItem(UINT item, UINT flags);
    UINT CheckMenuItem(UINT item, UINT flags);
    bool ModifyMenuText(UINT item, UINT flags, const std::string& text);
    std::string GetMenuString(UINT item, UINT flags) const;

    // Runs update-UI over every command item of this menu (and its popups) against the target.
    void UpdateCommandUI(CCmdTarget* target, bool disableIfNoHandler);

    // Shows the menu at a screen point and returns the chosen command (with TPM_RETURNCMD) or sends it
    // to the owner as WM_COMMAND. Goes through the popup seam, so tests choose without a window.
    int TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);

    // Realises the menu as a menu bar in the widget (commands go to the owner as WM_COMMAND).
    QMenuBar* BuildMenuBar(QWidget* parent, CWnd* owner);
    // Replaces what an existing bar shows with this menu; the bar's corner widgets stay.
    void FillMenuBar(QMenuBar* bar, CWnd* owner);
    QMenu* BuildMenu(QWidget* parent, CWnd* owner);

    struct Item;

private:
    Item* Find(UINT item, UINT flags, CMenu** holder = nullptr);
    const Item* Find(UINT item, UINT flags) const;
    void Realise(QMenu* menu, CWnd* owner);
    void Populate(QMenu* menu, CWnd* owner);
    int Structure() const;
    UINT CommandOf(const QAction* action) const;
    bool Insert(UINT item, UINT flags, UINT newId, const std::string& text, bool after);
    void Mirror(Item& item);

    bool created_ = false;
    int structure_ = 0; // grows with every insertion or deletion, so a shown menu knows to rebuild
    std::vector<std::unique_ptr<Item>> items_;
};

struct CMenu::Item {
    std::string text;
    UINT id = 0;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::unique_ptr<CMenu> popup;
    QPointer<QAction> action; // when realised
};

// Answers TrackPopupMenu: the command chosen (0 for none). Without one installed, a real popup shows.
using PopupMenuChooser = std::function<int(const CMenu& menu, int x, int y)>;
PopupMenuChooser SetPopupMenuChooser(PopupMenuChooser chooser);
