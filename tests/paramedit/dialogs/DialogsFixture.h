#pragma once
// The editor's dialogs with the real resource library, scripted message boxes and file dialogs, a
// temporary home, and a linked simulated drive on a pty of its own.
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Dialog.h"
#include "link/services/RegisterServices.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkedWindowFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using ui::Checked;
using ui::Enabled;
using ui::Press;

class DialogsFixture : public LinkedWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every modal dialog runs `user` (keyed by template id) instead of waiting; a dialog that the
    // user leaves open is cancelled. A new script starts a new list of opened dialogs.
    void Script(std::map<UINT, std::function<void(CDialog&)>> users);
    // Template ids of the modal dialogs opened under the current script, in order.
    std::vector<UINT> Opened() const { return script_ ? script_->Opened() : std::vector<UINT>{}; }

    std::string Path(const std::string& name) const { return home_->File(name); }
    // The register of a parameter code.
    static uint16_t Register(const std::string& code);
    // Puts every document value into the drive, so a comparison with the drive finds nothing.
    void LoadDriveFromDocument();
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    // A maker request with its byte-sum checksum.
    static std::string Maker(const std::string& text);
    // Ends the link as a disconnect does.
    void Unlink();

    CRegisterServices services;
    std::unique_ptr<ui::ModalScript> script_;
};
