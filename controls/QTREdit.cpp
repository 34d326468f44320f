#include "controls/QTREdit.h"

#include "controls/HexText.h"
#include "framework/ui/DC.h"

namespace {
// Counts a rule pass for as long as it runs.
struct RuleScope {
    explicit RuleScope(int& counter) : count(counter) { ++count; }
    ~RuleScope() { --count; }
    int& count;
};
} // namespace

// The edit window as the rules see it.
class CQTREdit::WindowHost : public EditHost {
public:
    explicit WindowHost(CQTREdit& edit) : e(edit) {}
    EditText Text() const override { return ToEditText(e.GetWindowText()); }
    void GetSel(int& start, int& end) const override { e.CEdit::GetSel(start, end); }
    void SetSel(int start, int end) override { e.CEdit::SetSel(start, end); }
    void ReplaceSel(const EditText& text) override { e.CEdit::ReplaceSel(FromEditText(text), TRUE); }
    void SetWindowText(const EditText& text) override {
        RuleScope scope(e.inRules_);
        e.rules_->SetText(text);
    }
    void DefaultSetText(const EditText& text) override {
        RuleScope scope(e.inRules_);
        e.CWnd::SetWindowText(FromEditText(text));
    }
    void DefaultChar(EditChar c) override;
    void DefaultKeyDown(unsigned key) override;
    void DefaultPaste() override { e.CEdit::Paste(); }
    void CopySelection() override { e.CEdit::Copy(); }
    void SendKeyDown(unsigned key) override { e.SendMessage(WM_KEYDOWN, key, 1); }
    void SendChar(EditChar c) override { e.SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1); }
    bool AcceptsChar(EditChar c) override { return e.AcceptsChar(static_cast<UINT>(c)); }

private:
    CQTREdit& e;
};

void CQTREdit::WindowHost::DefaultChar(EditChar c) {
    switch (c) {
    case 0x01: // Ctrl+A
        e.CEdit::SetSel(0, -1);
        return;
    case 0x03: // Ctrl+C
        e.CEdit::Copy();
        return;
    case 0x16: // Ctrl+V
        e.SendMessage(WM_PASTE);
        return;
    case 0x18: // Ctrl+X
        e.SendMessage(WM_CUT);
        return;
    case 0x1A: // Ctrl+Z
        e.CEdit::Undo();
        return;
    case kEditBackspace: {
        // Done here and now, so a rule that reformats afterwards sees the character gone.
        if (e.GetStyle() & ES_READONLY)
            return;
        int start = 0, end = 0;
        e.CEdit::GetSel(start, end);
        if (start == end && start > 0)
            e.CEdit::SetSel(start - 1, start);
        e.CEdit::ReplaceSel(std::string(), TRUE);
        return;
    }
    default:
        break;
    }
    if (c >= 0x20 && c != 0x7F) {
        if (!(e.GetStyle() & ES_READONLY))
            e.CEdit::ReplaceSel(FromEditText(EditText(1, c)), TRUE);
        return;
    }
    e.Default(); // Enter, Esc, Tab: the widget and the dialog decide
}

void CQTREdit::WindowHost::DefaultKeyDown(unsigned key) {
    if (key == kEditKeyDelete) {
        if (e.GetStyle() & ES_READONLY)
            return;
        int start = 0, end = 0;
        e.CEdit::GetSel(start, end);
        if (start == end)
            e.CEdit::SetSel(start, start + 1);
        e.CEdit::ReplaceSel(std::string(), TRUE);
        return;
    }
    e.Default();
}

CQTREdit::CQTREdit() : CQTREdit(EditKind::Plain) {}

CQTREdit::CQTREdit(EditKind kind, const std::string& mask, int maxWhole, int maxDecimals)
    : host_(std::make_unique<WindowHost>(*this)),
      rules_(std::make_unique<EditRules>(kind, host_.get(), mask, maxWhole, maxDecimals)) {}

CQTREdit::~CQTREdit() = default;

const MessageMap* CQTREdit::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(),
                                {
                                    msg::Key(WM_CHAR, &CQTREdit::OnChar),
                                    msg::Key(WM_KEYDOWN, &CQTREdit::OnKeyDown),
                                    msg::Simple(WM_CUT, &CQTREdit::OnCut),
                                    msg::Simple(WM_PASTE, &CQTREdit::OnPaste),
                                    msg::Simple(WM_CLEAR, &CQTREdit::OnClear),
                                    msg::ControlReflectEx(EN_CHANGE, &CQTREdit::OnChangeReflect),
                                    msg::CtlColorReflect(&CQTREdit::CtlColor),
                                });
    return &map;
}

std::string CQTREdit::GetValidText() const {
    return FromEditText(rules_->GetValidText());
}

bool CQTREdit::AcceptsChar(UINT) {
    return true;
}

void CQTREdit::Redisplay() {
    if (!GetSafeHwnd())
        return;
    RuleScope scope(inRules_);
    rules_->Redisplay();
}

void CQTREdit::OnChar(UINT c, UINT, UINT) {
    RuleScope scope(inRules_);
    rules_->Char(static_cast<EditChar>(c));
}

void CQTREdit::OnKeyDown(UINT key, UINT, UINT) {
    RuleScope scope(inRules_);
    rules_->KeyDown(key);
}

void CQTREdit::OnCut() {
    RuleScope scope(inRules_);
    rules_->Cut();
}

void CQTREdit::OnPaste() {
    RuleScope scope(inRules_);
    rules_->Paste();
}

void CQTREdit::OnClear() {
    RuleScope scope(inRules_);
    rules_->Clear();
}

// Text that arrives from outside the rules (set by the program, by data exchange, or through the
// widget's own menu) passes the text-set rule here; the parent still gets its change notification.
BOOL CQTREdit::OnChangeReflect() {
    if (inRules_ == 0) {
        RuleScope scope(inRules_);
        const EditText text = host_->Text();
        const EditText valid = rules_->GetValidText();
        if (valid != text)
            host_->DefaultSetText(valid);
    }
    return FALSE;
}

HBRUSH CQTREdit::CtlColor(CDC* dc, UINT) {
    if (!m_brush.IsCreated() && !(m_flags & 1))
        return nullptr;
    if (!m_brush.IsCreated())
        m_brush.CreateSolidBrush(dc->GetBkColor());
    if (m_textColor != 0)
        dc->SetTextColor(m_textColor);
    dc->SetBkColor(m_brush.Data().lbColor);
    return &m_brush;
}

long GetWindowInt(const CWnd* window) {
    if (!window || !window->GetSafeHwnd())
        return 0;
    return ParseDecimalPrefix(window->GetWindowText());
}
