#pragma once
// The input rules of the masked and numeric edit fields, free of any window code: what a typed
// character, a key, a paste, a cut, a clear or a text set by the program does to the text and the
// selection. The rules talk to the edit they serve through EditHost, which the real control
// implements over its window and EditBuffer (EditBuffer.h) implements in memory.
//
// Texts are UTF-32, so a locale separator outside ASCII is still one character and selection
// indexes count characters.
#include <memory>
#include <string>

using EditChar = char32_t;
using EditText = std::u32string;

// Key codes the rules look at (the same numbers as the window layer's virtual keys).
inline constexpr unsigned kEditKeyDelete = 0x2E;
inline constexpr EditChar kEditBackspace = 0x08;

// The edit control as the rules see it.
class EditHost {
public:
    virtual ~EditHost() = default;
    virtual EditText Text() const = 0;
    virtual void GetSel(int& start, int& end) const = 0;
    // Selects the range (clamped to the text) and scrolls the caret into view.
    virtual void SetSel(int start, int end) = 0;
    // Replaces the selection with the text; the caret ends after it.
    virtual void ReplaceSel(const EditText& text) = 0;
    // Sets the text as the program does: through the control's own text-set rule.
    virtual void SetWindowText(const EditText& text) = 0;
    // The plain edit's own handling: of a set text, a typed character, a key, a paste.
    virtual void DefaultSetText(const EditText& text) = 0;
    virtual void DefaultChar(EditChar c) = 0;
    virtual void DefaultKeyDown(unsigned key) = 0;
    virtual void DefaultPaste() = 0;
    // Copies the selection to the clipboard.
    virtual void CopySelection() = 0;
    // A key-down or a character sent to the control: its rules decide what happens.
    virtual void SendKeyDown(unsigned key) = 0;
    virtual void SendChar(EditChar c) = 0;
    // A key press made by the program as if typed: key-down then the character.
    virtual void TypeKey(EditChar c) {
        SendKeyDown(static_cast<unsigned>(c));
        SendChar(c);
    }
    // Asked before any character is entered.
    virtual bool AcceptsChar(EditChar) { return true; }
};

// The characters a numeric field writes and reads.
struct EditLocaleChars {
    EditChar negativeSign = U'-';
    EditChar decimalPoint = U'.';
    EditChar groupSeparator = U',';
};

// The user's locale (the environment's, not the program's own numeric setting); a locale value that
// is empty leaves the default. Tests replace it with SetEditLocaleOverride.
EditLocaleChars UserEditLocaleChars();
// Makes UserEditLocaleChars return these (nullptr: the environment again).
void SetEditLocaleOverride(const EditLocaleChars* chars);

// UTF-8 <-> UTF-32 at the window boundary.
EditText ToEditText(const std::string& utf8);
std::string FromEditText(const EditText& text);

// Base of both behaviours.
class EditBehavior {
public:
    explicit EditBehavior(EditHost* host = nullptr) : host_(host) {}
    virtual ~EditBehavior() = default;
    void SetHost(EditHost* host) { host_ = host; }
    EditHost* Host() const { return host_; }

    // The text reduced to what the rule accepts.
    virtual EditText GetValidText() const = 0;
    virtual void OnChar(EditChar c) = 0;
    // By default the key goes to the edit's own handling.
    virtual void OnKeyDown(unsigned key) { host_->DefaultKeyDown(key); }
    // Shared paste rule: paste, then cut back to the valid text keeping the old selection.
    void OnPaste();

protected:
    EditHost* host_;
};

// A fixed mask: '#' is a digit place, every other character a literal that must stand there.
class MaskedEditBehavior : public EditBehavior {
public:
    // hexDigits: hexadecimal digits fill the digit places (else decimal digits only).
    MaskedEditBehavior(EditHost* host, const EditText& mask, bool hexDigits)
        : EditBehavior(host), mask_(mask), hex_(hexDigits) {}

    const EditText& GetMask() const { return mask_; }
    // Stores a new mask and brings the text in line with it.
    void SetMask(const EditText& mask);
    void SetMask(const std::string& mask) { SetMask(ToEditText(mask)); }

    EditText GetValidText() const override;
    // Typed characters: the hexadecimal rule or the decimal-point rule.
    void OnChar(EditChar c) override { hex_ ? OnCharHex(c) : OnCharDot(c); }
    void OnCharHex(EditChar c);
    void OnCharDot(EditChar c);
    // Delete only removes from the end, so literals never slide out of place.
    void OnKeyDown(unsigned key) override;

private:
    bool IsPlaceDigit(EditChar c) const;
    // Where a typed character lands: selection, mask and text lengths, the mask character there.
    struct MaskPlace {
        int start = 0, end = 0, length = 0, textLength = 0;
        EditChar place = 0;
    };
    // Shared head of the two typed-character rules; true when it handled c, else `at` is filled.
    bool CommonChar(EditChar c, MaskPlace& at);
    EditText mask_;
    bool hex_;
};

// A signed decimal number with limits on whole digits and decimal places.
class NumericEditBehavior : public EditBehavior {
public:
    // maxWholeDigits < 0 forbids the negative sign (its magnitude is the limit).
    NumericEditBehavior(EditHost* host, int maxWholeDigits, int maxDecimalPlaces);

    int MaxWholeDigits() const { return maxWhole_; }
    int MaxDecimalPlaces() const { return maxDecimals_; }
    bool NegativeAllowed() const { return negativeAllowed_; }
    const EditLocaleChars& Chars() const { return chars_; }
    void SetChars(const EditLocaleChars& chars) { chars_ = chars; }
    int GroupSize() const { return groupSize_; }
    void SetGroupSize(int size) { groupSize_ = size < 0 ? 0 : size; }
    const EditText& Prefix() const { return prefix_; }
    void SetPrefix(const EditText& prefix) { prefix_ = prefix; }

    EditText GetValidText() const override;
    void OnChar(EditChar c) override;
    void OnKeyDown(unsigned key) override;

private:
    EditText Reduce(const EditText& text) const; // digits, sign and point only
    int CountSeparators(const EditText& text) const;
    void Reformat(int separatorsBefore);
    int maxWhole_;
    int maxDecimals_;
    bool negativeAllowed_;
    EditLocaleChars chars_;
    int groupSize_ = 0;
    EditText prefix_;
};

// Which rule set an edit field follows: its message handling per kind.
enum class EditKind { Plain, Hex, MaskedDot, Numeric, Integer };

// The message handling of one edit field: routes each message to the rule its kind uses. The real
// control and EditBuffer both forward their messages here.
class EditRules {
public:
    // Plain: no behaviour; Hex/MaskedDot: mask; Numeric: whole digits and decimals; Integer: whole.
    EditRules(EditKind kind, EditHost* host, const std::string& mask = {}, int maxWhole = 0,
              int maxDecimals = 0);

    EditKind Kind() const { return kind_; }
    EditBehavior* Behavior() const { return behavior_.get(); }
    MaskedEditBehavior* Masked() const;
    NumericEditBehavior* Numeric() const;

    EditText GetValidText() const;
    void Char(EditChar c);
    void KeyDown(unsigned key);
    void Cut();
    void Paste();
    void Clear();
    // The text-set rule.
    void SetText(const EditText& text);
    // Brings the current text in line with the rule.
    void Redisplay();

private:
    EditKind kind_;
    EditHost* host_;
    std::unique_ptr<EditBehavior> behavior_;
};
