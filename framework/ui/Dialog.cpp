#include "framework/ui/Dialog.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DataExchangeText.h"
#include "framework/ui/Edit.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/ProgressCtrl.h"
#include "framework/ui/ScrollBar.h"
#include "framework/ui/SliderCtrl.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "framework/ui/Static.h"
#include "framework/ui/TabCtrl.h"
#include "framework/ui/WndInternal.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <map>
#include <mutex>

// ---------------------------------------------------------------------------------------------
// Dialog units

namespace {

QFont DialogFont(const std::string& name, int pointSize) {
    QFont font(FamilyOfFace(name));
    font.setPointSize(pointSize > 0 ? pointSize : 8);
    return font;
}

} // namespace

DialogBaseUnits BaseUnitsOfFont(const std::string& fontName, int pointSize) {
    static std::mutex mutex;
    static std::map<std::pair<std::string, int>, DialogBaseUnits> cache;
    std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_pair(fontName, pointSize);
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    const QFont font = DialogFont(fontName, pointSize);
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded, and the font's height.
    const int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.cx = std::max(1, (width / 26 + 1) / 2);
    units.cy = std::max(1, TemplateCellHeight(font));
    cache[key] = units;
    return units;
}

CRect DialogUnitsToPixels(const CRect& units, const DialogBaseUnits& base) {
    // Rounded to the nearest pixel, halves away from zero, as the platform's dialog-unit mapping does.
    auto scaled = [](int v, int numerator, int denominator) {
        const long long product = static_cast<long long>(v) * numerator;
        const long long half = denominator / 2;
        return static_cast<int>(product >= 0 ? (product + half) / denominator
                                             : -((-product + half) / denominator));
    };
    auto x = [&](int v) { return scaled(v, base.cx, 4); };
    auto y = [&](int v) { return scaled(v, base.cy, 8); };
    return CRect(x(units.left), y(units.top), x(units.right), y(units.bottom));
}

// ---------------------------------------------------------------------------------------------
// Controls from templates

namespace {

std::map<std::string, ControlFactory>& Factories() {
    static std::map<std::string, ControlFactory> factories;
    return factories;
}

std::string Upper(const std::string& s) {
    std::string out;
    for (char c : s)
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

template <class T>
std::unique_ptr<CWnd> Make(DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent, int id,
                           void (*create)(CWnd*, DWORD, DWORD, const CRect&, CWnd*, int)) {
    auto wrapper = std::make_unique<T>();
    create(wrapper.get(), style, exStyle, rect, parent, id);
    return wrapper;
}

// A window of a class nobody registered: a plain child that a program's class can subclass.
std::unique_ptr<CWnd> MakePlain(const DialogControlTemplate& control, const CRect& rect, CWnd* parent) {
    auto wrapper = std::make_unique<CWnd>();
    auto* widget = new QWidget(parent->GetWidget());
    widget->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(widget, control.id, control.style, control.exStyle, true);
    widget->setWindowTitle(QString::fromStdString(control.text));
    ApplyInitialState(widget, control.style);
    return wrapper;
}

} // namespace

const ImageResource* TemplateImage(const DialogControlTemplate& control) {
    const std::string& text = control.text;
    if (text.empty() || !std::all_of(text.begin(), text.end(),
                                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        return nullptr;
    return FindImage(std::atoi(text.c_str()));
}

void RegisterControlClass(const std::string& className, ControlFactory factory) {
    Factories()[Upper(className)] = std::move(factory);
}

std::unique_ptr<CWnd> CreateTemplateControl(const DialogControlTemplate& control, const CRect& pixels,
                                            CWnd* parent) {
    if (!parent || !parent->GetWidget())
        return nullptr;
    auto& factories = Factories();
    if (auto it = factories.find(Upper(control.className)); it != factories.end())
        return it->second(control, pixels, parent);
    const DWORD style = control.style;
    const DWORD ex = control.exStyle;
    const int id = control.id;
    switch (StyleFamilyOfClass(control.className)) {
    case StyleFamily::Button: {
        auto wrapper = std::make_unique<CButton>();
        CButton::CreateWidget(wrapper.get(), control.text, style, ex, pixels, parent, id);
        if (style & (BS_ICON | BS_BITMAP))
            if (const ImageResource* image = TemplateImage(control)) {
                wrapper->SetIcon(image);
                wrapper->SetWindowText("");
            }
        return wrapper;
    }
    case StyleFamily::Static: {
        auto wrapper = std::make_unique<CStatic>();
        CStatic::CreateWidget(wrapper.get(), control.text, style, ex, pixels, parent, id);
        const DWORD kind = style & SS_TYPEMASK;
        if (kind == SS_BITMAP || kind == SS_ICON)
            if (const ImageResource* image = TemplateImage(control))
                if (auto* label = qobject_cast<QLabel*>(wrapper->GetWidget())) {
                    QPixmap pixmap;
                    pixmap.loadFromData(image->bytes.data(), static_cast<uint>(image->bytes.size()));
                    label->setPixmap(pixmap);
                }
        return wrapper;
    }
    case StyleFamily::Edit:
        return Make<CEdit>(style, ex, pixels, parent, id, &CEdit::CreateWidget);
    case StyleFamily::ComboBox:
        return Make<CComboBox>(style, ex, pixels, parent, id, &CComboBox::CreateWidget);
    case StyleFamily::ListBox:
        return Make<CListBox>(style, ex, pixels, parent, id, &CListBox::CreateWidget);
    case StyleFamily::ScrollBar:
        return Make<CScrollBar>(style, ex, pixels, parent, id, &CScrollBar::CreateWidget);
    case StyleFamily::Tab:
        return Make<CTabCtrl>(style, ex, pixels, parent, id, &CTabCtrl::CreateWidget);
    case StyleFamily::UpDown:
        return Make<CSpinButtonCtrl>(style, ex, pixels, parent, id, &CSpinButtonCtrl::CreateWidget);
    case StyleFamily::Trackbar:
        return Make<CSliderCtrl>(style, ex, pixels, parent, id, &CSliderCtrl::CreateWidget);
    case StyleFamily::Progress:
        return Make<CProgressCtrl>(style, ex, pixels, parent, id, &CProgressCtrl::CreateWidget);
    default:
        return MakePlain(control, pixels, parent);
    }
}

bool BuildControlsFromTemplate(CWnd* dialog, const DialogTemplate& t) {
    QWidget* widget = dialog ? dialog->GetWidget() : nullptr;
    if (!widget)
        return false;
    const DialogBaseUnits base = BaseUnitsOfFont(t.fontName, t.fontPointSize);
    widget->setFont(DialogFont(t.fontName, t.fontPointSize));
    const CRect size = DialogUnitsToPixels(CRect(0, 0, t.cx, t.cy), base);
    widget->resize(size.Width(), size.Height());
    CWnd* previous = nullptr;
    for (const DialogControlTemplate& control : t.controls) {
        const CRect pixels = DialogUnitsToPixels(
            CRect(control.x, control.y, control.x + control.cx, control.y + control.cy), base);
        std::unique_ptr<CWnd> wrapper = CreateTemplateControl(control, pixels, dialog);
        if (!wrapper)
            continue;
        CWnd* made = wrapper.get();
        if (made->m_hWnd)
            dialog->AdoptChild(std::move(wrapper));
        else
            continue;
        if (auto items = t.comboItems.find(control.id); items != t.comboItems.end()) {
            if (StyleFamilyOfClass(control.className) == StyleFamily::ComboBox)
                for (const std::string& item : items->second)
                    static_cast<CComboBox*>(made)->AddString(item);
            else if (StyleFamilyOfClass(control.className) == StyleFamily::ListBox)
                for (const std::string& item : items->second)
                    static_cast<CListBox*>(made)->AddString(item);
        }
        // An automatic buddy is the control created just before the spin.
        if (StyleFamilyOfClass(control.className) == StyleFamily::UpDown && (control.style & UDS_AUTOBUDDY) &&
            previous)
            static_cast<CSpinButtonCtrl*>(made)->SetBuddy(previous);
        previous = made;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Data exchange

CWnd* CDataExchange::PrepareCtrl(int id) {
    m_idLastControl = id;
    m_bEditLastControl = false;
    return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(int id) {
    CWnd* control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_pDlgWnd) {
        // Back to the control that failed, with its text selected for retyping.
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            control->SetFocus();
            if (m_bEditLastControl)
                control->SendMessage(EM_SETSEL, 0, -1);
        }
    }
    throw CUserException();
}

namespace {

void Prompt(CDataExchange* dx, const std::string& text) {
    ShowMessage(text, std::string(), MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

// The platform's exchange writes a text only when it differs, so an unchanged field sends no EN_CHANGE.
void SetTextIfChanged(CWnd* control, const std::string& text) {
    if (control && control->GetWindowText() != text)
        control->SetWindowText(text);
}

template <class T, class Parse>
void ExchangeNumber(CDataExchange* dx, int id, T& value, Parse parse, const char* prompt,
                    const std::function<std::string(T)>& format) {
    CWnd* control = dx->PrepareEditCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate) {
        T parsed{};
        if (!parse(control->GetWindowText(), &parsed))
            Prompt(dx, prompt);
        value = parsed;
    } else {
        SetTextIfChanged(control, format(value));
    }
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) {
    ExchangeNumber<int>(dx, id, value, ParseExchangeInt, kPromptInteger,
                        [](int v) { return std::to_string(v); });
}

void DDX_Text(CDataExchange* dx, int id, unsigned& value) {
    ExchangeNumber<unsigned>(dx, id, value, ParseExchangeUInt, kPromptUnsigned,
                             [](unsigned v) { return std::to_string(v); });
}

void DDX_Text(CDataExchange* dx, int id, long& value) {
    ExchangeNumber<long>(dx, id, value, ParseExchangeLong, kPromptInteger,
                         [](long v) { return std::to_string(v); });
}

void DDX_Text(CDataExchange* dx, int id, short& value) {
    ExchangeNumber<short>(
        dx, id, value,
        [](const std::string& text, short* out) {
            int v = 0;
            if (!ParseExchangeInt(text, &v) || v < SHRT_MIN || v > SHRT_MAX)
                return false;
            *out = static_cast<short>(v);
            return true;
        },
        kPromptInteger, [](short v) { return std::to_string(v); });
}

void DDX_Text(CDataExchange* dx, int id, BYTE& value) {
    const std::string prompt = IntegerRangePrompt(0, 255);
    ExchangeNumber<BYTE>(
        dx, id, value,
        [](const std::string& text, BYTE* out) {
            int v = 0;
            if (!ParseExchangeInt(text, &v) || v < 0 || v > 255)
                return false;
            *out = static_cast<BYTE>(v);
            return true;
        },
        prompt.c_str(), [](BYTE v) { return std::to_string(v); });
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    ExchangeNumber<double>(dx, id, value, ParseExchangeDouble, kPromptNumber,
                           [](double v) { return FormatExchangeDouble(v, 15); });
}

void DDX_Text(CDataExchange* dx, int id, float& value) {
    double d = value;
    ExchangeNumber<double>(dx, id, d, ParseExchangeDouble, kPromptNumber,
                           [](double v) { return FormatExchangeDouble(v, 6); });
    value = static_cast<float>(d);
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    CWnd* control = dx->PrepareEditCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = control->GetWindowText();
    else
        SetTextIfChanged(control, value);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    CWnd* control = dx->PrepareCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(control->SendMessage(BM_GETCHECK));
    else
        control->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    CWnd* first = dx->PrepareCtrl(id);
    if (!first)
        return;
    const std::vector<CWnd*> group = RadioGroupOf(first);
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->SendMessage(BM_GETCHECK) == BST_CHECKED) {
                value = static_cast<int>(i);
                break;
            }
    } else {
        for (std::size_t i = 0; i < group.size(); ++i)
            group[i]->SendMessage(BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    CWnd* control = dx->PrepareCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(control->SendMessage(CB_GETCURSEL));
    else
        control->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
}

void DDX_CBString(CDataExchange* dx, int id, std::string& value) {
    CWnd* control = dx->PrepareCtrl(id);
    if (!control)
        return;
    auto* combo = static_cast<CComboBox*>(control);
    if (dx->m_bSaveAndValidate) {
        value = control->GetWindowText();
    } else if ((control->GetStyle() & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
        combo->SelectString(-1, value);
    } else {
        control->SetWindowText(value);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
    CWnd* control = dx->PrepareCtrl(id);
    if (!control)
        return;
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(control->SendMessage(LB_GETCURSEL));
    else
        control->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd)
        return;
    dx->PrepareCtrl(id);
    control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        Prompt(dx, IntegerRangePrompt(minValue, maxValue));
}

void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue) {
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        Prompt(dx, IntegerRangePrompt(minValue, maxValue));
}

void DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue) {
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        Prompt(dx, IntegerRangePrompt(minValue, maxValue));
}

void DDV_MinMaxFloat(CDataExchange* dx, float value, float minValue, float maxValue) {
    DDV_MinMaxDouble(dx, value, minValue, maxValue);
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue) {
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        Prompt(dx, NumberRangePrompt(minValue, maxValue));
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int count) {
    if (dx->m_bSaveAndValidate && static_cast<int>(value.size()) > count)
        Prompt(dx, MaxCharsPrompt(count));
    if (!dx->m_bSaveAndValidate)
        if (CWnd* control = dx->m_pDlgWnd ? dx->m_pDlgWnd->GetDlgItem(dx->m_idLastControl) : nullptr)
            control->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(count));
}

// ---------------------------------------------------------------------------------------------
// CDialog

namespace {
CDialog::ModalHook g_modalHook;
} // namespace

CDialog::ModalHook CDialog::SetModalHookForTest(ModalHook hook) {
    return std::exchange(g_modalHook, std::move(hook));
}

CDialog::~CDialog() {
    if (loop_)
        loop_->exit();
}

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(), {
                                                           msg::Command(IDOK, &CDialog::OnOK),
                                                           msg::Command(IDCANCEL, &CDialog::OnCancel),
                                                       });
    return &map;
}

BOOL CDialog::Build(const DialogTemplate& t, CWnd* parent, bool modal) {
    if (m_hWnd)
        return FALSE;
    EnsureQtApplication();
    CWnd* owner = parent ? parent : AfxGetMainWnd();
    if (owner == this)
        owner = nullptr;
    QWidget* ownerWidget = owner ? owner->GetWidget() : nullptr;
    const bool child = (t.style & WS_CHILD) || (t.style & DS_CONTROL);
    if (child && !ownerWidget)
        return FALSE;
    QWidget* widget = nullptr;
    if (child) {
        widget = new QWidget(ownerWidget);
    } else {
        widget = new QWidget(ownerWidget ? ownerWidget->window() : nullptr, Qt::Dialog);
        widget->setWindowTitle(QString::fromStdString(t.caption));
    }
    DWORD style = t.style;
    if (modal)
        style |= WS_VISIBLE;
    AttachWidget(widget, child ? t.id : 0, style, t.exStyle, true);
    BuildControlsFromTemplate(this, t);
    baseUnits_ = BaseUnitsOfFont(t.fontName, t.fontPointSize);
    // The default button is the template's BS_DEFPUSHBUTTON, if any.
    defId_ = 0;
    for (const DialogControlTemplate& control : t.controls)
        if (StyleFamilyOfClass(control.className) == StyleFamily::Button &&
            (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            defId_ = static_cast<UINT>(control.id);
            break;
        }
    // Position: template units from the parent's client area; top-level dialogs without a position
    // (or with DS_CENTER) are centred on their owner.
    const CRect origin = DialogUnitsToPixels(CRect(t.x, t.y, t.x, t.y), baseUnits_);
    if (child) {
        widget->move(origin.left, origin.top);
    } else if ((t.style & DS_CENTER) || (t.x == 0 && t.y == 0)) {
        CenterWindow(owner);
    } else {
        CPoint p(origin.left, origin.top);
        if (owner)
            owner->ClientToScreen(&p);
        widget->move(p.x, p.y);
    }
    if (t.style & WS_DISABLED)
        widget->setEnabled(false);
    const HWND handle = m_hWnd;
    std::weak_ptr<int> alive = Life();
    const BOOL focusDefault = OnInitDialog();
    if (alive.expired() || !CWnd::FromHandle(handle))
        return FALSE;
    if (focusDefault) {
        // The first control that takes the tab key gets the focus.
        for (CWnd* c : GetChildren())
            if ((c->GetStyle() & WS_TABSTOP) && c->IsWindowEnabled() && !(c->GetStyle() & WS_DISABLED)) {
                c->SetFocus();
                break;
            }
    }
    // A modal dialog is shown by DoModal once it is made modal.
    if ((style & WS_VISIBLE) && !modal && !ended_)
        widget->show();
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    const DialogTemplate* t = FindDialogTemplate(static_cast<int>(templateId));
    if (!t)
        return FALSE;
    parent_ = parent;
    modal_ = false;
    ended_ = false;
    return Build(*t, parent, false);
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
    parent_ = parent;
    modal_ = false;
    ended_ = false;
    return Build(dialogTemplate, parent, false);
}

void CDialog::InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
    ownedIndirect_ = std::make_unique<DialogTemplate>(dialogTemplate);
    indirect_ = ownedIndirect_.get();
    if (parent)
        parent_ = parent;
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* t = indirect_ ? indirect_ : FindDialogTemplate(static_cast<int>(m_nIDHelp));
    if (!t || m_hWnd)
        return -1;
    modal_ = true;
    ended_ = false;
    result_ = IDCANCEL;
    // The owner takes no input while the dialog runs.
    CWnd* owner = parent_ ? parent_ : AfxGetMainWnd();
    QWidget* ownerTop = owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr;
    if (!Build(*t, parent_, true)) {
        modal_ = false;
        if (m_hWnd)
            DestroyWindow();
        return -1;
    }
    if (!ended_) {
        if (QWidget* w = GetWidget()) {
            w->setWindowModality(Qt::ApplicationModal);
            w->show();
        }
        if (g_modalHook && !ended_)
            g_modalHook(*this);
        if (!ended_ && m_hWnd) {
            QEventLoop loop;
            loop_ = &loop;
            loop.exec(QEventLoop::DialogExec);
            loop_ = nullptr;
        }
    }
    if (m_hWnd) {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    if (ownerTop)
        ownerTop->activateWindow();
    modal_ = false;
    return result_;
}

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (modal_) {
        if (loop_)
            loop_->exit(0);
    } else {
        // A modeless dialog only hides; its owner destroys it.
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::SetDefID(UINT id) {
    const UINT old = defId_;
    defId_ = id;
    for (UINT changed : {old, id})
        if (CWnd* button = changed ? GetDlgItem(static_cast<int>(changed)) : nullptr)
            if (auto* push = qobject_cast<QPushButton*>(button->GetWidget()))
                push->setDefault(changed == id);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(MAKELPARAM(defId_ ? defId_ : static_cast<UINT>(IDOK), DC_HASDEFID));
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (!control)
        return;
    control->SetFocus();
    if (qobject_cast<QLineEdit*>(control->GetWidget()))
        control->SendMessage(EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const {
    if (QWidget* w = GetWidget())
        if (QWidget* focus = QApplication::focusWidget(); focus && w->isAncestorOf(focus))
            focus->nextInFocusChain()->setFocus(Qt::TabFocusReason);
}

void CDialog::PrevDlgCtrl() const {
    if (QWidget* w = GetWidget())
        if (QWidget* focus = QApplication::focusWidget(); focus && w->isAncestorOf(focus))
            focus->previousInFocusChain()->setFocus(Qt::BacktabFocusReason);
}

void CDialog::MapDialogRect(CRect* rect) const {
    if (rect)
        *rect = DialogUnitsToPixels(*rect, baseUnits_);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // The dialog keys belong to the top-level dialog; a child dialog leaves them to it.
    QWidget* widget = GetWidget();
    if (!widget || !widget->isWindow() || msg->message != WM_KEYDOWN)
        return FALSE;
    if (QApplication::activePopupWidget())
        return FALSE; // an open drop-down list takes Enter and Esc itself
    if (msg->wParam == VK_ESCAPE) {
        CWnd* cancel = GetDlgItem(IDCANCEL);
        if (cancel && !cancel->IsWindowEnabled())
            return TRUE;
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    cancel ? reinterpret_cast<LPARAM>(cancel->m_hWnd) : 0);
        return TRUE;
    }
    if (msg->wParam != VK_RETURN)
        return FALSE;
    CWnd* focus = CWnd::GetFocus();
    if (focus && focus != this && IsChild(focus)) {
        if (qobject_cast<QPlainTextEdit*>(focus->GetWidget()) && (focus->GetStyle() & ES_WANTRETURN))
            return FALSE;
        if (focus->SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS)
            return FALSE;
        if (auto* push = qobject_cast<QPushButton*>(focus->GetWidget()); push && !push->isCheckable()) {
            SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(focus->GetDlgCtrlID()), BN_CLICKED),
                        reinterpret_cast<LPARAM>(focus->m_hWnd));
            return TRUE;
        }
    }
    const UINT id = LOWORD(SendMessage(DM_GETDEFID));
    CWnd* button = GetDlgItem(static_cast<int>(id));
    if (button && !button->IsWindowEnabled())
        return TRUE;
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                button ? reinterpret_cast<LPARAM>(button->m_hWnd) : 0);
    return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return static_cast<LRESULT>(GetDefID());
    case DM_SETDEFID:
        SetDefID(static_cast<UINT>(wParam));
        return TRUE;
    case WM_CLOSE: {
        // Closing a dialog is its cancel.
        CWnd* cancel = GetDlgItem(IDCANCEL);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    cancel ? reinterpret_cast<LPARAM>(cancel->m_hWnd) : 0);
        return 0;
    }
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

BOOL CDialog::DestroyWindow() {
    // A modal dialog destroyed from inside its loop ends the loop.
    if (modal_ && loop_) {
        ended_ = true;
        loop_->exit(0);
    }
    return CWnd::DestroyWindow();
}

void CDialogEx::SetBackgroundColor(COLORREF colour, BOOL repaint) {
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    if (repaint)
        widget->update();
}
