#pragma once
// CPositionCommPage1 / CPositionCommPage2: the two pages of the internal position command table,
// entries 1-16 and 17-32. Each row holds an entry's revolutions, pulses and move speed; typed values
// outside their ranges are put back while typing and clamped again when the dialog's OK stores the
// entries into the document.
#include "controls/QTRIntegerEdit.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "tools/PathProgram.h"

#include <array>

class CKeloServoDoc;

class CPositionCommPage1 : public CDialog {
public:
    explicit CPositionCommPage1(CKeloServoDoc& doc, UINT templateId = 282, int firstEntry = 1);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // The entries into the document, clamped to their ranges.
    void Store();

    static constexpr int Rows = PathEntriesPerPage;
    std::array<int, Rows> m_revolutions{};
    std::array<int, Rows> m_pulses{};
    std::array<int, Rows> m_speed{};
    std::array<CQTRIntegerEdit, Rows> m_revolutionEdits;
    std::array<CQTRIntegerEdit, Rows> m_pulseEdits;

protected:
    void OnEntryChange(UINT id);
    void OnOK() override { Store(); }
    void OnCancel() override {}

private:
    int MaxSpeed() const;
    void PutBack(int id, int value, int selStart, int selEnd);

    CKeloServoDoc& doc_;
    int firstEntry_;
    bool showing_ = false;
    std::array<CSpinButtonCtrl, 3 * Rows> spins_;
};

class CPositionCommPage2 : public CPositionCommPage1 {
public:
    explicit CPositionCommPage2(CKeloServoDoc& doc) : CPositionCommPage1(doc, 283, 17) {}
};
