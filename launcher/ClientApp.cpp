#include "launcher/ClientApp.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "launcher/ClientDlg.h"

#include <clocale>

CClientApp::CClientApp() : CWinApp("Client") {}

BOOL CClientApp::InitInstance() {
    // The Qt application took the user's locale; numbers stay in the C form.
    std::setlocale(LC_NUMERIC, "C");
    // The main program lies beside the launcher; the current directory is left as it is and passes
    // on to the main program.
    AppDirectory = ProgramFolder();
    if (!AfxLoadResourceLibrary()) {
        ShowMessage(std::string("Cannot load the resource library ") + kResourceLibraryName + ".", "Client",
                    MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    CClientDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
