#pragma once
// The position tool windows opened by a stand-in view, talking to the simulated drive (with its
// machine and position functions) over a pseudo-terminal, with scripted message boxes.
#include "catalogue/KeloServoDoc.h"
#include "catalogue/RegisterMap.h"
#include "link/services/RegisterServices.h"
#include "sim/SimMachine.h"
#include "sim/SimPosition.h"
#include "tests/support/LinkedWindowFixture.h"
#include "tools/ui/PositionToolsLink.h"

#include <memory>
#include <string>
#include <vector>

struct PositionStandInView : IPositionToolsLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    void ToolWindowClosed(CWnd* window) override { closed.push_back(window); }

    CRegisterServices services;
    CKeloServoDoc* document = nullptr;
    std::vector<CWnd*> closed;
};

class PositionFixture : public LinkedWindowFixture {
public:
    static std::string Write(const std::string& code, int value);
    static std::string Read(const std::string& code);
    static std::string WriteRegister(int address, int value);
    static std::string ReadRegister(int address);

protected:
    void SetUp() override;
    void TearDown() override;

    void SetDrive(const std::string& code, int value);
    int Drive(const std::string& code) const;
    void Limits(const std::string& code, int minimum, int maximum);
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    std::vector<std::string> MessageTexts() const;
    // Lets the machine run for a while, as the drive sees it at its next request.
    void RunMachine(int64_t us);
    // Whether the request log holds the request (after ClearLog).
    bool Sent(const std::string& request) const;

    PositionStandInView view;
    std::unique_ptr<CSimMachine> machine;
    std::unique_ptr<CSimPosition> position;
};
