#include "framework/ui/Menu.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Wnd.h"

#include <QCursor>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <mutex>
#include <utility>

namespace {
constexpr UINT Flag(bool on, UINT flag) {
    return on ? flag : 0u;
}

std::mutex chooserMutex;
PopupMenuChooser chooser;

// The check and grey state of one item, reported through update-UI.
class MenuCmdUI : public CCmdUI {
public:
    MenuCmdUI(CMenu* menu, UINT id) : menu_(menu) {
        m_nID = id;
        m_pMenu = menu;
    }
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        menu_->EnableMenuItem(m_nID, MF_BYCOMMAND | (on ? UINT(MF_ENABLED) : UINT(MF_GRAYED)));
    }
    void SetCheck(int check) override {
        CCmdUI::SetCheck(check);
        menu_->CheckMenuItem(m_nID, MF_BYCOMMAND | (check ? UINT(MF_CHECKED) : UINT(MF_UNCHECKED)));
    }
    void SetText(const std::string& text) override {
        CCmdUI::SetText(text);
        menu_->ModifyMenuText(m_nID, MF_BYCOMMAND, text);
    }

private:
    CMenu* menu_;
};

void FromTemplate(CMenu& menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& t : items) {
        if (!t.children.empty()) {
            CMenu popup;
            popup.CreatePopupMenu();
            FromTemplate(popup, t.children);
            menu.AppendPopup(t.text, popup);
        } else if (t.separator || (t.id == 0 && t.text.empty())) {
            menu.AppendMenu(MF_SEPARATOR);
        } else {
            menu.AppendMenu(MF_STRING | Flag(t.grayed, MF_GRAYED) | Flag(t.checked, MF_CHECKED),
                            static_cast<UINT>(t.id), t.text);
        }
    }
}
} // namespace

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

bool CMenu::LoadMenu(int resourceId) {
    const MenuTemplate* menu = FindMenu(resourceId);
    return menu && LoadMenuIndirect(*menu);
}

bool CMenu::LoadMenuIndirect(const MenuTemplate& menu) {
    CreateMenu();
    FromTemplate(*this, menu.items);
    return true;
}

bool CMenu::CreateMenu() {
    items_.clear();
    created_ = true;
    return true;
}

bool CMenu::CreatePopupMenu() {
    return CreateMenu();
}

bool CMenu::DestroyMenu() {
    const bool was = created_;
    items_.clear();
    created_ = false;
    return was;
}

bool CMenu::AppendMenu(UINT flags, UINT id, const std::string& text) {
    if (!created_)
        return false;
    auto item = std::make_unique<Item>();
    item->separator = (flags & MF_SEPARATOR) != 0;
    item->id = item->separator ? 0 : id;
    item->text = text;
    item->grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    item->checked = (flags & MF_CHECKED) != 0;
    items_.push_back(std::move(item));
    return true;
}

bool CMenu::AppendPopup(const std::string& text, const CMenu& popup) {
    if (!created_)
        return false;
    auto item = std::make_unique<Item>();
    item->text = text;
    item->popup = std::make_unique<CMenu>();
    item->popup->CreatePopupMenu();
    for (const auto& child : popup.items_) {
        if (child->popup)
            item->popup->AppendPopup(child->text, *child->popup);
        else
            item->popup->AppendMenu((child->separator ? UINT(MF_SEPARATOR) : UINT(MF_STRING)) |
                                        Flag(child->grayed, MF_GRAYED) | Flag(child->checked, MF_CHECKED),
                                    child->id, child->text);
    }
    items_.push_back(std::move(item));
    return true;
}

CMenu::Item* CMenu::Find(UINT item, UINT flags, CMenu** holder) {
    if (flags & MF_BYPOSITION) {
        if (item >= items_.size())
            return nullptr;
        if (holder)
            *holder = this;
        return items_[item].get();
    }
    for (auto& entry : items_) {
        if (!entry->popup && !entry->separator && entry->id == item) {
            if (holder)
                *holder = this;
            return entry.get();
        }
        if (entry->popup)
            if (Item* found = entry->popup->Find(item, flags, holder))
                return found;
    }
    return nullptr;
}

const CMenu::Item* CMenu::Find(UINT item, UINT flags) const {
    return const_cast<CMenu*>(this)->Find(item, flags);
}

bool CMenu::DeleteMenu(UINT item, UINT flags) {
    CMenu* holder = nullptr;
    Item* found = Find(item, flags, &holder);
    if (!found)
        return false;
    if (found->action)
        delete found->action.data();
    auto& list = holder->items_;
    list.erase(std::find_if(list.begin(), list.end(), [found](const auto& p) { return p.get() == found; }));
    ++holder->structure_;
    return true;
}

bool CMenu::InsertMenu(UINT item, UINT flags, UINT newId, const std::string& text) {
    return Insert(item, flags, newId, text, false);
}

bool CMenu::InsertMenuAfter(UINT item, UINT flags, UINT newId, const std::string& text) {
    return Insert(item, flags, newId, text, true);
}

bool CMenu::Insert(UINT item, UINT flags, UINT newId, const std::string& text, bool after) {
    CMenu* holder = nullptr;
    Item* found = Find(item, flags, &holder);
    if (!found)
        return false;
    auto entry = std::make_unique<Item>();
    entry->separator = (flags & MF_SEPARATOR) != 0;
    entry->id = entry->separator ? 0 : newId;
    entry->text = text;
    entry->grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    entry->checked = (flags & MF_CHECKED) != 0;
    auto& list = holder->items_;
    auto at = std::find_if(list.begin(), list.end(), [found](const auto& p) { return p.get() == found; });
    list.insert(after ? at + 1 : at, std::move(entry));
    ++holder->structure_;
    return true;
}

int CMenu::Structure() const {
    int total = structure_;
    for (const auto& item : items_)
        if (item->popup)
            total += item->popup->Structure();
    return total;
}

int CMenu::GetMenuItemCount() const {
    return created_ ? static_cast<int>(items_.size()) : -1;
}

int CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= static_cast<int>(items_.size()))
        return -1;
    const Item& item = *items_[static_cast<std::size_t>(position)];
    return item.popup ? -1 : static_cast<int>(item.id);
}

CMenu* CMenu::GetSubMenu(int position) const {
    if (position < 0 || position >= static_cast<int>(items_.size()))
        return nullptr;
    return items_[static_cast<std::size_t>(position)]->popup.get();
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    const Item* found = Find(item, flags);
    if (!found)
        return static_cast<UINT>(-1);
    return Flag(found->grayed, MF_GRAYED) | Flag(found->checked, MF_CHECKED) |
           Flag(found->popup != nullptr, MF_POPUP) | Flag(found->separator, MF_SEPARATOR);
}

void CMenu::Mirror(Item& item) {
    if (!item.action)
        return;
    item.action->setEnabled(!item.grayed);
    item.action->setCheckable(item.checked || item.action->isCheckable());
    item.action->setChecked(item.checked);
    item.action->setText(QString::fromStdString(item.text));
}

UINT CMenu::EnableMenuItem(UINT item, UINT flags) {
    Item* found = Find(item, flags);
    if (!found)
        return static_cast<UINT>(-1);
    const UINT previous = found->grayed ? UINT(MF_GRAYED) : UINT(MF_ENABLED);
    found->grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    Mirror(*found);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT item, UINT flags) {
    Item* found = Find(item, flags);
    if (!found)
        return static_cast<UINT>(-1);
    const UINT previous = found->checked ? UINT(MF_CHECKED) : UINT(MF_UNCHECKED);
    found->checked = (flags & MF_CHECKED) != 0;
    Mirror(*found);
    return previous;
}

bool CMenu::ModifyMenuText(UINT item, UINT flags, const std::string& text) {
    Item* found = Find(item, flags);
    if (!found)
        return false;
    found->text = text;
    Mirror(*found);
    return true;
}

std::string CMenu::GetMenuString(UINT item, UINT flags) const {
    const Item* found = Find(item, flags);
    return found ? found->text : std::string();
}

void CMenu::UpdateCommandUI(CCmdTarget* target, bool disableIfNoHandler) {
    // A handler may add or remove items of this menu (the recent files), so the items are taken first
    // and looked up again one by one.
    std::vector<UINT> ids;
    std::vector<CMenu*> popups;
    for (auto& item : items_) {
        if (item->popup)
            popups.push_back(item->popup.get());
        else if (!item->separator && item->id != 0)
            ids.push_back(item->id);
    }
    for (CMenu* popup : popups)
        popup->UpdateCommandUI(target, disableIfNoHandler);
    for (UINT id : ids) {
        auto it = std::find_if(items_.begin(), items_.end(), [id](const auto& item) {
            return !item->popup && !item->separator && item->id == id;
        });
        if (it == items_.end())
            continue;
        MenuCmdUI ui(this, id);
        ui.m_bEnabled = !(*it)->grayed;
        ui.DoUpdate(target, disableIfNoHandler);
    }
}

void CMenu::Realise(QMenu* menu, CWnd* owner) {
    Populate(menu, owner);
    // Before a popup opens its items ask the command route for their state; a handler that added or
    // removed items (the recent files) has the popup rebuilt.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, owner, menu] {
        if (!owner || !owner->GetSafeHwnd())
            return;
        const int before = Structure();
        UpdateCommandUI(owner, true);
        if (Structure() != before) {
            menu->clear();
            Populate(menu, owner);
        }
    });
}

void CMenu::Populate(QMenu* menu, CWnd* owner) {
    for (auto& item : items_) {
        if (item->separator) {
            menu->addSeparator();
        } else if (item->popup) {
            QMenu* sub = menu->addMenu(QString::fromStdString(item->text));
            item->action = sub->menuAction();
            item->popup->Realise(sub, owner);
        } else {
            QAction* action = menu->addAction(QString::fromStdString(item->text));
            item->action = action;
            const UINT id = item->id;
            QObject::connect(action, &QAction::triggered, action, [owner, id] {
                if (owner && owner->GetSafeHwnd())
                    owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            });
            Mirror(*item);
        }
    }
}

QMenuBar* CMenu::BuildMenuBar(QWidget* parent, CWnd* owner) {
    auto* bar = new QMenuBar(parent);
    FillMenuBar(bar, owner);
    return bar;
}

void CMenu::FillMenuBar(QMenuBar* bar, CWnd* owner) {
    // A command may be running from one of the old popups: they go once their events are through.
    for (QAction* action : bar->actions())
        if (QMenu* popup = action->menu(); popup && popup->parent() == bar)
            popup->deleteLater();
    bar->clear();
    for (auto& item : items_) {
        if (item->popup) {
            QMenu* sub = bar->addMenu(QString::fromStdString(item->text));
            item->action = sub->menuAction();
            item->popup->Realise(sub, owner);
        } else if (!item->separator) {
            QAction* action = bar->addAction(QString::fromStdString(item->text));
            item->action = action;
            const UINT id = item->id;
            QObject::connect(action, &QAction::triggered, action, [owner, id] {
                if (owner && owner->GetSafeHwnd())
                    owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            });
        }
    }
}

QMenu* CMenu::BuildMenu(QWidget* parent, CWnd* owner) {
    auto* menu = new QMenu(parent);
    Realise(menu, owner);
    return menu;
}

UINT CMenu::CommandOf(const QAction* action) const {
    for (const auto& item : items_) {
        if (item->popup) {
            if (UINT id = item->popup->CommandOf(action))
                return id;
        } else if (item->action == action) {
            return item->id;
        }
    }
    return 0;
}

PopupMenuChooser SetPopupMenuChooser(PopupMenuChooser next) {
    std::lock_guard lock(chooserMutex);
    return std::exchange(chooser, std::move(next));
}

int CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) {
    PopupMenuChooser choose;
    {
        std::lock_guard lock(chooserMutex);
        choose = chooser;
    }
    int command = 0;
    if (choose) {
        command = choose(*this, x, y);
    } else {
        if (owner)
            UpdateCommandUI(owner, true);
        // Commands are collected rather than sent from inside the popup's own loop.
        CMenu* self = this;
        QMenu menu;
        self->Realise(&menu, nullptr);
        QAction* chosen = menu.exec(QPoint(x, y));
        command = chosen ? static_cast<int>(CommandOf(chosen)) : 0;
    }
    if (command != 0 && !(flags & TPM_RETURNCMD) && owner)
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(command), 0), 0);
    return (flags & TPM_RETURNCMD) ? command : command != 0;
}
