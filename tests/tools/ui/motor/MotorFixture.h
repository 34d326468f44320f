#pragma once
// The self-built motor windows opened over the simulated drive with its motor data.
#include "framework/core/MessageSeam.h"
#include "link/services/RegisterServices.h"
#include "sim/SimMotorData.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkedWindowFixture.h"
#include "tools/SelfBuiltMotorRecord.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class MotorWindowFixture : public LinkedWindowFixture {
protected:
    void SetUp() override {
        OpenWorld("kelo-motor-ui", 4, "ttyMOTORUI");
        if (HasFatalFailure())
            return;
        motor = std::make_unique<CSimMotorData>(*drive);
        RememberedEncoderRecord = {};
    }
    void TearDown() override {
        RememberedEncoderRecord = {};
        motor.reset();
        CloseWorld();
    }

    // The requests without their checksums.
    std::vector<std::string> Requests() const {
        std::vector<std::string> texts;
        for (const std::string& request : drive->RequestLog())
            texts.push_back(request.substr(0, request.size() - 2));
        return texts;
    }
    bool AnyWrite() const {
        for (const std::string& request : Requests())
            if (request[0] == 'W')
                return true;
        return false;
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageRequest& request : messages->Shown())
            texts.push_back(request.text);
        return texts;
    }
    static std::string W1(int address, int value) {
        char text[16];
        std::snprintf(text, sizeof text, "W1%04X%04X", address, value & 0xFFFF);
        return text;
    }

    std::unique_ptr<CSimMotorData> motor;
    CRegisterServices services;
};
