// The self-built motor dialog as the user meets it: what it reads when it opens, the range checks,
// the write sequences with their refusals, the encoder record with its read-back, the record kept
// after Cancel, and the .par file.
#include "MotorFixture.h"

#include "resources/ids/motortools.h"
#include "tests/support/PrivateHome.h"
#include "tools/ui/LinearParaDlg.h"

#include <fstream>
#include <functional>

namespace {

class MotorDialog : public MotorWindowFixture {
protected:
    // Opens the dialog as the view does and lets `user` act in it; a dialog left open is cancelled.
    void Run(int featureLevel, const std::function<void(CLinearParaDlg&)>& user, int featureWord = 0) {
        CatalogueContext context;
        context.seriesCode = 4;
        context.modelCode = ModelCode;
        context.connected = ConnectedFlag != 0;
        context.featureStatusWord = featureWord;
        ui::ModalScript script(
            {{IDD_SELF_BUILT_MOTOR, [&](CDialog& dialog) { user(static_cast<CLinearParaDlg&>(dialog)); }}});
        CLinearParaDlg dialog(&services, doc.get(), featureLevel, context);
        dialog.DoModal();
        ASSERT_EQ(script.Opened().size(), 1u);
    }

    void DriveHoldsAMotor() {
        drive->SetRegister(0x0021, 0xE53A); // motor id 3, encoder A
        drive->SetRegister(0x1003, 3000);
        drive->SetRegister(0x1004, 4);
        const uint32_t constants[6] = {2500, 1100, 2200, 30000, 640, 1200};
        for (int i = 0; i < 6; ++i)
            drive->SetRegister32(static_cast<uint16_t>(0x1005 + 2 * i), constants[i]);
        drive->SetRegister(0x1011, 300);
        drive->SetRegister(0x1014, 320);
        drive->SetRegister32(0x1015, 12345);
        drive->SetRegister(0x1018, 120);
        const uint16_t record[23] = {0x1252, 0x3456, 2500, 5, 2000, 0,   1000,   0,      3000,   0, 40000, 0,
                                     700,    0,      1500, 0, 250,  150, 0x020C, 0x071A, 0x1001, 3, 0xBEEF};
        motor->StoreRecordWords(record);
        drive->SetRegister(0x113F, 0x0100);
    }

    static void FillRotary(CLinearParaDlg& d) {
        CWnd& page = d.m_rotaryPage;
        ui::Type(page, IDC_MOTOR_ID, "2");
        ui::Type(page, IDC_MOTOR_RATED_SPEED, "3000");
        ui::Type(page, IDC_MOTOR_POLE_PAIRS, "5");
        // The mask places the point after six digits; a text without one is a whole number.
        const char* constants[6] = {"12", "000001.100", "000002.200", "30", "000000.640", "000001.200"};
        for (int i = 0; i < 6; ++i)
            ui::Type(page, IDC_MOTOR_RATED_CURRENT + i, constants[i]);
        ui::Type(page, IDC_MOTOR_MAX_CURRENT, "300");
        ui::Type(page, IDC_MOTOR_MAX_SPEED, "120");
        ui::Choose(page, IDC_MOTOR_ENCODER, 3); // 7: 17bit(INC)
    }

    static void FillRecord(CLinearParaDlg& d) {
        CWnd& page = d.m_recordPage;
        const std::pair<int, const char*> fields[] = {
            {IDC_RECORD_MANUFACTURER, "18"}, {IDC_RECORD_SERIES, "13398"}, {IDC_RECORD_YEAR, "26"},
            {IDC_RECORD_WEEK, "7"},          {IDC_MOTOR_ID, "4097"},       {IDC_RECORD_VERSION, "3"},
            {IDC_MOTOR_RATED_SPEED, "3000"}, {IDC_MOTOR_POLE_PAIRS, "5"},  {IDC_RECORD_MAX_CURRENT, "300"},
            {IDC_MOTOR_MAX_SPEED, "150"},
        };
        for (const auto& [id, text] : fields)
            ui::Type(page, id, text);
        const char* constants[6] = {"000002.500", "000001.100", "000002.200",
                                    "30",         "000000.640", "536870.911"};
        for (int i = 0; i < 6; ++i)
            ui::Type(page, IDC_RECORD_CURRENT + i, constants[i]);
        ui::Choose(page, IDC_RECORD_VOLTAGE, 1);
        ui::Choose(page, IDC_MOTOR_ENCODER, 3); // C: 23bit(INC)
        ui::Choose(page, IDC_RECORD_FACTORY, 1);
        EXPECT_EQ(ui::Selected(page, IDC_RECORD_FACTORY), 1);
    }
};

TEST_F(MotorDialog, OpensWithWhatTheDriveHolds) {
    DriveHoldsAMotor();
    Run(4, [&](CLinearParaDlg& d) {
        EXPECT_TRUE(ui::Enabled(d, IDC_MOTOR_RECORD));
        EXPECT_TRUE(ui::Enabled(d, IDC_MOTOR_WRITE));
        EXPECT_FALSE(ui::Enabled(d, IDC_MOTOR_ONE16));
        EXPECT_TRUE(ui::Checked(d, IDC_MOTOR_ROTARY));
        EXPECT_TRUE(d.m_rotaryPage.IsWindowVisible());
        EXPECT_FALSE(d.m_recordPage.IsWindowVisible());
        CWnd& rotary = d.m_rotaryPage;
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_ID), "3");
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_RATED_SPEED), "3000");
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_RATED_CURRENT), "000002.500");
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_NOW_CURRENT), " 2.500");
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_NOW_ENCODER), "A");
        EXPECT_EQ(ui::SelectedText(rotary, IDC_MOTOR_ENCODER), "A: 17bit(ABS)");
        EXPECT_EQ(ui::Text(rotary, IDC_MOTOR_NOW_MAX_SPEED), "120");
        EXPECT_FALSE(ui::Enabled(rotary, IDC_MOTOR_DC_VOLTAGE));
        CWnd& linear = d.m_linearPage;
        EXPECT_EQ(ui::Text(linear, IDC_MOTOR_POLE_PITCH), "0032.0");
        EXPECT_EQ(ui::Text(linear, IDC_MOTOR_NOW_PITCH), "32.0");
        EXPECT_EQ(ui::Text(linear, IDC_MOTOR_RESOLUTION), "00123.45");
        CWnd& record = d.m_recordPage;
        EXPECT_EQ(ui::Text(record, IDC_STORED_MANUFACTURER), "18");
        EXPECT_EQ(ui::Text(record, IDC_STORED_YEAR_WEEK), "26/7");
        EXPECT_EQ(ui::Text(record, IDC_STORED_CRC), "BEEF");
        EXPECT_EQ(ui::Text(record, IDC_STORED_ENCODER), "C");
        EXPECT_EQ(ui::Text(record, IDC_RECORD_SERIES), "13398");
        EXPECT_EQ(ui::SelectedText(record, IDC_RECORD_VOLTAGE), "2:400V");
        EXPECT_EQ(ui::SelectedText(record, IDC_MOTOR_ENCODER), "C:23bit(INC)");
        EXPECT_EQ(ui::SelectedText(record, IDC_RECORD_FACTORY), "1:Not Tamagawa");
        EXPECT_EQ(ui::Text(record, IDC_RECORD_CURRENT + 5), "000001.500");

        ui::Press(d, IDC_MOTOR_RECORD);
        EXPECT_TRUE(d.m_recordPage.IsWindowVisible());
        EXPECT_FALSE(d.m_rotaryPage.IsWindowVisible());
    });
    EXPECT_FALSE(AnyWrite());
}

TEST_F(MotorDialog, FeatureLevel3LeavesTheEncoderRecordOut) {
    DriveHoldsAMotor();
    Run(3, [&](CLinearParaDlg& d) {
        EXPECT_FALSE(ui::Enabled(d, IDC_MOTOR_RECORD));
        EXPECT_EQ(ui::Text(d.m_recordPage, IDC_STORED_MANUFACTURER), "");
    });
    for (const std::string& request : Requests())
        EXPECT_EQ(request.find("1B"), std::string::npos) << request;
}

TEST_F(MotorDialog, WithoutALinkTheDocumentFillsThePages) {
    UnlinkSimulatedDrive(*server);
    *doc->FindValue("onE03") = 2000;
    *doc->FindValue("onE05") = 1500;
    Run(4, [&](CLinearParaDlg& d) {
        EXPECT_FALSE(ui::Enabled(d, IDC_MOTOR_WRITE));
        EXPECT_EQ(ui::Text(d.m_rotaryPage, IDC_MOTOR_RATED_SPEED), "2000");
        EXPECT_EQ(ui::Text(d.m_linearPage, IDC_MOTOR_RATED_CURRENT), "000001.500");
    });
    EXPECT_TRUE(drive->RequestLog().empty());
}

TEST_F(MotorDialog, OutOfRangeFieldsAreListedTogetherAndNothingIsWritten) {
    DriveHoldsAMotor();
    Run(4, [&](CLinearParaDlg& d) {
        CWnd& page = d.m_rotaryPage;
        ui::Type(page, IDC_MOTOR_RATED_SPEED, "999");
        ui::Type(page, IDC_MOTOR_POLE_PAIRS, "17");
        ui::Type(page, IDC_MOTOR_RATED_CURRENT, "000000.000");
        ui::Type(page, IDC_MOTOR_RATED_CURRENT + 5, "536870.912");
        drive->ClearLog();
        ui::Press(d, IDC_MOTOR_WRITE);
    });
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0],
              "Rated Speed\nMotor Pole Pairs Number\nRated Current\nMover Mass\nOver Range!!\n\n\n");
    EXPECT_FALSE(AnyWrite());
}

TEST_F(MotorDialog, RotaryWriteRunsToWriteFinishAndCloses) {
    DriveHoldsAMotor();
    drive->SetRegister(0x0C12, 4);
    drive->SetRegister(0x1001, 0x1157);
    for (const int featureWord : {0, 1}) {
        drive->SetRegister(0x170A, static_cast<uint16_t>(featureWord));
        messages->Clear();
        messages->Answer(IDYES);
        bool closed = false;
        Run(
            4,
            [&](CLinearParaDlg& d) {
                FillRotary(d);
                drive->ClearLog();
                ui::Press(d, IDC_MOTOR_WRITE);
                closed = d.GetSafeHwnd() == nullptr || !d.IsWindowVisible();
            },
            featureWord);
        EXPECT_EQ(Shown(), (std::vector<std::string>{
                               "Do you want to write parameters?\r\nSet value is available after repower!",
                               "Write Finish!"}));
        // Rating 4 is type 5 on a drive without the feature and 4 on one with it.
        const int motorCode = (featureWord ? 0xE000 + 4 * 256 : 0xF000 + 5 * 256) + 2 * 16 + 7;
        const std::vector<std::string> requests = Requests();
        ASSERT_GE(requests.size(), 3u);
        EXPECT_EQ(requests[0], "R1170A");
        EXPECT_EQ(requests[1], "R10C12");
        EXPECT_EQ(requests[2], W1(0x0021, motorCode)) << featureWord;
        EXPECT_EQ(drive->GetRegister32(0x1005), 12000u) << "12 becomes 12000";
        EXPECT_EQ(drive->GetRegister(0x1001), 0x157);
    }
}

TEST_F(MotorDialog, ARefusedWriteNamesItsFieldAndKeepsTheDialogOpen) {
    DriveHoldsAMotor();
    struct Case {
        uint16_t refused;
        const char* message;
    } cases[] = {
        {0x0021, "Write Failed!"}, {0x1007, "onE06 Write Failed!"}, {0x1011, "onE11 Over Range!!\n\n"},
        {0x1018, "Write Failed!"}, {0x0020, "Cn029 Write Failed!"},
    };
    for (const Case& c : cases) {
        drive->RefuseAddress(c.refused);
        messages->Clear();
        messages->Answer(IDYES);
        Run(4, [&](CLinearParaDlg& d) {
            FillRotary(d);
            ui::Press(d, IDC_MOTOR_WRITE);
            EXPECT_TRUE(d.IsWindowVisible()) << c.message;
            if (c.refused == 0x1018) {
                EXPECT_EQ(ui::Text(d.m_rotaryPage, IDC_MOTOR_NOW_MAX_CURRENT), "300") << "written before";
            }
        });
        drive->RefuseAddress(c.refused, false);
        ASSERT_EQ(Shown().size(), 2u);
        EXPECT_EQ(Shown()[1], c.message);
    }
}

TEST_F(MotorDialog, EncoderRecordIsVerifiedAndRememberedAfterCancel) {
    DriveHoldsAMotor();
    // The drive keeps another product series than the one written.
    SimRegisterRule stale;
    stale.onRead = [](uint16_t) -> uint16_t { return 0x9999; };
    drive->SetRule(0x101A, stale);
    messages->Answer(IDYES);
    std::string crc;
    Run(4, [&](CLinearParaDlg& d) {
        ui::Press(d, IDC_MOTOR_RECORD);
        FillRecord(d);
        drive->ClearLog();
        ui::Press(d, IDC_MOTOR_WRITE);
        crc = ui::Text(d.m_recordPage, IDC_RECORD_CRC);
    });
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back(), "Write Failed!");
    ASSERT_GE(Requests().size(), 3u);
    EXPECT_EQ(Requests()[2], W1(0x1003, 3000));
    EXPECT_EQ(drive->GetRegister(0x101F), std::stoi(crc, nullptr, 16));
    // The dialog closed through its Cancel: the record is kept for the next opening.
    ASSERT_TRUE(RememberedEncoderRecord.valid);
    EXPECT_EQ(RememberedEncoderRecord.values.productSeries, 13398);
    EXPECT_EQ(RememberedEncoderRecord.values.jm, 536870911);

    Run(4, [&](CLinearParaDlg& d) {
        EXPECT_EQ(ui::Text(d.m_recordPage, IDC_RECORD_SERIES), "13398");
        // An all-zero page leaves what was kept.
        for (int id : {IDC_RECORD_MANUFACTURER, IDC_RECORD_SERIES, IDC_RECORD_YEAR, IDC_RECORD_WEEK,
                       IDC_MOTOR_ID, IDC_RECORD_VERSION, IDC_MOTOR_RATED_SPEED, IDC_MOTOR_POLE_PAIRS,
                       IDC_RECORD_MAX_CURRENT, IDC_MOTOR_MAX_SPEED})
            ui::Type(d.m_recordPage, id, "0");
        for (int i = 0; i < 6; ++i)
            ui::Type(d.m_recordPage, IDC_RECORD_CURRENT + i, "0");
        ui::Press(d, IDCANCEL);
    });
    EXPECT_EQ(RememberedEncoderRecord.values.productSeries, 13398);
}

TEST_F(MotorDialog, EncoderRecordWrittenWholeEndsInWriteFinish) {
    messages->Answer(IDYES);
    Run(4, [&](CLinearParaDlg& d) {
        ui::Press(d, IDC_MOTOR_RECORD);
        FillRecord(d);
        ui::Press(d, IDC_MOTOR_WRITE);
    });
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back(), "Write Finish!");
    EXPECT_EQ(drive->GetRegister(0x1001), 0x1101 + 16) << "encoder factory 1";
    EXPECT_EQ(drive->GetRegister(0x1B02), 13398) << "the drive stored the record";
}

TEST_F(MotorDialog, ParFileSavesAndOpensAllThreePages) {
    ScratchFolder folder("kelo-motor-par");
    const std::string path = folder / "motor.par";
    std::map<int, std::string> rotary, linear, record;
    auto texts = [](CWnd& page, std::initializer_list<int> ids) {
        std::map<int, std::string> values;
        for (int id : ids)
            values[id] = ui::Text(page, id);
        values[-1] = ui::SelectedText(page, IDC_MOTOR_ENCODER);
        return values;
    };
    const auto rotaryIds = {
        IDC_MOTOR_ID, IDC_MOTOR_RATED_SPEED, IDC_MOTOR_POLE_PAIRS, 6076, 6077, 6078, 6079, 6080,
        6081,         IDC_MOTOR_MAX_CURRENT, IDC_MOTOR_MAX_SPEED};
    const auto linearIds = {IDC_MOTOR_ID,         IDC_MOTOR_RATED_SPEED, 6076, 6081, IDC_MOTOR_MAX_CURRENT,
                            IDC_MOTOR_POLE_PITCH, IDC_MOTOR_RESOLUTION};
    const auto recordIds = {IDC_RECORD_MANUFACTURER,
                            IDC_RECORD_SERIES,
                            IDC_RECORD_YEAR,
                            IDC_RECORD_WEEK,
                            IDC_MOTOR_ID,
                            IDC_RECORD_VERSION,
                            IDC_RECORD_CRC,
                            6080,
                            6085,
                            IDC_MOTOR_MAX_SPEED};
    messages->AnswerFile(path);
    Run(4, [&](CLinearParaDlg& d) {
        ui::Press(d, IDC_MOTOR_RECORD);
        FillRecord(d);
        ui::Press(d, IDC_MOTOR_LINEAR);
        ui::Type(d.m_linearPage, IDC_MOTOR_ID, "1");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_SPEED, "2000");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT, "000003.250");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT + 1, "1");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT + 2, "1");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT + 3, "1");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT + 4, "1");
        ui::Type(d.m_linearPage, IDC_MOTOR_RATED_CURRENT + 5, "000008.500");
        ui::Type(d.m_linearPage, IDC_MOTOR_MAX_CURRENT, "250");
        ui::Type(d.m_linearPage, IDC_MOTOR_POLE_PITCH, "0032.5");
        ui::Type(d.m_linearPage, IDC_MOTOR_RESOLUTION, "00000.50");
        ui::Press(d, IDC_MOTOR_SAVE);
        rotary = texts(d.m_rotaryPage, rotaryIds);
        linear = texts(d.m_linearPage, linearIds);
        record = texts(d.m_recordPage, recordIds);
    });
    ASSERT_TRUE(messages->Shown().empty()) << Shown()[0];
    ASSERT_EQ(messages->FileRequests().size(), 1u);
    EXPECT_FALSE(messages->FileRequests()[0].open);
    EXPECT_EQ(messages->FileRequests()[0].filter, "Linear Data Files (*.par)|*.par||");

    RememberedEncoderRecord = {};
    messages->AnswerFile(path);
    Run(4, [&](CLinearParaDlg& d) {
        ui::Press(d, IDC_MOTOR_LINEAR);
        ui::Press(d, IDC_MOTOR_OPEN);
        EXPECT_TRUE(ui::Checked(d, IDC_MOTOR_LINEAR)) << "the motor type stays";
        EXPECT_EQ(texts(d.m_linearPage, linearIds), linear);
        EXPECT_EQ(texts(d.m_recordPage, recordIds), record);
        auto opened = texts(d.m_rotaryPage, rotaryIds);
        // The rotary page shares the constants, the speed and the maximum current of the linear one;
        // slot 11 holds the linear motor id, which the rotary encoder combo reads as its code.
        for (int id : {6076, 6081, IDC_MOTOR_RATED_SPEED, IDC_MOTOR_MAX_CURRENT})
            EXPECT_EQ(opened[id], linear[id]) << id;
        EXPECT_EQ(opened[IDC_MOTOR_POLE_PAIRS], rotary[IDC_MOTOR_POLE_PAIRS]);
        EXPECT_EQ(opened[IDC_MOTOR_MAX_SPEED], rotary[IDC_MOTOR_MAX_SPEED]);
        EXPECT_EQ(opened[-1], "1: 2500ppr");
    });
    EXPECT_EQ(messages->FileRequests()[1].filter, "Linear Data Files (*.par)|*.par|All Files (*.*)|*.*||");
}

TEST_F(MotorDialog, ParFilesThatCannotBeUsedChangeNothing) {
    ScratchFolder folder("kelo-motor-par");
    std::ofstream(folder / "garbage.par", std::ios::binary) << std::string(400, '\x7F');
    std::ofstream(folder / "empty.par", std::ios::binary);
    messages->AnswerFile(folder / "garbage.par");
    messages->AnswerFile(folder / "empty.par");
    messages->AnswerFile(folder / "motor.txt");
    messages->AnswerFile(folder / "missing/motor.par");
    Run(4, [&](CLinearParaDlg& d) {
        ui::Type(d.m_rotaryPage, IDC_MOTOR_RATED_SPEED, "2500");
        ui::Press(d, IDC_MOTOR_OPEN);
        ui::Press(d, IDC_MOTOR_OPEN);
        EXPECT_EQ(ui::Text(d.m_rotaryPage, IDC_MOTOR_RATED_SPEED), "2500");
        FillRotary(d);
        ui::Press(d, IDC_MOTOR_SAVE); // another ending: nothing written, nothing said
        ui::Press(d, IDC_MOTOR_SAVE); // a folder that does not exist
    });
    ASSERT_EQ(Shown().size(), 3u);
    EXPECT_NE(Shown()[0].find("no header line"), std::string::npos) << Shown()[0];
    EXPECT_NE(Shown()[1].find("empty"), std::string::npos) << Shown()[1];
    EXPECT_NE(Shown()[2].find("could not be saved"), std::string::npos) << Shown()[2];
    EXPECT_FALSE(std::ifstream(folder / "motor.txt").good());
}

} // namespace
