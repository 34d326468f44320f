#pragma once
// CParaCustomDlg: the modeless "Edit Custom Parameter" window, in which the user reads and writes up
// to ten drive registers by address: Read (or, with Keep reading, a start/stop toggle of a one-second
// timer that reads the ten registers again on every tick), Write, the DEX/HEX display of the values,
// and Open/Save of an address list file (.adr). The view creates it with new and Create; the window
// deletes itself when it is destroyed and tells the view through onClosed first.
#include "controls/DtextListCtrl.h"
#include "framework/ui/Dialog.h"
#include "paramedit/AddressListFile.h"

#include <array>
#include <functional>
#include <string>

class CRegisterServices;

class CParaCustomDlg : public CDialog {
public:
    // hasDocument: whether the active view has a document (without one Read and Write do nothing);
    // onClosed: the view clears its pointer to the window.
    CParaCustomDlg(CRegisterServices& services, std::function<bool()> hasDocument,
                   std::function<void()> onClosed);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    static constexpr UINT_PTR KeepReadingTimer = 1;
    static constexpr UINT KeepReadingPeriodMs = 1000;

    std::array<int, AddressRowCount> m_readAddress{};
    std::array<int, AddressRowCount> m_value{};
    int m_keepReadingState = 0; // 1 while the timer runs
    CDtextListCtrl m_list{"custom addresses"};
    int m_numberBase = 0; // 0 DEX, 1 HEX
    int m_keepReading = 0;

protected:
    void OnRead();
    void OnWrite();
    void OnOpen();
    void OnSave();
    void OnNumberBase(UINT id);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    // Copies the list's row values (the typed addresses) into the read addresses.
    void TakeAddresses();
    void ReadRegisters();
    void ShowValues();
    // Takes the controls and the addresses, reads the registers (when linked) and shows the values;
    // false without a document.
    bool ReadAndShow();
    // The Value cells as numbers; false after telling the user which cell is not one.
    bool ParseValues();
    bool Hex() const { return m_numberBase == 1; }

    CRegisterServices& services_;
    std::function<bool()> hasDocument_;
    std::function<void()> onClosed_;
};
