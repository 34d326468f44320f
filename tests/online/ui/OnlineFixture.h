#pragma once
// The online editor opened by a stand-in view, talking to the simulated drive over a pseudo-terminal,
// with scripted message boxes and file dialogs and a temporary home.
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/services/RegisterServices.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "online/ui/OnlineViewLink.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/LinkedWindowFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The tables the view holds, as the rigidity rule gives them.
extern const RigidityTableSet TestRigidityTables;

struct OnlineStandInView : IOnlineViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    CatalogueContext Context() const override;
    const RigidityTableSet& RigidityTables() const override { return TestRigidityTables; }
    void SetMotorMaxSpeed(int value) override { motorMaxSpeed = value; }
    void OnlineEditorClosed(COnLineParaEditDlg* editor) override { closed.push_back(editor); }

    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
    int motorMaxSpeed = -1;
    std::vector<COnLineParaEditDlg*> closed;
};

class OnlineFixture : public LinkedWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the editor over the current selection (its rows read at once when linked).
    COnLineParaEditDlg* Open();
    bool IsOpen() const { return !life_.expired(); }
    // Sets the document's limits of a code.
    void Limits(const std::string& code, int minimum, int maximum);
    uint16_t Register(const std::string& code) const;
    void SetDrive(const std::string& code, int value);
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    static std::string Maker(const std::string& text);
    static std::string Read1(const std::string& code);
    static std::string Write1(const std::string& code, int value);
    void Tick();
    // Presses the button of a row (1..8) and digit (1..9).
    void Up(int row, int digit);
    void Down(int row, int digit);
    // The value the row's visible display shows, and which display that is (5..9 digits).
    int Shown(int row);
    int VisibleWidth(int row);
    std::vector<std::string> MessageTexts() const;

    OnlineStandInView view;
    COnLineParaEditDlg* editor = nullptr;
    std::weak_ptr<int> life_;
};
