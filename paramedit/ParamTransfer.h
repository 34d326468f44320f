#pragma once
// One parameter to or from the drive as the editor's passes move it: the maker's "R1"/"W1"/"W2"
// commands or Modbus functions 0x03/0x06 (by ModbusMode), with the Cn008 and Cn002 special cases.
// No windows: the passes around it show progress and messages.
#include <optional>
#include <string_view>

class CRegisterServices;
class CTransferPass;

class ParamTransfer {
public:
    // Between two requests the pass lets the window's messages through; when they closed the window
    // the transfer sends nothing more and fails.
    ParamTransfer(CRegisterServices& services, CTransferPass& pass) : services_(services), pass_(pass) {}

    // Whether the parameter can travel in the present link mode at all: it has a register, and on
    // Modbus a register of its own.
    static bool HasAddress(std::string_view code);

    // Reads the parameter's value; nothing when it was not read (or there is no link). readAll
    // applies the read-all rule for the three values read through the register services.
    std::optional<int> Read(std::string_view code, bool readAll);

    enum class WriteStatus { Written, Failed, NoAddress };
    struct WriteResult {
        WriteStatus status = WriteStatus::Failed;
        bool needsRestart = false;
    };
    // Writes the entered value (a Cn008 choice is first merged into the drive's present word).
    WriteResult Write(std::string_view code, int value);

    // Whether the last failed exchange was the drive refusing (the link is still good), rather than
    // no or a broken answer.
    bool LastFailureWasRefusal() const { return refused_; }

private:
    // False when the pass must end (its window is gone): no further request goes out.
    bool BeforeRequest();
    std::optional<int> ReadWordMaker(int address);
    std::optional<int> ReadWordModbus(int address);
    bool WriteModbus(int address, int value);

    CRegisterServices& services_;
    CTransferPass& pass_;
    bool refused_ = false;
    bool requestSent_ = false; // by the present Read or Write
};
