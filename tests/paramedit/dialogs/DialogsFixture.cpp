#include "DialogsFixture.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "shell/ShellGlobals.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriveLink.h"
#include "tests/support/DriveParameters.h"

#include <cstdlib>
#include <filesystem>

void DialogsFixture::SetUp() {
    OpenWorld("paramdialogs", 4, "ttyPDLG");
    if (HasFatalFailure())
        return;
    services.Document = doc.get();
}

void DialogsFixture::TearDown() {
    script_.reset();
    CloseWorld();
}

void DialogsFixture::Script(std::map<UINT, std::function<void(CDialog&)>> users) {
    script_.reset();
    script_ = std::make_unique<ui::ModalScript>(std::move(users));
}

uint16_t DialogsFixture::Register(const std::string& code) {
    const auto address = ParamCodeRegisterAddress(code);
    EXPECT_TRUE(address.has_value()) << code;
    return address.value_or(0);
}

void DialogsFixture::LoadDriveFromDocument() {
    for (int index = 1; index < 2200; ++index) {
        const std::string code = ParamCodeFromIndex(index);
        if (const int* value = code.empty() ? nullptr : doc->FindValue(code))
            SetDriveParameter(*drive, code, *value);
    }
    drive->ClearLog();
}

std::string DialogsFixture::Maker(const std::string& text) {
    return sim::WithMakerChecksum(text);
}

void DialogsFixture::Unlink() {
    PortObject.Close();
    ConnectedFlag = 0;
}
