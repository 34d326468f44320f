#include "framework/ui/CmdUI.h"

bool CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler) {
    if (!target || m_nID == ID_SEPARATOR)
        return false;
    if (target->OnCmdMsg(m_nID, WM_COMMAND, CN_UPDATE_COMMAND_UI, this))
        return true;
    if (disableIfNoHandler)
        Enable(target->OnCmdMsg(m_nID, WM_COMMAND, CN_COMMAND, nullptr, nullptr, true) ? TRUE : FALSE);
    return false;
}
