#pragma once
// CWizardPage: what every page of the setup wizard is to the wizard window. A page is a child
// dialog of the wizard's page frame; it presents, limits and checks its members and never talks to
// the drive. The wizard copies the remembered choices in (TakeChoices, LoadPage), asks for the
// page's check on leaving, compares (DiffersFrom) and copies the members back on Apply (GiveChoices).
// Esc is turned into Enter and OK and Cancel do nothing, so no key closes a page.
#include "framework/ui/Dialog.h"
#include "wizard/CollectedSet.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

class CWizardPage : public CDialog {
public:
    CWizardPage(UINT templateId, int pageCode)
        : CDialog(templateId), templateId_(templateId), pageCode_(pageCode) {}

    int PageCode() const { return pageCode_; }
    UINT TemplateId() const { return templateId_; }

    // What the members alone do not show (combo contents, enabled states, range labels).
    virtual void LoadPage() {}
    // The check before the page is left; false keeps the user on it (the page said why).
    virtual bool CheckPage() { return true; }
    // The remembered choices, DI/DO pins and limits into the members.
    virtual void TakeChoices(const CollectedSet&) {}
    // The members back into the remembered choices.
    virtual void GiveChoices(CollectedSet&) const {}
    // Whether a member differs from its remembered choice.
    virtual bool DiffersFrom(const CollectedSet&) const { return false; }
    // A member that steers the page chain, by its ChoiceReader name.
    virtual std::optional<int> Choice(std::string_view) const { return std::nullopt; }
    // The pins chosen on the page, merged on Apply.
    virtual std::vector<DioAssignment> DiAssignments() const { return {}; }
    virtual std::vector<DioAssignment> DoAssignments() const { return {}; }
    // A radio group or combo left without a choice: its control id, focused when Apply refuses.
    virtual int UnsetChoiceControl() const { return 0; }

    // Handed in by the wizard before the page is created.
    int m_SeriesCode = 2;
    std::array<int, DiCount> m_DiAssign{};
    std::array<int, DoCount> m_DoAssign{};

    // Creates the page as a child of the wizard's page frame. The templates are written as plain
    // dialogs (so each can be checked by itself); the page takes them as child windows.
    BOOL Create(UINT templateId, CWnd* parent) override;
    // A page that overrides this calls it once its up-downs are set up: from here on an edit's
    // change is the page's own data exchange or the user's.
    BOOL OnInitDialog() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}

protected:
    // While the page is being made its edits change without anybody typing: an up-down writes its
    // position into its buddy as it is created or set up. Such a change is no entry of the user's
    // and must not overwrite the choices handed in before the page was created.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Live revert of a value edit (EN_CHANGE): the member keeps the last value within [min, max].
    void OnValueEdited(int editId, int& member, int min, int max);
    // The leave check over the page's value edits, in order: false after the page told the user.
    struct CheckedEdit {
        int editId;
        int min;
        int max;
    };
    bool CheckValueEdits(const std::vector<CheckedEdit>& edits);
    // A DI (DO) selector: the items, the selection and its contact radios.
    void FillSelector(int comboId, bool outputs, int selection);
    void ShowContactControls(int selection, std::initializer_list<int> contactIds);
    // The up-down range and "(min ~ max)" label of a value.
    void ShowRangeLabel(int spinId, int labelId, int min, int max, bool zeroLower = false);

private:
    DialogTemplate childTemplate_;
    UINT templateId_;
    bool initialised_ = false;
    int pageCode_;
};

// Esc as Enter for a dialog message (the wizard uses it too).
void TurnEscapeIntoEnter(MSG* msg);
