#include "wizard/ui/ReferencePage.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "framework/ui/Messages.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "resources/ids/wizardref.h"
#include "wizard/ReferencePageRules.h"

#include <algorithm>
#include <array>

CReferencePage::CReferencePage(UINT templateId, int pageCode) : CWizardPage(templateId, pageCode) {}

const MessageMap* CReferencePage::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {
            msg::ControlRange(BN_CLICKED, IDC_REF_OPTION1, IDC_REF_OPTION11, &CReferencePage::OnRadio),
            msg::ControlRange(EN_CHANGE, IDC_REF_VALUE1, IDC_REF_VALUE6, &CReferencePage::OnEdit),
            msg::ControlRange(CBN_SELCHANGE, IDC_REF_SELECT1, IDC_REF_SELECT3, &CReferencePage::OnSelect),
            msg::Command(IDC_REF_CALCULATE, &CReferencePage::OnCalculate),
            msg::Command(IDC_REF_SET, &CReferencePage::OnSetResult),
            msg::ShowWindow(&CReferencePage::OnShow),
        });
    return &map;
}

void CReferencePage::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    for (const RadioGroup& group : radios_)
        DDX_Radio(dx, group.firstId, *group.member);
    for (const ComboChoice& combo : combos_)
        DDX_CBIndex(dx, combo.comboId, *combo.member);
    for (const Selector& selector : selectors_)
        DDX_Radio(dx, selector.contactA, *selector.contact);
    for (const ValueEdit& edit : values_)
        DDX_Text(dx, edit.editId, *edit.member);
    if (hasTrial_) {
        DDX_Text(dx, trial_.timeEdit, m_TrialTime);
        DDX_Text(dx, trial_.percentEdit, m_TrialPercent);
    }
}

BOOL CReferencePage::OnInitDialog() {
    // The up-downs first: the base ignores the positions they write into their buddies meanwhile.
    const auto setUp = [this](int editId, int spinId, int maxChars, int lower, int upper) {
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(editId)))
            edit->LimitText(maxChars);
        if (auto* spin = dynamic_cast<CSpinButtonCtrl*>(GetDlgItem(spinId))) {
            spin->SetBase(10);
            spin->SetBuddy(GetDlgItem(editId));
            spin->SetRange32(lower, upper);
        }
    };
    for (const ValueEdit& edit : values_)
        setUp(edit.editId, edit.spinId, edit.maxChars, edit.spinFromZero ? 0 : *edit.min, *edit.max);
    if (hasTrial_) {
        setUp(trial_.timeEdit, trial_.timeSpin, 5, 0, TrialTimeBound);
        setUp(trial_.percentEdit, trial_.percentSpin, trial_.percentBound >= 100 ? 3 : 2, 0,
              static_cast<int>(trial_.percentBound));
    }
    CWizardPage::OnInitDialog();
    RefreshSetButton();
    LoadPage();
    return TRUE;
}

void CReferencePage::LoadPage() {
    for (const ValueEdit& edit : values_) {
        if (edit.rangeLabel)
            ShowRangeLabel(edit.spinId, edit.rangeLabel, *edit.min, *edit.max, edit.spinFromZero);
    }
    for (const ComboChoice& combo : combos_) {
        if (auto* box = dynamic_cast<CComboBox*>(GetDlgItem(combo.comboId)))
            box->SetCurSel(*combo.member);
    }
    for (const Selector& selector : selectors_) {
        FillSelector(selector.comboId, selector.outputs, *selector.selection);
        ShowSelectorContacts(selector);
    }
    RefreshStates();
}

void CReferencePage::ShowSelectorContacts(const Selector& selector) {
    ShowContactControls(*selector.selection, {selector.groupId, selector.contactA, selector.contactA + 1});
}

void CReferencePage::EnableControls(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids)
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enabled);
}

void CReferencePage::OnRadio(UINT id) {
    const int control = static_cast<int>(id);
    int index = 0;
    for (RadioGroup& group : radios_) {
        if (control >= group.firstId && control < group.firstId + group.count) {
            *group.member = control - group.firstId;
            OnRadioChosen(index);
            RefreshStates();
            return;
        }
        ++index;
    }
    for (const Selector& selector : selectors_) {
        if (control == selector.contactA || control == selector.contactA + 1) {
            *selector.contact = control - selector.contactA;
            return;
        }
    }
}

const CReferencePage::ValueEdit* CReferencePage::EditOf(int id) const {
    for (const ValueEdit& edit : values_)
        if (edit.editId == id)
            return &edit;
    return nullptr;
}

void CReferencePage::SetValueActive(int editId, std::function<bool()> active) {
    for (ValueEdit& edit : values_)
        if (edit.editId == editId)
            edit.active = std::move(active);
}

void CReferencePage::OnEdit(UINT id) {
    const int editId = static_cast<int>(id);
    if (const ValueEdit* edit = EditOf(editId)) {
        switch (edit->kind) {
        case EditKind::Typed:
            // Range and form are the leave check's; a text that is no number keeps the last value.
            if (const std::optional<int> typed = ParseInt(GetDlgItemText(editId)))
                *edit->member = *typed;
            else if (GetDlgItemText(editId).empty())
                *edit->member = 0;
            break;
        case EditKind::Live:
            OnValueEdited(editId, *edit->member, *edit->min, *edit->max);
            break;
        case EditKind::LiveCaret: {
            auto* box = dynamic_cast<CEdit*>(GetDlgItem(editId));
            int start = 0, end = 0;
            if (box)
                box->GetSel(start, end);
            const std::string typed = GetDlgItemText(editId);
            OnValueEdited(editId, *edit->member, *edit->min, *edit->max);
            if (box && GetDlgItemText(editId) != typed) {
                box->SetSel(start, end);
            }
            break;
        }
        }
        return;
    }
    if (!hasTrial_ || (editId != trial_.timeEdit && editId != trial_.percentEdit))
        return;
    const bool time = editId == trial_.timeEdit;
    int& member = time ? m_TrialTime : m_TrialPercent;
    const std::string text = GetDlgItemText(editId);
    const LiveEditResult result =
        TrialInputEdit(text, member, time ? static_cast<unsigned>(TrialTimeBound) : trial_.percentBound);
    member = result.value;
    if (result.revert)
        UpdateData(FALSE);
    else
        SetDlgItemText(time ? trial_.timeMirror : trial_.percentMirror, text);
}

void CReferencePage::OnSelect(UINT id) {
    std::array<int, 3> selections{};
    int changed = -1;
    const int count = std::min<int>(static_cast<int>(selectors_.size()), 3);
    for (int i = 0; i < count; ++i) {
        const Selector& selector = selectors_[static_cast<size_t>(i)];
        if (selector.comboId == static_cast<int>(id)) {
            if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(selector.comboId)))
                *selector.selection = std::max(0, combo->GetCurSel());
            changed = i;
        }
        selections[static_cast<size_t>(i)] = *selector.selection;
    }
    if (changed < 0)
        return;
    const unsigned cleared = ExcludeFromOtherSelectors(selections, changed);
    for (int i = 0; i < count; ++i) {
        const Selector& selector = selectors_[static_cast<size_t>(i)];
        if (cleared & (1u << i)) {
            *selector.selection = 0;
            if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(selector.comboId)))
                combo->SetCurSel(0);
        }
        ShowSelectorContacts(selector);
    }
}

void CReferencePage::RefreshSetButton() {
    if (!hasTrial_)
        return;
    TrialResult trial;
    trial.computed = m_TrialResult != 0;
    trial.result = m_TrialResult;
    const int lower = std::max(*trial_.setMin, trial_.setFloor);
    EnableControls({IDC_REF_SET},
                   TrialSetEnabled(trial, lower, *trial_.setMax) && m_TrialTime != 0 && m_TrialPercent != 0);
}

void CReferencePage::OnCalculate() {
    if (!hasTrial_)
        return;
    const TrialResult trial = TrialCalculate(trial_.form, GetDlgItemText(trial_.timeMirror), m_TrialTime,
                                             GetDlgItemText(trial_.percentMirror), m_TrialPercent);
    m_TrialResult = trial.computed ? trial.result : 0;
    SetDlgItemText(IDC_REF_TRIAL_RESULT, TrialResultText(trial));
    const int lower = std::max(*trial_.setMin, trial_.setFloor);
    EnableControls({IDC_REF_SET}, TrialSetEnabled(trial, lower, *trial_.setMax));
}

void CReferencePage::OnSetResult() {
    if (!hasTrial_)
        return;
    *trial_.target = TrialRounded(m_TrialResult);
    int editId = 0;
    for (const ValueEdit& edit : values_)
        if (edit.member == trial_.target)
            editId = edit.editId;
    if (!editId)
        return;
    SetDlgItemText(editId, Format("%d", *trial_.target)); // runs the edit's own change handler
    if (CWnd* edit = GetDlgItem(editId)) {
        edit->SetFocus();
        edit->SendMessage(EM_SETSEL, 0, -1);
    }
}

void CReferencePage::OnShow(BOOL show, UINT) {
    if (show)
        OnEntered();
}

void CReferencePage::RefuseAt(int editId, int stringId) {
    if (CWnd* edit = GetDlgItem(editId)) {
        edit->SetFocus();
        edit->SendMessage(EM_SETSEL, 0, -1);
    }
    ShowMessage(LoadResString(stringId), std::string(), MB_OK);
}

bool CReferencePage::CheckPage() {
    std::vector<CheckedEdit> edits;
    for (const ValueEdit& edit : values_)
        if (edit.checked)
            edits.push_back({edit.editId, *edit.min, *edit.max});
    if (!edits.empty() && !CheckValueEdits(edits))
        return false;
    return CheckRules();
}

void CReferencePage::TakeChoices(const CollectedSet& set) {
    TakeLimits(set);
    for (const RadioGroup& group : radios_)
        if (!group.key.empty())
            *group.member = set.Choice(group.key);
    for (const ComboChoice& combo : combos_)
        if (!combo.key.empty())
            *combo.member = set.Choice(combo.key);
    for (const ValueEdit& edit : values_)
        if (!edit.key.empty())
            *edit.member = set.Choice(edit.key);
    m_DiAssign = set.DiList;
    m_DoAssign = set.DoList;
    for (const Selector& selector : selectors_) {
        const DioAssignment pin =
            selector.outputs ? set.DoOf(selector.function) : set.DiOf(selector.function);
        *selector.selection = pin.number;
        *selector.contact = pin.contact;
    }
}

void CReferencePage::GiveChoices(CollectedSet& set) const {
    for (const RadioGroup& group : radios_)
        if (!group.key.empty())
            set.SetChoice(group.key, *group.member);
    for (const ComboChoice& combo : combos_)
        if (!combo.key.empty())
            set.SetChoice(combo.key, *combo.member);
    for (const ValueEdit& edit : values_)
        if (!edit.key.empty() && (!edit.active || edit.active()))
            set.SetChoice(edit.key, *edit.member);
}

bool CReferencePage::DiffersFrom(const CollectedSet& set) const {
    for (const RadioGroup& group : radios_)
        if (!group.key.empty() && set.Choice(group.key) != *group.member)
            return true;
    for (const ComboChoice& combo : combos_)
        if (!combo.key.empty() && set.Choice(combo.key) != *combo.member)
            return true;
    for (const ValueEdit& edit : values_)
        if (!edit.key.empty() && (!edit.active || edit.active()) && set.Choice(edit.key) != *edit.member)
            return true;
    for (const Selector& selector : selectors_) {
        const DioAssignment pin =
            selector.outputs ? set.DoOf(selector.function) : set.DiOf(selector.function);
        if (pin.number != *selector.selection || (pin.number != 0 && pin.contact != *selector.contact))
            return true;
    }
    return false;
}

std::optional<int> CReferencePage::Choice(std::string_view key) const {
    for (const RadioGroup& group : radios_)
        if (group.key == key)
            return *group.member;
    for (const ValueEdit& edit : values_)
        if (edit.key == key)
            return *edit.member;
    return std::nullopt;
}

std::vector<DioAssignment> CReferencePage::DiAssignments() const {
    std::vector<DioAssignment> pins;
    for (const Selector& selector : selectors_)
        if (!selector.outputs)
            pins.push_back({selector.function, *selector.selection, *selector.contact});
    return pins;
}

std::vector<DioAssignment> CReferencePage::DoAssignments() const {
    std::vector<DioAssignment> pins;
    for (const Selector& selector : selectors_)
        if (selector.outputs)
            pins.push_back({selector.function, *selector.selection, *selector.contact});
    return pins;
}

int CReferencePage::UnsetChoiceControl() const {
    // A radio group or combo without a choice would spill into its neighbours' digits.
    for (const RadioGroup& group : radios_)
        if (*group.member < 0 || *group.member >= group.count)
            return group.firstId;
    for (const ComboChoice& combo : combos_)
        if (*combo.member < 0)
            return combo.comboId;
    return 0;
}
