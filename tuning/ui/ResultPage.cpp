#include "tuning/ui/ResultPage.h"

void CResultPage::SetField(int id, const std::string& text) {
    fields_[id] = text;
    if (CWnd* field = GetDlgItem(id))
        field->SetWindowText(text);
}

std::string CResultPage::Field(int id) const {
    if (CWnd* field = GetDlgItem(id))
        return field->GetWindowText();
    const auto it = fields_.find(id);
    return it == fields_.end() ? std::string() : it->second;
}

void CResultPage::DoDataExchange(CDataExchange* dx) {
    for (auto& [id, text] : fields_)
        DDX_Text(dx, id, text);
}
