// The resonance notch filter set: what it shows of the drive, which presets it refuses, and what it
// writes.
#include "AnalysisFixture.h"

#include "catalogue/RegisterMap.h"
#include "resources/ids/tuning.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/DriveParameters.h"
#include "tuning/NotchFilterSet.h"
#include "tuning/ui/FarFilterSetupDlg.h"

#include <functional>

namespace {

class NotchFilterSet : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < NotchFieldCount; ++i)
            ASSERT_TRUE(SetDriveParameter(*drive, NotchFields[i].code, NotchFields[i].minimum + i + 1));
    }
    // Runs the dialog; the user acts, then the dialog is left (closed unless Write closed it).
    void Session(const std::function<void(CFarFilterSetupDlg&)>& user) {
        CFarFilterSetupDlg dialog(nullptr, services);
        ui::ModalScript script(
            {{IDD_FAR_FILTER_SETUP, [&](CDialog& d) { user(static_cast<CFarFilterSetupDlg&>(d)); }}});
        result = dialog.DoModal();
    }
    int writes() const {
        int count = 0;
        for (const std::string& request : Requests())
            count += request.rfind("W", 0) == 0;
        return count;
    }
    int result = 0;
};

TEST_F(NotchFilterSet, ShowsTheDriveAndNeverPresetsAFailedRead) {
    const uint16_t cn066 = ParamCodeRegisterAddress("Cn066").value();
    drive->RefuseAddress(cn066);
    *doc->FindValue("Cn066") = 777;
    Session([&](CFarFilterSetupDlg& dialog) {
        EXPECT_EQ(ui::Text(dialog, IDC_FAR_FIRST_CURRENT), "51");
        EXPECT_EQ(ui::Text(dialog, IDC_FAR_FIRST_EDIT), "51");
        EXPECT_EQ(ui::Text(dialog, IDC_FAR_FIRST_CURRENT + 3), "----");
        EXPECT_EQ(ui::Text(dialog, IDC_FAR_FIRST_EDIT + 3), "777");
        EXPECT_EQ(ui::Text(dialog, IDC_FAR_FIRST_CURRENT + 4), "6");
    });
}

TEST_F(NotchFilterSet, RangesInTableOrder) {
    struct Case {
        std::vector<std::pair<int, std::string>> typed; // field index, text
        std::string message;                            // "" when the values pass
    };
    const std::vector<Case> cases = {
        {{{0, "49"}}, "The 1st filter frequency is out of the set range!"},
        {{{0, "5001"}}, "The 1st filter frequency is out of the set range!"},
        {{{3, "-50"}}, "The second filter frequency is out of the set range!"},
        {{{12, ""}}, "The 5th filter frequency is out of the set range!"},
        {{{1, "0"}, {5, "2000"}}, "The 1st filter quality factor is out of the set range!"},
        {{{14, "1001"}}, "The 5th set of filter depth is out of the set range!"},
        {{{0, "50"}, {3, "5000"}, {2, ""}, {14, "0"}}, ""},
    };
    for (const Case& c : cases) {
        drive->ClearLog();
        messages->Clear();
        Session([&](CFarFilterSetupDlg& dialog) {
            for (const auto& [field, text] : c.typed)
                ui::Type(dialog, IDC_FAR_FIRST_EDIT + field, text);
            ui::Press(dialog, IDOK);
        });
        if (c.message.empty()) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(writes(), NotchFieldCount);
            EXPECT_EQ(drive->GetRegister(ParamCodeRegisterAddress("Cn013").value()), 50);
            EXPECT_EQ(drive->GetRegister(ParamCodeRegisterAddress("Cn066").value()), 5000);
            EXPECT_EQ(drive->GetRegister(ParamCodeRegisterAddress("Cn065").value()), 0);
            EXPECT_EQ(*doc->FindValue("Cn077"), 0);
            ASSERT_EQ(Shown().size(), 1u);
            EXPECT_EQ(Shown()[0].rfind("Write successfully!!", 0), 0u) << Shown()[0];
        } else {
            EXPECT_EQ(Shown(), std::vector<std::string>{c.message});
            EXPECT_EQ(writes(), 0) << c.message;
            EXPECT_NE(result, IDOK);
        }
    }
}

TEST_F(NotchFilterSet, WithoutALinkNothingIsWritten) {
    Session([&](CFarFilterSetupDlg& dialog) {
        ConnectedFlag = 0;
        drive->ClearLog();
        ui::Press(dialog, IDOK);
        EXPECT_EQ(Shown().back(), "Communicate Error!");
        EXPECT_EQ(writes(), 0);
        ConnectedFlag = 1;
    });
}

} // namespace
