#include "framework/ui/ToolTipCtrl.h"

#include "framework/core/ResourceModule.h"

#include <QWidget>

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    if (m_hWnd || !parent || !parent->GetWidget())
        return FALSE;
    auto* widget = new QWidget(parent->GetWidget());
    widget->hide();
    AttachWidget(widget, 0, style, 0, true);
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, const std::string& text, const CRect*, UINT_PTR) {
    if (!tool || !tool->m_hWnd)
        return FALSE;
    tips_[tool->m_hWnd] = text;
    Apply(tool->m_hWnd);
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, UINT textId, const CRect* rect, UINT_PTR toolId) {
    return AddTool(tool, LoadResString(static_cast<int>(textId)), rect, toolId);
}

void CToolTipCtrl::DelTool(CWnd* tool, UINT_PTR) {
    if (!tool)
        return;
    if (tool->GetWidget())
        tool->GetWidget()->setToolTip(QString());
    tips_.erase(tool->m_hWnd);
}

void CToolTipCtrl::UpdateTipText(const std::string& text, CWnd* tool, UINT_PTR) {
    if (!tool)
        return;
    auto it = tips_.find(tool->m_hWnd);
    if (it == tips_.end())
        return;
    it->second = text;
    Apply(tool->m_hWnd);
}

std::string CToolTipCtrl::GetText(CWnd* tool) const {
    auto it = tool ? tips_.find(tool->m_hWnd) : tips_.end();
    return it == tips_.end() ? std::string() : it->second;
}

void CToolTipCtrl::Activate(BOOL activate) {
    active_ = activate != FALSE;
    for (const auto& [handle, text] : tips_)
        Apply(handle);
}

int CToolTipCtrl::SetMaxTipWidth(int width) {
    const int old = maxWidth_;
    maxWidth_ = width;
    for (const auto& [handle, text] : tips_)
        Apply(handle);
    return old;
}

void CToolTipCtrl::SetDelayTime(UINT, int) {}

void CToolTipCtrl::Apply(HWND handle) {
    CWnd* tool = CWnd::FromHandle(handle);
    if (!tool || !tool->GetWidget())
        return;
    const std::string& text = tips_[handle];
    QString tip = QString::fromStdString(text);
    // Line breaks and a maximum width need the rich-text form; anything else stays plain text.
    const bool multiLine = tip.contains('\n');
    if ((multiLine || maxWidth_ > 0) && !text.empty()) {
        tip = tip.toHtmlEscaped().replace("\r\n", "<br>").replace("\n", "<br>");
        tip = maxWidth_ > 0
                  ? QString("<p style='white-space:pre-wrap; max-width:%1px'>%2</p>").arg(maxWidth_).arg(tip)
                  : QString("<p style='white-space:pre'>%1</p>").arg(tip);
    }
    tool->GetWidget()->setToolTip(active_ ? tip : QString());
}
