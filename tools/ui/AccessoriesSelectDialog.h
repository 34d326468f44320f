#pragma once
// CAccessoriesSelectDialog: the modal "Accessories Selection" dialog. The user picks a drive type, a
// motor of that drive's capacity group and the motor's encoder; the list shows the cables,
// connectors and other parts that go with them, with their part numbers and lengths. Offline only.
#include "framework/ui/Dialog.h"
#include "framework/ui/ListCtrl.h"

#include <string>

class CAccessoriesSelectDialog : public CDialog {
public:
    // brandMode 3 shows the other series name and drive prefix.
    explicit CAccessoriesSelectDialog(int brandMode, CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    int m_series = 0;
    int m_driveType = 0;
    int m_motor = 0;
    int m_encoder = 0;
    unsigned m_motorTypeCode = 0; // of the motor chosen, low four bits 0
    int m_encoderCode = 1;
    CListCtrl m_list;

    // The dialog's twin of the motor model table: group 13 offers only its first six rows; outside
    // the table "HBMQ-------" and type code 0.
    static int MotorRowsOffered(int group);
    static std::string MotorModelText(int group, int row, unsigned* typeCode);

protected:
    void OnSeriesChanged();
    void OnDriveTypeChanged();
    void OnMotorChanged();
    void OnEncoderChanged();

private:
    void FillDriveTypes();
    void FillMotors();
    void FillEncoders();
    void ShowModelTexts();
    void FillList();

    int brandMode_;
};
