#pragma once
// Dialogs built from templates of the resource module (or from a DialogTemplate record given
// directly), modal through a nested event loop or modeless, with data exchange between member
// variables and controls.
#include "framework/core/ResourceTypes.h"
#include "framework/ui/Wnd.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class CDialog;

// The pixel size of the dialog units of a dialog font: x pixels = dlu * cx / 4, y = dlu * cy / 8.
struct DialogBaseUnits {
    int cx = 6;
    int cy = 13;
};
DialogBaseUnits BaseUnitsOfFont(const std::string& fontName, int pointSize);
// Converts a rectangle in dialog units to pixels.
CRect DialogUnitsToPixels(const CRect& units, const DialogBaseUnits& base);

// Builds the dialog's controls (and sizes the dialog) from the template; the controls get wrapper
// objects of their class, owned by `dialog`. False when the dialog has no window.
bool BuildControlsFromTemplate(CWnd* dialog, const DialogTemplate& dialogTemplate);

// Makes the control of a template entry: its widget and its default wrapper object (not yet adopted).
// Control classes other than the standard ones register a factory under their class name.
using ControlFactory = std::function<std::unique_ptr<CWnd>(const DialogControlTemplate& control,
                                                           const CRect& pixels, CWnd* parent)>;
void RegisterControlClass(const std::string& className, ControlFactory factory);
std::unique_ptr<CWnd> CreateTemplateControl(const DialogControlTemplate& control, const CRect& pixels,
                                            CWnd* parent);

// The image a picture control of a template names by number as its text ("196"); null when the text
// is not a number or the resource module has no such image.
const ImageResource* TemplateImage(const DialogControlTemplate& control);

// Thrown by CDataExchange::Fail; UpdateData catches it.
class CUserException : public std::runtime_error {
public:
    CUserException() : std::runtime_error("data exchange failed") {}
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // The control the next validation refers to; returns it (nullptr when missing).
    CWnd* PrepareCtrl(int id);
    CWnd* PrepareEditCtrl(int id);
    // Puts the focus back on the last prepared control and abandons the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

// Data exchange routines. In the saving direction a text that is not a number shows the framework's
// prompt ("Please enter an integer." / "Please enter a number.") through the message seam and fails.
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, unsigned& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, short& value);
void DDX_Text(CDataExchange* dx, int id, BYTE& value); // "Please enter an integer between 0 and 255."
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked radio button in the group that starts at `id`; -1 when none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, std::string& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Hands the template control to `control` (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Range checks for the value just exchanged (saving direction only): the framework's prompt
// "Please enter an integer between %d and %d." and Fail.
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue);
void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
void DDV_MinMaxFloat(CDataExchange* dx, float value, float minValue, float maxValue);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int count);

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDHelp(templateId), parent_(parent) {}
    ~CDialog() override;

    const MessageMap* GetMessageMap() const override;

    // Modeless: builds the dialog from the resource module's template and shows it when the template
    // says WS_VISIBLE. False when there is no such template.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    // Sets the template a later DoModal uses instead of the resource module's.
    void InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // Modal: builds the dialog, runs OnInitDialog and a nested event loop until EndDialog, then
    // destroys the window. Returns the EndDialog value, or -1 when the dialog cannot be built.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    bool IsModal() const { return modal_; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);
    // Runs DoDataExchange; false when a value failed (its prompt was shown).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The default button (DM_GETDEFID / DM_SETDEFID).
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void MapDialogRect(CRect* rect) const;
    DialogBaseUnits GetBaseUnits() const { return baseUnits_; }

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL DestroyWindow() override;

    UINT m_nIDHelp = 0; // the template id

    // Tests: when set, DoModal calls the hook after OnInitDialog instead of waiting for the user; the
    // hook drives the controls and usually ends the dialog. If it does not, the loop runs as usual.
    using ModalHook = std::function<void(CDialog&)>;
    static ModalHook SetModalHookForTest(ModalHook hook);

protected:
    void OnCommandOK() { OnOK(); }
    void OnCommandCancel() { OnCancel(); }

private:
    BOOL Build(const DialogTemplate& dialogTemplate, CWnd* parent, bool modal);
    CWnd* parent_ = nullptr;
    const DialogTemplate* indirect_ = nullptr;
    std::unique_ptr<DialogTemplate> ownedIndirect_;
    bool modal_ = false;
    bool ended_ = false;
    int result_ = 0;
    UINT defId_ = 0;
    DialogBaseUnits baseUnits_;
    class QEventLoop* loop_ = nullptr;
};

// The same dialog with a background colour of its own.
class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
    void SetBackgroundColor(COLORREF colour, BOOL repaint = TRUE);
};
