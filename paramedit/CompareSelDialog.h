#pragma once
// CCompareSelDialog: the modal "Parameter Comparison" dialog: the comparison mode, the document files
// of the file modes (each checked for its header and series when picked), and "&Open..." to show a
// comparison archive saved earlier. The owner sets the mode and the six texts and reads them back
// after IDOK.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"

#include <string>

class CKeloServoDoc;

class CCompareSelDialog : public CDialog {
public:
    explicit CCompareSelDialog(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    int m_mode = 0;
    std::string m_filePath; // mode 2
    std::string m_fileName;
    std::string m_file1Path; // mode 3
    std::string m_file1Name;
    std::string m_file2Path;
    std::string m_file2Name;

    // What an opened archive is shown with (see CCompareDlg).
    CatalogueContext m_context;
    const CKeloServoDoc* m_document = nullptr;
    bool m_projectMode = false;

protected:
    void OnMode(UINT id);
    void OnFile();
    void OnFile1();
    void OnFile2();
    void OnOpen();

private:
    void PickDocument(std::string& path, std::string& name);
    void EnableFileButtons();
};
