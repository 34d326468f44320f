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

bool LinkedDocumentHost::IsConnected() const {
    return ConnectedFlag != 0;
}

void DialogsFixture::SetUp() {
    home_ = std::make_unique<PrivateHome>("paramdialogs");
    ASSERT_TRUE(home_->Ok());
    const std::shared_ptr<const CResourceModule> module = ProgramResources();
    ASSERT_NE(module, nullptr) << "libVimbra.so beside the test";
    resources_ = std::make_unique<ScopedResourceModule>(module);
    messages = std::make_unique<ScriptedMessages>();

    const int series = 4;
    drive = std::make_unique<CSimDrive>(series);
    server = std::make_unique<CSimPtyServer>(*drive);
    ASSERT_TRUE(LinkToSimulatedDrive(*server, "ttyPDLG"));
    DebugModeFlag = 0;
    SeriesCode = series;
    ModelCode = CSimDrive::ModelCodeForSeries(series);
    doc = std::make_unique<CKeloServoDoc>(&host);
    doc->OnNewDocument();
    doc->SetModifiedFlag(false);
    services.Document = doc.get();
}

void DialogsFixture::TearDown() {
    script_.reset();
    DebugModeFlag = 0;
    if (server)
        UnlinkSimulatedDrive(*server);
    messages.reset();
    resources_.reset();
    home_.reset();
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
