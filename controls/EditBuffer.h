#pragma once
// An edit field held in memory: a plain single-line edit's own behaviour (typing replaces the
// selection, Backspace and Delete, caret keys, paste from a private clipboard) with the field's rules
// on top. It lets the rules be driven exactly as the real control drives them, without a window.
#include "controls/EditRules.h"

class EditBuffer : public EditHost {
public:
    EditBuffer(EditKind kind, const std::string& mask = {}, int maxWhole = 0, int maxDecimals = 0);

    EditRules& Rules() { return rules_; }

    // What a user or the program does.
    void Type(const std::string& utf8); // each character as WM_CHAR
    void Key(unsigned key) { SendKeyDown(key); }
    void Paste() { rules_.Paste(); }
    void Cut() { rules_.Cut(); }
    void Clear() { rules_.Clear(); }
    void Set(const std::string& utf8) { SetWindowText(ToEditText(utf8)); }
    std::string Get() const { return FromEditText(text_); }
    void Select(int start, int end) { SetSel(start, end); }
    int Caret() const { return end_; }
    std::string clipboard;

    // EditHost
    EditText Text() const override { return text_; }
    void GetSel(int& start, int& end) const override;
    void SetSel(int start, int end) override;
    void ReplaceSel(const EditText& text) override;
    void SetWindowText(const EditText& text) override { rules_.SetText(text); }
    void DefaultSetText(const EditText& text) override;
    void DefaultChar(EditChar c) override;
    void DefaultKeyDown(unsigned key) override;
    void DefaultPaste() override;
    void CopySelection() override;
    void SendKeyDown(unsigned key) override { rules_.KeyDown(key); }
    void SendChar(EditChar c) override { rules_.Char(c); }

private:
    EditText text_;
    int start_ = 0;
    int end_ = 0;
    EditRules rules_;
};
