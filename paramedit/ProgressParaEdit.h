#pragma once
// Progress window of the parameter editor's read, write, set-to-default and comparison passes and
// of the setup wizard's parameter write (template 219). Its title is the caption text the user sets
// before creating the window. An owner that keeps a link learns when the window is gone.
#include "paramedit/ProgressDlg.h"

#include <string>

class CProgressParaEdit : public CProgressDlg {
public:
    explicit CProgressParaEdit(CWnd* parent, ProgressOwnerLink* link = nullptr);

    BOOL OnInitDialog() override;

    std::string m_caption;
};
