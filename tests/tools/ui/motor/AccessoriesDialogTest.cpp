// The accessories selection as the user meets it: the combos, the two model texts and the list.
#include "catalogue/MotorTables.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "resources/ids/motortools.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "tests/support/WindowTestHome.h"
#include "tools/ui/AccessoriesSelectDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace {

class AccessoriesDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const auto module = ProgramResources();
        ASSERT_NE(module, nullptr);
        resources_ = std::make_unique<ScopedResourceModule>(module);
    }
    void Run(int brandMode, const std::function<void(CAccessoriesSelectDialog&)>& user) {
        ui::ModalScript script({{IDD_ACCESSORIES_SELECT, [&](CDialog& dialog) {
                                     user(static_cast<CAccessoriesSelectDialog&>(dialog));
                                 }}});
        CAccessoriesSelectDialog dialog(brandMode);
        dialog.DoModal();
    }
    // Part number by accessory name, as the list shows them.
    static std::map<std::string, std::string> Parts(CAccessoriesSelectDialog& d) {
        std::map<std::string, std::string> parts;
        for (int i = 0; i < d.m_list.GetItemCount(); ++i)
            parts[d.m_list.GetItemText(i, 0)] = d.m_list.GetItemText(i, 1);
        return parts;
    }
    // Row of a type code in a group of the motor table, -1 when it is not there.
    static int RowOf(int group, unsigned typeCode) {
        for (int row = 0; row < CAccessoriesSelectDialog::MotorRowsOffered(group); ++row) {
            unsigned code = 0;
            CAccessoriesSelectDialog::MotorModelText(group, row, &code);
            if (code == typeCode)
                return row;
        }
        return -1;
    }
    ScriptedMessages messages;
    std::unique_ptr<ScopedResourceModule> resources_;
};

TEST_F(AccessoriesDialog, ChoicesChangeTheTextsAndTheList) {
    const int group = MotorCodeToGroup(0x1010);
    const int row = RowOf(group, 0x1010);
    ASSERT_GE(row, 0);
    Run(0, [&](CAccessoriesSelectDialog& d) {
        EXPECT_EQ(ui::SelectedText(d, IDC_ACCESSORY_SERIES), "HBVZR3");
        EXPECT_EQ(ui::Text(d, IDC_ACCESSORY_DRIVE_TEXT), "HBVZR3-D01");
        ui::Choose(d, IDC_ACCESSORY_DRIVE, group);
        EXPECT_EQ(ui::Text(d, IDC_ACCESSORY_DRIVE_TEXT), "HBVZR3-" + LoadResString(8 + group));
        ui::Choose(d, IDC_ACCESSORY_MOTOR, row);
        EXPECT_EQ(ui::Selected(d, IDC_ACCESSORY_ENCODER), 0);
        const std::string model = CAccessoriesSelectDialog::MotorModelText(group, row, nullptr);
        EXPECT_EQ(ui::Text(d, IDC_ACCESSORY_MOTOR_TEXT), model + "B");
        auto parts = Parts(d);
        EXPECT_EQ(parts["Motor Power Cable"], "HBAX-P001 ~ 010");
        EXPECT_EQ(parts["Motor Power Connector"], "HBAX-P008");
        EXPECT_EQ(parts["Encoder Trunk Cable (Incremental Type)"], "HBAX-P015 ~ 010");
        EXPECT_EQ(parts.count("Absolute Encoder Battery"), 0u);
        EXPECT_EQ(d.m_list.GetItemText(0, 2), "1, 3, 5, 10");

        ui::Choose(d, IDC_ACCESSORY_ENCODER, 4); // A: 17bit
        EXPECT_EQ(ui::Text(d, IDC_ACCESSORY_MOTOR_TEXT), model + "A");
        parts = Parts(d);
        EXPECT_EQ(parts["Encoder Trunk Cable (Absolute Type)"], "HBAX-P017 ~ 010");
        EXPECT_EQ(parts["Absolute Encoder Battery"], "HBAX-P022");

        // Another drive type starts at its first motor.
        ui::Choose(d, IDC_ACCESSORY_DRIVE, group + 1);
        EXPECT_EQ(ui::Selected(d, IDC_ACCESSORY_MOTOR), 0);
        EXPECT_EQ(ui::Text(d, IDC_ACCESSORY_MOTOR_TEXT),
                  CAccessoriesSelectDialog::MotorModelText(group + 1, 0, nullptr) + "A");
    });
}

TEST_F(AccessoriesDialog, BrakeMotorAndTheTwinTable) {
    const int group = MotorCodeToGroup(0x1760);
    const int row = RowOf(group, 0x1760);
    ASSERT_GE(row, 0);
    Run(3, [&](CAccessoriesSelectDialog& d) {
        EXPECT_EQ(ui::SelectedText(d, IDC_ACCESSORY_SERIES), "YLT2");
        ui::Choose(d, IDC_ACCESSORY_DRIVE, group);
        ui::Choose(d, IDC_ACCESSORY_MOTOR, row);
        const auto parts = Parts(d);
        EXPECT_EQ(parts.count("Motor Power Connector"), 0u);
        EXPECT_EQ(parts.at("Motor Power Connector (Brake Connector)"), "HBAX-P012");
        EXPECT_EQ(parts.at("Motor Power Cable"), "HBAX-P004 ~ 010");
    });
    EXPECT_LE(CAccessoriesSelectDialog::MotorRowsOffered(13), 6);
    unsigned code = 1;
    EXPECT_EQ(CAccessoriesSelectDialog::MotorModelText(13, 6, &code), "HBMQ-------");
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(CAccessoriesSelectDialog::MotorModelText(20, 0, &code), "HBMQ-------");
}

// Every accessory name, part number and length the list can show is read whole: each motor group
// with an incremental and an absolute encoder, so that every row of the table appears.
TEST_F(AccessoriesDialog, EveryRowIsReadWhole) {
    std::set<std::string> names;
    Run(0, [&](CAccessoriesSelectDialog& d) {
        d.ShowWindow(SW_SHOW);
        for (unsigned typeCode : {0x1010u, 0x1240u, 0x1760u, 0x1770u, 0x1830u, 0x1A50u}) {
            const int group = MotorCodeToGroup(typeCode);
            ui::Choose(d, IDC_ACCESSORY_DRIVE, group);
            ui::Choose(d, IDC_ACCESSORY_MOTOR, RowOf(group, typeCode));
            for (int encoder : {0, 4}) {
                ui::Choose(d, IDC_ACCESSORY_ENCODER, encoder);
                for (int i = 0; i < d.m_list.GetItemCount(); ++i)
                    names.insert(d.m_list.GetItemText(i, 0));
                EXPECT_TRUE(ui::TextsFit(d)) << "motor " << typeCode << ", encoder " << encoder;
            }
        }
        ui::Screenshot(d, "accessories");
    });
    EXPECT_GE(names.size(), 15u) << "most rows of the table were shown";
}

} // namespace
