#pragma once
// The analysis windows' world: a linked simulated drive with its machine, the register services a
// view would lend, a program folder of the test's own (for "111.dat") and a Qt event pump between
// the requests of a long run.
#include "tests/support/LinkedWindowFixture.h"

#include "framework/core/Format.h"
#include "framework/core/Paths.h"
#include "framework/ui/Dialog.h"
#include "link/services/RegisterServices.h"
#include "sim/SimMachine.h"
#include "sim/SimProtocol.h"
#include "tests/support/PrivateHome.h"

#include <QCoreApplication>

#include <memory>
#include <string>
#include <vector>

class AnalysisFixture : public LinkedWindowFixture {
protected:
    void SetUp() override {
        OpenWorld("analysis", 4, "ttyFRA");
        if (HasFatalFailure())
            return;
        machine = std::make_unique<CSimMachine>(*drive);
        folder = std::make_unique<ScratchFolder>("fra-folder");
        SetProgramFolderForTesting(folder->Path());
        services.Document = doc.get();
        services.PeekAndPump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 1); };
        drive->SetRegisterSigned(0x0201, -300); // the jog speed the run saves and restores
        drive->ClearLog();
    }
    void TearDown() override {
        CDialog::SetModalHookForTest(nullptr);
        SetProgramFolderForTesting("");
        CloseWorld();
    }

    static std::string Maker(const std::string& text) { return sim::WithMakerChecksum(text); }
    static std::string Write(int address, int value) {
        return Maker(Format("W1%04X%04X", address, value & 0xFFFF));
    }
    static std::string Read(int address) { return Maker(Format("R1%04X", address)); }

    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageRequest& request : messages->Shown())
            texts.push_back(request.text);
        return texts;
    }

    std::unique_ptr<CSimMachine> machine;
    std::unique_ptr<ScratchFolder> folder;
    CRegisterServices services;
};
