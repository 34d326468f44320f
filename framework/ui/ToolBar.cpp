#include "framework/ui/ToolBar.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ImageList.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

namespace {
constexpr const char* kIdProperty = "keloCommand";

QAction* ActionOf(QToolBar* bar, UINT id) {
    if (!bar)
        return nullptr;
    for (QAction* action : bar->actions())
        if (action->property(kIdProperty).toUInt() == id && !action->isSeparator())
            return action;
    return nullptr;
}

class ToolCmdUI : public CCmdUI {
public:
    explicit ToolCmdUI(QAction* action) : action_(action) {}
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        action_->setEnabled(on != 0);
    }
    void SetCheck(int check) override {
        CCmdUI::SetCheck(check);
        action_->setCheckable(true);
        action_->setChecked(check != 0);
    }

private:
    QAction* action_;
};
} // namespace

bool CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateEx(parent, 0, style, CRect(), id);
}

bool CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, CRect, UINT id) {
    if (GetSafeHwnd() || !parent || !parent->GetWidget())
        return false;
    auto* bar = new QToolBar(parent->GetWidget());
    bar->setObjectName(QStringLiteral("toolbar%1").arg(id));
    if (auto* main = qobject_cast<QMainWindow*>(parent->GetWidget()))
        main->addToolBar((style & CBRS_ALIGN_BOTTOM) ? Qt::BottomToolBarArea : Qt::TopToolBarArea, bar);
    barStyle_ = style;
    AttachWidget(bar, static_cast<int>(id), style, 0, true);
    bar->setVisible((style & WS_VISIBLE) != 0);
    return true;
}

QToolBar* CToolBar::Bar() const {
    return qobject_cast<QToolBar*>(GetWidget());
}

bool CToolBar::SetButtons(const std::vector<UINT>& ids) {
    QToolBar* bar = Bar();
    if (!bar)
        return false;
    bar->clear();
    buttons_ = ids;
    for (UINT id : ids) {
        if (id == 0) {
            bar->addSeparator()->setProperty(kIdProperty, 0u);
            continue;
        }
        QAction* action = bar->addAction(QString::fromStdString(LoadResString(static_cast<int>(id))));
        action->setProperty(kIdProperty, id);
        QObject::connect(action, &QAction::triggered, action, [this, id] { PressButton(id); });
    }
    return true;
}

bool CToolBar::LoadToolBar(int resourceId) {
    const ToolbarTemplate* layout = FindToolbar(resourceId);
    if (!layout || !Bar())
        return false;
    std::vector<UINT> ids(layout->buttons.begin(), layout->buttons.end());
    SetButtons(ids);
    CImageList images;
    if (images.Create(resourceId, layout->buttonWidth, 0, kToolbarMaskColour)) {
        int image = 0;
        for (QAction* action : Bar()->actions()) {
            if (action->isSeparator())
                continue;
            const QImage picture = images.Image(image++);
            if (!picture.isNull())
                action->setIcon(QIcon(QPixmap::fromImage(picture)));
        }
        Bar()->setIconSize(QSize(layout->buttonWidth, layout->buttonHeight));
    }
    return true;
}

UINT CToolBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? buttons_[static_cast<std::size_t>(index)] : 0;
}

int CToolBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (buttons_[static_cast<std::size_t>(i)] == id)
            return i;
    return -1;
}

bool CToolBar::IsButtonEnabled(UINT id) const {
    QAction* action = ActionOf(Bar(), id);
    return action && action->isEnabled();
}

bool CToolBar::IsButtonChecked(UINT id) const {
    QAction* action = ActionOf(Bar(), id);
    return action && action->isChecked();
}

bool CToolBar::PressButton(UINT id) {
    QAction* action = ActionOf(Bar(), id);
    CWnd* owner = GetParent();
    if (!action || !action->isEnabled() || !owner)
        return false;
    owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return true;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        QAction* action = ActionOf(Bar(), buttons_[i]);
        if (!action)
            continue;
        ToolCmdUI ui(action);
        ui.m_nID = buttons_[i];
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_bEnabled = action->isEnabled();
        ui.DoUpdate(target, disableIfNoHandler);
    }
}
