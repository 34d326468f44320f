#include "OnlineFixture.h"

#include "tests/support/DialogDriver.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "link/LinkState.h"
#include "online/OnlineSelection.h"
#include "resources/ids/online.h"
#include "shell/ShellGlobals.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriveLink.h"
#include "tests/support/DriveParameters.h"

namespace {
// Pn310, Sn211, Sn212, Cn034 by rigidity level.
const RigidityTable kPn310 = {"2",  "3",  "6",   "9",   "12",  "15",  "20",  "30",  "40",  "50", "60",
                              "70", "85", "100", "120", "140", "160", "180", "200", "225", "250"};
const RigidityTable kSn212 = {"28000", "19000", "9000", "6000", "6000", "6000", "4500",
                              "3000",  "2000",  "1600", "1500", "1000", "1000", "800",
                              "800",   "600",   "600",  "500",  "500",  "400",  "400"};
const RigidityTable kCn034 = {"16",  "24",   "48",   "72",   "96",   "120",  "160",
                              "240", "320",  "400",  "480",  "560",  "680",  "800",
                              "960", "1120", "1280", "1440", "1600", "1800", "2000"};
} // namespace

const RigidityTableSet TestRigidityTables = {&kPn310, &kPn310, &kSn212, &kCn034};

CatalogueContext OnlineStandInView::Context() const {
    return document ? document->Context() : CatalogueContext{};
}

void OnlineFixture::SetUp() {
    OpenWorld("onlinewin", 4, "ttyONL");
    if (HasFatalFailure())
        return;
    OnlineSelection = {};
    view.document = doc.get();
    view.services.Document = doc.get();
}

void OnlineFixture::TearDown() {
    CDialog::SetModalHookForTest(nullptr);
    if (IsOpen())
        editor->DestroyWindow();
    editor = nullptr;
    OnlineSelection = {};
    CloseWorld();
}

COnLineParaEditDlg* OnlineFixture::Open() {
    editor = new COnLineParaEditDlg(view, nullptr);
    EXPECT_TRUE(editor->Create());
    life_ = editor->Life();
    return editor;
}

void OnlineFixture::Limits(const std::string& code, int minimum, int maximum) {
    *doc->FindMinimum(code) = minimum;
    *doc->FindMaximum(code) = maximum;
}

uint16_t OnlineFixture::Register(const std::string& code) const {
    return ParamCodeRegisterAddress(code).value_or(0xFFFF);
}

void OnlineFixture::SetDrive(const std::string& code, int value) {
    ASSERT_TRUE(SetDriveParameter(*drive, code, value)) << code;
}

std::string OnlineFixture::Maker(const std::string& text) {
    return sim::WithMakerChecksum(text);
}

std::string OnlineFixture::Read1(const std::string& code) {
    return Maker(Format("R1%04X", ParamCodeRegisterAddress(code).value_or(0)));
}

std::string OnlineFixture::Write1(const std::string& code, int value) {
    return Maker(Format("W1%04X%04X", ParamCodeRegisterAddress(code).value_or(0), value & 0xFFFF));
}

void OnlineFixture::Tick() {
    ASSERT_TRUE(FireTimerForTest(editor, OnlineRefreshTimer));
}

void OnlineFixture::Up(int row, int digit) {
    ui::Press(*editor, OnlineUpButtons[static_cast<size_t>(row - 1)][static_cast<size_t>(digit - 1)]);
}

void OnlineFixture::Down(int row, int digit) {
    ui::Press(*editor, OnlineDownButtons[static_cast<size_t>(row - 1)][static_cast<size_t>(digit - 1)]);
}

int OnlineFixture::VisibleWidth(int row) {
    int width = 0;
    for (size_t w = 0; w < OnlineDisplayWidths.size(); ++w)
        if (editor->Display(row - 1, static_cast<int>(w)).GetStyle() & WS_VISIBLE)
            width = width == 0 ? OnlineDisplayWidths[w] : -1; // -1: more than one
    return width;
}

int OnlineFixture::Shown(int row) {
    for (size_t w = 0; w < OnlineDisplayWidths.size(); ++w) {
        CDigitST& display = editor->Display(row - 1, static_cast<int>(w));
        if (display.GetStyle() & WS_VISIBLE)
            return display.GetValue();
    }
    return -999999;
}

std::vector<std::string> OnlineFixture::MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& m : messages->Shown())
        texts.push_back(m.text);
    return texts;
}
