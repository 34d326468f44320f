#pragma once
// CEditRAMDlg: the modal "Edit Ram" dialog: copies the drive's 1002 RAM word pairs from 0x6000 on to
// a CSV file ("Read and Save") and writes such a file back to the drive ("Open and Write").
//
// Both transfers stop at the first failure and say so: a failed read saves nothing (a file of zeros
// where words could not be read would pass for the drive's memory), a file that is short or damaged
// is refused before anything is written, and a refused or lost write ends the transfer.
#include "framework/ui/Dialog.h"
#include "shell/RamWordsCsv.h"

#include <optional>
#include <string>

class CRegisterServices;

class CEditRAMDlg : public CDialog {
public:
    static constexpr UINT IDD = 192;

    // services: the view's register services; their progress hook shows the transfer.
    explicit CEditRAMDlg(CRegisterServices& services, CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;

    // The buttons' work.
    void OnReadAndSave();
    void OnOpenAndWrite();
    void OnWriteRam() {}

    // The drive's words, or nothing after a failed read (the user has been told). Public for the
    // view's own use and for tests.
    std::optional<RamValues> ReadRamWords();
    // Writes every pair; false after a refused or lost write (the user has been told).
    bool WriteRamWords(const RamValues& values);

    static std::string ReadStepText(int pair);
    static std::string WriteStepText(int pair);

private:
    CRegisterServices& m_services;
};
