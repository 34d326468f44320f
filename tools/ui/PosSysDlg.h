#pragma once
// CPosSysDlg: the first page of the position control window. It puts the drive into position mode,
// assigns the fixed functions of the inputs it drives (SON, SHOME, PTRG, POT, NOT, ORG, PHOLD, INP)
// and switches them on and off through the virtual-input words; "PC-SVON" is the drive's own run
// command. A row's button acts only while its enable check is set.
#include "framework/ui/Dialog.h"
#include "framework/ui/MFCButton.h"

#include <array>

class IPositionToolsLink;

class CPosSysDlg : public CDialogEx {
public:
    explicit CPosSysDlg(IPositionToolsLink& link);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // Reads Hn618 and the servo state into the rows and paints them.
    void RefreshInputs();
    // Hn618 from the rows that are enabled; false when the drive refused it.
    bool WriteVirtualInputs();

    // Order: PC-SVON, ORG, SHOME, POT, NOT, PTRG, PHOLD, INP, SVON.
    enum Row : int {
        RowPcServo,
        RowOrg,
        RowShome,
        RowPot,
        RowNot,
        RowPtrg,
        RowPhold,
        RowInp,
        RowServo,
        RowCount
    };
    std::array<bool, RowCount> m_state{};
    std::array<int, 8> m_enable{}; // checks 1217..1224
    int m_all = 0;
    std::array<CMFCButton, RowCount> m_buttons;

protected:
    void OnWriteMode();
    void OnAll();
    void OnOK() override; // "Set"
    void OnCancel() override {}
    void OnToggle(UINT id);

private:
    int EnableOf(int row) const;
    void PaintRows();
    void EnableRows();

    IPositionToolsLink& link_;
};
