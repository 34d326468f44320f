#pragma once
// CResultPage: the base of the auto gain window's three result pages: read-only fields the owner
// fills by id.
#include "framework/ui/Dialog.h"

#include <map>
#include <string>

class CResultPage : public CDialog {
public:
    explicit CResultPage(UINT templateId) : CDialog(templateId) {}
    // Shows a value in field `id` (kept for the next data exchange too).
    void SetField(int id, const std::string& text);
    std::string Field(int id) const;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    std::map<int, std::string> fields_;
};
