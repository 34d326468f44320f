#pragma once
// A jog or tuning window opened by a stand-in view, against the simulated drive (with its machine and
// jog functions) over a pseudo-terminal, with scripted message boxes and a private home.
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/Wnd.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"
#include "sim/SimProtocol.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkedWindowFixture.h"
#include "tuning/ui/TuningViewLink.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

struct TuningStandInView : ITuningViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    int RefreshStatus() override {
        const std::optional<int> status = services.ReadDriveRegister(0x1703);
        if (status)
            ServoOnFlag = *status & 1;
        return status ? 1 : 0;
    }
    void OpenOnlineEditor(CWnd* owner) override { editorOwners.push_back(owner); }
    CWnd* CommandWindow() override { return nullptr; }
    bool CanRunAnalysis() const override { return true; }
    void RunAnalysis() override { ++analysisRuns; }

    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
    std::vector<CWnd*> editorOwners;
    int analysisRuns = 0;
};

class JogWindowFixture : public LinkedWindowFixture {
protected:
    void OpenJogWorld(const std::string& prefix) {
        OpenWorld(prefix, 4, "ttyTUN");
        if (HasFatalFailure())
            return;
        machine = std::make_unique<CSimMachine>(*drive);
        jog = std::make_unique<CSimJog>(*drive, *machine);
        view.document = doc.get();
        view.services.Document = doc.get();
        RatedSpeed = 3000;
        ServoOnFlag = 0;
    }
    void CloseJogWorld() {
        CDialog::SetModalHookForTest(nullptr);
        CloseWorld();
        jog.reset();
        machine.reset();
    }
    static std::string R1(int address) { return sim::WithMakerChecksum(Format("R1%04X", address)); }
    static std::string W1(int address, int value) {
        return sim::WithMakerChecksum(Format("W1%04X%04X", address, value & 0xFFFF));
    }
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    bool AnyWriteTo(int address) const {
        const std::string prefix = Format("W1%04X", address);
        const auto log = Requests();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    }
    std::string LastMessage() const {
        return messages->Shown().empty() ? std::string("<none>") : messages->Shown().back().text;
    }

    std::unique_ptr<CSimMachine> machine;
    std::unique_ptr<CSimJog> jog;
    TuningStandInView view;
};
