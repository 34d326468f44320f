#include "valueedit/ValueEntryDlg.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "resources/ids/valueedit.h"
#include "valueedit/EditorEnvironment.h"
#include "valueedit/ValueText.h"

CValueEntryDlg::CValueEntryDlg(Variant variant, UINT templateId) : CDialog(templateId), variant_(variant) {}

CEditValueDialog::CEditValueDialog() : CValueEntryDlg(Variant::Generic, IDD_VE_VALUE) {}

CEditValueLongDialog::CEditValueLongDialog() : CValueEntryDlg(Variant::Long, IDD_VE_VALUE_LONG) {}

CCn005Dialog::CCn005Dialog() : CValueEntryDlg(Variant::Cn005, IDD_VE_CN005) {}

const MessageMap* CValueEntryDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Control(EN_CHANGE, IDC_VE_VALUE, &CValueEntryDlg::OnDecimalTextChanged),
            msg::Control(EN_CHANGE, IDC_VE_HEX, &CValueEntryDlg::OnHexTextChanged),
            msg::Notify(UDN_DELTAPOS, IDC_VE_SPIN, &CValueEntryDlg::OnSpinDelta),
        });
    return &map;
}

void CValueEntryDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_VE_HEX, hexEdit_);
    DDX_Control(dx, IDC_VE_SPIN, spin_);
    DDX_Text(dx, IDC_VE_VALUE, m_Value);
}

int CValueEntryDlg::EntryId() const {
    return HexMode() ? IDC_VE_HEX : IDC_VE_VALUE;
}

void CValueEntryDlg::ShowEntry(int id, const std::string& text) {
    ++updating_;
    SetDlgItemText(id, text);
    --updating_;
}

BOOL CValueEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_VE_CODE, m_Code);
    SetDlgItemText(IDC_VE_TITLE, " " + m_Title);
    SetDlgItemText(IDC_VE_UNIT, m_Unit);
    SetDlgItemText(IDC_VE_RANGE, m_RangeText);
    SetDlgItemText(IDC_VE_EXPLANATION, ParamExplanation(m_Code, ResourceStringLoader()));
    // The model button serves Cn030 only, which never reaches these editors.
    if (CWnd* button = GetDlgItem(IDC_VE_SET_MODEL))
        button->ShowWindow(ParamText(m_Code) == "Cn030" ? SW_SHOW : SW_HIDE);

    const bool alarmCode = m_Code == "Cn054" || m_Code == "Cn082";
    switch (variant_) {
    case Variant::Generic:
        mode_ = GenericEntryMode(m_Code, ParamFlags(m_Code, EditorContext()));
        break;
    case Variant::AlarmMask:
        mode_ = alarmCode ? EntryMode::Hex4 : EntryMode::Decimal;
        break;
    default:
        mode_ = EntryMode::Decimal;
        break;
    }

    CWnd* decimal = GetDlgItem(IDC_VE_VALUE);
    SpinRange range{m_Min, m_Max};
    if (variant_ == Variant::Generic)
        range = GenericSpinRange(m_Min, m_Max);
    if (HexMode()) {
        if (decimal)
            decimal->ShowWindow(SW_HIDE);
        hexEdit_.ShowWindow(SW_SHOW);
        hexEdit_.SetMask(EntryMask(mode_));
        // The masked entry cuts a text it does not accept before the dialog hears of it, so the
        // spin's "0x" form would arrive as "0"; the dialog writes the stepped value itself.
        spin_.SetBuddy(nullptr);
        spin_.SetBase(16);
    } else {
        hexEdit_.ShowWindow(SW_HIDE);
        if (auto* edit = dynamic_cast<CEdit*>(decimal)) {
            int limit = 7;
            if (variant_ == Variant::Generic)
                limit = GenericTextLimit(m_Code, m_Min, m_Max);
            else if (variant_ == Variant::Long)
                limit = std::max(10, std::max(DecimalWidth(m_Min), DecimalWidth(m_Max)));
            edit->SetLimitText(static_cast<UINT>(limit));
            edit->ShowWindow(SW_SHOW);
        }
        spin_.SetBuddy(decimal);
        spin_.SetBase(10);
    }
    spin_.SetRange32(range.lower, range.upper);
    spin_.SetPos32(m_Value);
    // The spin writes its own text form into the buddy; show the value in ours.
    ShowEntry(EntryId(), FormatEntry(mode_, m_Value));
    ShowBits();
    ready_ = true;
    return TRUE;
}

void CValueEntryDlg::OnDecimalTextChanged() {
    if (!ready_ || updating_ || HexMode())
        return;
    const std::string text = GetDlgItemText(IDC_VE_VALUE);
    if (variant_ == Variant::Cn005 || variant_ == Variant::AlarmMask) {
        // The exchange's own integer check reports a text that is no number; the value stays.
        CDataExchange dx(this, TRUE);
        int typed = m_Value;
        try {
            DDX_Text(&dx, IDC_VE_VALUE, typed);
        } catch (const CUserException&) {
            return;
        }
        if (typed > m_Max)
            ShowEntry(IDC_VE_VALUE, FormatEntry(mode_, m_Value));
        else
            m_Value = typed;
        return;
    }
    const TypedValue typed = TypeDecimal(text, m_Value, m_Min, m_Max);
    m_Value = typed.value;
    if (typed.revert)
        ShowEntry(IDC_VE_VALUE, FormatEntry(mode_, m_Value));
}

void CValueEntryDlg::OnHexTextChanged() {
    if (!ready_ || updating_ || !HexMode())
        return;
    const std::string text = hexEdit_.GetWindowText();
    const std::string cleaned = StripHexPrefix(text);
    if (cleaned != text)
        ShowEntry(IDC_VE_HEX, cleaned);
    const TypedValue typed = variant_ == Variant::AlarmMask ? TypeHexAlarmMask(cleaned, m_Value, m_Max)
                                                            : TypeHexGeneric(cleaned, mode_, m_Value, m_Max);
    m_Value = typed.value;
    if (typed.revert)
        ShowEntry(IDC_VE_HEX, FormatEntry(mode_, m_Value));
    spin_.SetPos32(m_Value);
    ShowBits();
}

void CValueEntryDlg::OnSpinDelta(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* updown = reinterpret_cast<const NMUPDOWN*>(header);
    const long long target = static_cast<long long>(updown->iPos) + updown->iDelta;
    if (variant_ == Variant::Generic && target < m_Min) {
        *result = 1;
        return;
    }
    if (HexMode()) {
        int lower = 0;
        int upper = 0;
        spin_.GetRange32(lower, upper);
        if (target < std::min(lower, upper) || target > std::max(lower, upper))
            return;
        // As if the step had been typed: the hexadecimal entry's own rule takes it.
        SetDlgItemText(IDC_VE_HEX, FormatEntry(mode_, static_cast<int>(target)));
    }
}

void CValueEntryDlg::OnOK() {
    const std::string text = GetDlgItemText(IDC_VE_VALUE);
    int accepted = m_Value;
    const OkVerdict verdict = JudgeOk(m_Code, HexMode(), text, m_Value, m_Min, m_Max, &accepted);
    if (verdict == OkVerdict::NotInteger) {
        // The exchange's own integer check tells the user; the dialog stays open.
        UpdateData(TRUE);
        return;
    }
    if (verdict == OkVerdict::OutOfRange) {
        if (CWnd* entry = GetDlgItem(EntryId())) {
            entry->SetFocus();
            if (auto* edit = dynamic_cast<CEdit*>(entry))
                edit->SetSel(0, -1);
        }
        ShowMessage(LoadResString(IDS_VE_OUT_OF_RANGE));
        return;
    }
    m_Value = accepted;
    m_Result = accepted;
    EndDialog(IDOK);
}
