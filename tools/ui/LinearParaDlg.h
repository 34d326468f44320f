#pragma once
// CLinearParaDlg: the modal "Self-built Motor Parameter" dialog. The user describes a motor the drive
// does not know, as a rotary motor, a linear motor, or a rotary motor whose record goes into the
// encoder's memory; the dialog reads what the drive holds now, checks every field, writes the motor
// register by register (telling exactly where a refusal stopped it), reads the encoder record back,
// and keeps the data in a .par file.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"
#include "tools/MotorParFile.h"
#include "tools/MotorRanges.h"
#include "tools/MotorWritePlans.h"
#include "tools/SelfBuiltMotorRecord.h"
#include "tools/ui/MotorPages.h"

#include <array>
#include <optional>

class CKeloServoDoc;
class CRegisterServices;

class CLinearParaDlg : public CDialog {
public:
    // The dialog reaches the drive through the services; without a document it shows nothing.
    // featureLevel is the drive's 0x171E word (4 and above: the encoder record can be written).
    CLinearParaDlg(CRegisterServices* services, CKeloServoDoc* document, int featureLevel,
                   const CatalogueContext& context, CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void OnCancel() override;

    // Checks the fields of the page shown; true when one failed (shown only when `show`). For the
    // encoder record it also packs the record and shows its CRC.
    BOOL ValidateAndPack(bool show);

    // The values (constants x 1000, pole pitch x 10, resolution x 100).
    int m_motorType = 0; // 0 rotary, 1 linear, 2 encoder record
    std::array<int, 6> m_constants{};
    int m_rotaryMotorId = 0, m_rotarySpeed = 0, m_rotaryPolePairs = 0, m_rotaryMaxCurrent = 0,
        m_rotaryMaxSpeed = 0;
    int m_rotaryEncoderIndex = 0;
    int m_linearMotorId = 0, m_linearSpeed = 0, m_linearMaxCurrent = 0, m_polePitch = 0, m_resolution = 0;
    int m_voltageIndex = -1; // the DC voltage combos (shown, never chosen)
    EncoderRecordValues m_record;
    int m_encoderFactory = 0;
    int m_motorCode = 0; // register 0x0021 as last read

    CRotateDlg m_rotaryPage;
    CLinerPageDlg m_linearPage;
    CLinearPara1Dlg m_recordPage;

protected:
    void OnMotorTypeChanged(UINT id);
    void OnWrite();
    void OnOpenParFile();
    void OnSaveParFile();

private:
    CMotorPage& Page(int type);
    void ShowPage(int type);
    void ReadDrive();
    void ReadDocument();
    void ShowValues();         // members -> the three pages' controls
    void TakeValues(int type); // a page's controls -> members (what parses)
    RotaryFields RotaryTexts() const;
    LinearFields LinearTexts() const;
    RecordFields RecordTexts() const;
    void ShowWritten(const MotorWriteStep& step);
    ParSlots Slots() const;
    void ApplySlots(const ParReadResult& file);

    CRegisterServices* services_;
    CKeloServoDoc* document_;
    int featureLevel_;
    CatalogueContext context_;
};
