#pragma once
// CReferencePage: the pages of the reference-input step are built from a few recurring pieces (radio
// groups, value edits with their up-downs and range labels, DI/DO selectors with contact radios, one
// trial calculation). A page lists its pieces in its constructor, pointing at its own members; this
// class does the rest the same way for every page: data exchange, the up-down set-up, live revert,
// the leave check in the listed order, the selectors, the trial block, and the copy of the members to
// and from the wizard's remembered choices.
#include "wizard/WizardBlocks.h"
#include "wizard/ui/WizardPage.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

class CReferencePage : public CWizardPage {
public:
    CReferencePage(UINT templateId, int pageCode);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void LoadPage() override;
    bool CheckPage() override;
    void TakeChoices(const CollectedSet& set) override;
    void GiveChoices(CollectedSet& set) const override;
    bool DiffersFrom(const CollectedSet& set) const override;
    std::optional<int> Choice(std::string_view key) const override;
    std::vector<DioAssignment> DiAssignments() const override;
    std::vector<DioAssignment> DoAssignments() const override;
    int UnsetChoiceControl() const override;

    // The trial block's inputs and result (kept with the page, so Set's state survives a revisit).
    int m_TrialTime = 0;
    int m_TrialPercent = 0;
    double m_TrialResult = 0;

protected:
    // A radio group: buttons firstId .. firstId + count - 1 store 0 .. count - 1 in member.
    struct RadioGroup {
        int firstId;
        int count;
        int* member;
        std::string key; // remembered choice ("Pn301.0"); empty: not remembered
    };
    // A combo box whose selection is a choice (not a DI/DO selector).
    struct ComboChoice {
        int comboId;
        int* member;
        std::string key;
    };
    enum class EditKind {
        Typed,    // stores the number as typed; the range is checked on leaving only
        Live,     // reverts a number outside the range at once
        LiveCaret // the same, and puts the caret back where it was
    };
    struct ValueEdit {
        int editId;
        int spinId;
        int* member;
        int* min;
        int* max;
        int maxChars;
        EditKind kind;
        std::string key;
        bool spinFromZero = false; // the up-down runs from 0 instead of min
        int rangeLabel = 0;        // static that shows "(min ~ max)"; 0: none
        bool checked = true;       // part of the leave check
        // Whether the value stands for its remembered choice now (two pages share Tn102); empty:
        // always.
        std::function<bool()> active = {};
    };
    // A DI (or DO) selector with its contact group box and A/B radios.
    struct Selector {
        int comboId;
        int* selection;
        int* contact;
        int groupId;
        int contactA; // contactA + 1 is B
        int function;
        bool outputs = false;
    };
    struct TrialBlock {
        TrialForm form;
        int timeEdit;
        int timeSpin;
        int timeMirror;
        int percentEdit;
        int percentSpin;
        int percentMirror;
        unsigned percentBound;
        int* target; // the value Set fills
        int* setMin; // Set is enabled for a rounded result within [*setMin, *setMax]
        int* setMax;
        int setFloor = INT_MIN; // a lower end above *setMin (pulses per revolution: 64)
    };

    void AddRadios(RadioGroup group) { radios_.push_back(std::move(group)); }
    void AddCombo(ComboChoice combo) { combos_.push_back(std::move(combo)); }
    void AddValue(ValueEdit edit) { values_.push_back(std::move(edit)); }
    void AddSelector(Selector selector) { selectors_.push_back(selector); }
    void SetTrial(TrialBlock trial) {
        trial_ = trial;
        hasTrial_ = true;
    }
    // Makes an edit's remembered choice conditional (see ValueEdit::active).
    void SetValueActive(int editId, std::function<bool()> active);

    // Hooks of the pages.
    virtual void OnRadioChosen(int /*member index in the page's groups*/) {}
    virtual void RefreshStates() {}                 // enabled states after a load or a choice
    virtual bool CheckRules() { return true; }      // after the ranges passed
    virtual void TakeLimits(const CollectedSet&) {} // the motor-dependent ranges
    virtual void OnEntered() {}                     // each time the page is shown

    void EnableControls(std::initializer_list<int> ids, bool enabled);
    // Focuses and selects an edit and shows a message; for the page's own rules.
    void RefuseAt(int editId, int stringId);

private:
    void OnRadio(UINT id);
    void OnEdit(UINT id);
    void OnSelect(UINT id);
    void OnCalculate();
    void OnSetResult();
    void OnShow(BOOL show, UINT status);
    void ShowSelectorContacts(const Selector& selector);
    void RefreshSetButton();
    const ValueEdit* EditOf(int id) const;

    std::vector<RadioGroup> radios_;
    std::vector<ComboChoice> combos_;
    std::vector<ValueEdit> values_;
    std::vector<Selector> selectors_;
    TrialBlock trial_{};
    bool hasTrial_ = false;
};
