#pragma once
// The parameter editor opened by a stand-in view, talking to the simulated drive over a
// pseudo-terminal, with scripted message boxes and a temporary home.
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/services/RegisterServices.h"
#include "paramedit/DefinedList.h"
#include "paramedit/ParaEditDlg.h"
#include "paramedit/ParaEditViewLink.h"
#include "sim/SimDrive.h"
#include "sim/SimPtyServer.h"
#include "tests/support/LinkedWindowFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The view as the editor sees it.
struct StandInView : IParaEditViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    bool SaveDocument() override {
        ++saves;
        return saveSucceeds;
    }
    void EditorClosed() override { ++closed; }
    int MotorMaxSpeed() const override { return 5000; }
    void SetEncoderPulsesPerTurn(int pulses) override { encoderPulses = pulses; }
    DefinedList& DefinedParameters() override { return defined; }

    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
    DefinedList defined;
    bool saveSucceeds = true;
    int saves = 0;
    int closed = 0;
    int encoderPulses = 0;
};

class EditorFixture : public LinkedWindowFixture {
protected:
    void SetUp() override { Start(4); }
    void TearDown() override;

    // Starts the drive of the series on a fresh pty and links to it.
    void Start(int series);
    // Puts every document default into the drive, so a read-all finds nothing over range.
    void LoadDriveDefaults();
    // Opens the editor as the view does (its opening read-all answered by the scripted boxes).
    CParaEditDlg* Open();
    // Closes the editor as the user does.
    void Close();

    // Every document value of the parameters a read-all covers, and the qn group.
    std::map<std::string, int> Snapshot();
    int& Value(const std::string& code) { return *doc->FindValue(code); }
    int Row(const std::string& code) const { return editor->FindRow(code); }
    std::string Cell(const std::string& code, int column) const;
    // Goes to the tab with the label, as a user's click does.
    void ChooseTab(const std::string& label);
    std::vector<std::string> TabLabels() const;
    void CheckOnly(const std::vector<std::string>& codes);
    uint16_t Register(const std::string& code) const;
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    static std::string Maker(const std::string& text);
    void Click(int id);
    // Paint colour of a Value cell (not selected).
    COLORREF ValueBack(const std::string& code) const;

    StandInView view;
    CParaEditDlg* editor = nullptr;
    std::weak_ptr<int> editorLife_;
};
