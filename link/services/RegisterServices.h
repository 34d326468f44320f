#pragma once
// CRegisterServices: the register services through which the windows read and write the drive (one
// register, one parameter by code, Modbus, 32-bit pairs) and the long transfers (memory image,
// digital I/O contact group, path planning, filter set). The view carries it as its
// protocol base; the windows above reach it through the view.
//
// A read returns the value it read, or nothing when not connected, refused or failed: a failed read
// never leaves some earlier exchange's value where a caller could take it. Every other service
// returns int: 1 done, 0 when not connected, refused or failed. Each tests ConnectedFlag first and
// sends nothing when it is 0. A read counts only when the exchange returned ReplyRead, a write only
// when it returned ReplyWritten.
//
// The services know nothing of windows: the progress window, the pumping of one pending message
// between requests and the wait cursor reach them through the small hooks below, which the view
// fills in. With none installed the transfers simply run.
#include "link/InternalCode.h"
#include "link/services/StopKeeper.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CKeloServoDoc;

// Bit 0 of register 0x1703 as the status refresh or the servo status tick last read it.
extern std::atomic<int> ServoOnFlag;

// Acquisition threads (trace and box record) running now; each holds it up for its whole run
// (CAcquisitionHold, TransferPass.h).
extern std::atomic<int> AcquisitionThreadCount;

// The drive registers whose word is a signed 16-bit number (speeds, torque limits); every other
// register reads unsigned.
bool IsSignedRegister(int address);

// Progress window of a long transfer (the windows implement it with their progress dialogs). The
// transfer pass (TransferPass.h) drives it and paces its repaints.
class ITransferProgress {
public:
    virtual ~ITransferProgress() = default;
    // Opens the window from its dialog resource (titled with the caption unless it is empty) with a
    // bar from 0 to range, at 0.
    virtual void Open(int resourceId, int range, const std::string& caption) = 0;
    virtual void SetStepText(const std::string& text) = 0;
    // The pass's position; the bar shows it when `repaint` is set (a repaint is not free).
    virtual void SetPosition(int position, bool repaint) = 0;
    // Also called after the user cancelled, when the window may have closed itself already.
    virtual void Close() = 0;
    // The user pressed Cancel (only the memory-image window offers it).
    virtual bool CancelRequested() const { return false; }
};

// Dialog resources of the progress windows.
constexpr int ProgressDialogResource = 171;   // plain progress
constexpr int RWProgressDialogResource = 176; // with Cancel: memory image

// What WriteFilterParameters left undone: the numbers (1..5) of the sets not written whole.
struct FilterWriteResult {
    std::vector<int> setsNotWritten;
    bool Written() const { return setsNotWritten.empty(); }
};

class CRegisterServices : public CInternalCode {
public:
    CRegisterServices();
    ~CRegisterServices() override;

    // --- View members the services keep ---------------------------------------------------------
    // 1 while a long transfer runs; the link supervision leaves the drive alone meanwhile.
    int ViewBusyFlag = 0;
    // A long transfer runs, or an acquisition thread holds the line for its block reads (a block
    // takes seconds on a slow line): the window's periodic reads keep off it, so the window never
    // waits for the port behind a block.
    bool LineBusy() const { return ViewBusyFlag != 0 || AcquisitionThreadCount.load() > 0; }
    // Set (by the memory-image progress window) when the user cancels; tested between requests.
    int CancelRequest = 0;
    // A transfer pass is running (a second one is refused).
    bool PassRunning = false;
    // The window the view's own transfers run for (the view); none in a test without windows.
    std::optional<std::weak_ptr<int>> OwnerLife;
    // The document the transfers fill and write; the view sets it.
    CKeloServoDoc* Document = nullptr;
    // Hooks the view fills in.
    ITransferProgress* Progress = nullptr;
    std::function<void()> PeekAndPump; // dispatches one pending window message
    // Every motion window's stop goes through here (kept while it cannot reach the drive).
    CStopKeeper Stops{*this};

    // --- Single registers and parameters --------------------------------------------------------
    // "R1": signed 16-bit for 0x0201, 0x0601, 0x0905, 0x0906, 0x0C1C, unsigned for every other address.
    std::optional<int> ReadDriveRegister(int address);
    // "R1": the word as signed 16-bit.
    std::optional<int> ReadDriveRegister16(int address);
    // "R2" a+1, a: word(a+1) x 65536 + word(a).
    std::optional<int> ReadDriveRegister32(int address);
    // By code ("Pn301"): a 32-bit parameter as ReadDriveRegister32, else the word converted by the
    // register map's rules. A code without a register sends nothing and gives nothing.
    std::optional<int> ReadDriveParameter(std::string_view code);
    // "R10": signed for ('5', 0x36) and ('6', 0xE4), unsigned otherwise.
    std::optional<int> ReadParameterByGroup(char group, int number);
    // Modbus 0x03 of one register at the group's Modbus address, converted with index 0. A group
    // without a Modbus address, or a 32-bit parameter, sends nothing and gives nothing.
    std::optional<int> ReadParameterModbus(char letter, int number, int asciiFlag);
    // "R1" 0x1602: 2 when it holds 2, 1 for another value, 0 when not connected or failed.
    int PollAnalysisState();

    // "W1" with the low 16 bits of the value. The flag has no effect.
    int WriteDriveRegister(int address, int value, int flag = 0);
    // "W2": low word to a, high word to a+1.
    int WriteDriveRegister32(int address, int value);
    // By code: "W2" for a 32-bit parameter, else "W1". A code without a register sends nothing.
    int WriteDriveParameter(std::string_view code, int value, int flag = 0);
    // "W10"; 0 without sending when hold is non-zero or the group character is 0.
    int WriteParameterByGroup(char group, int number, int value, int hold);
    // The drive's fixed 11-byte command, sent only while the servo is off (1 whatever the drive
    // answers); while it is on the user is told to switch it off and 0 is returned.
    int SendFixedCommandFrame();

    // --- Long transfers: ViewBusyFlag for the whole run, one failure message, 1 on success -------
    // The drive memory image into / from the document's first image array (cancelable).
    int ReadMemoryImage();
    int WriteMemoryImage();
    // Hn601..Hn624 into the document, by their registers or from the contact block at 0x1A00 + n.
    int ReadDioContactParameters();
    int ReadDioContactBlock();
    // The document's Hn601..Hn624 to the drive (Modbus when ModbusMode), then the restart notice.
    int WriteDioContactParameters();
    // The 98 path-planning values (Pn316, Pn313, Pn401..Pn496) into / from the document.
    int ReadPathPlanningParameters();
    int WritePathPlanningParameters();

    // --- Other services -------------------------------------------------------------------------
    // Writes the notch filter parameters Cn013, Cn014, Cn065..Cn077 from the document in five sets of
    // three (a set stops at its first refusal). "Write successfully!!" only when every set was
    // written; otherwise the one failure box names what was not, and so does the result. Nothing is
    // sent (and nothing shown) without a link.
    FilterWriteResult WriteFilterParameters();
    // Runs the step dialog's button routine with ViewBusyFlag set.
    void EnableStepDialogButtons(const std::function<void()>& routine);

    // The parameter number of path-planning item k (0..97): 16, 13, then 1..96.
    static int PathPlanningNumber(int item);
    static constexpr int PathPlanningItemCount = 98;
    static constexpr int DioContactCount = 24;

    // Failure and success texts of the transfers.
    static std::string FailureText(const std::string& step);
    // The one failure box of a transfer: FailureText(detail), "Communication Message", stop icon.
    static void ShowFailureBox(const std::string& detail);
    // Lets pending window messages through (PeekAndPump), between two requests of a long transfer.
    void Pump();
    // Expires when these services are destroyed (a transfer pass must not touch them then).
    std::weak_ptr<int> ServicesLife() const { return life_; }

protected:
    // One request/reply of a maker read; the reply word(s) parsed. False when not ReplyRead or the
    // words are not hex.
    bool ReadWords(const char* request, int requestLength, int words, int* values);
    bool SendWrite(const char* request, int requestLength);
    // One "R1" of a register: the word (unsigned), or nothing when not connected or failed.
    std::optional<int> ReadRegisterWord(int address);
    // One Modbus register exchange in the current framing; true on a good normal reply.
    bool ModbusReadRegister(int address, int asciiFlag, int& word);
    bool ModbusWriteRegister(int address, int value);

    // Runs a long transfer of `count` items as one transfer pass for the view: progress open with the
    // given range, step text of each item shown before it, `steps` steps after it and the messages
    // let through. On the first failing item the window closes and the one failure box names the
    // step text; a cancel or the view's closing ends it without a box. 1 when every item was done.
    int RunTransfer(int resourceId, int count, int steps, bool cancelable,
                    const std::function<std::string(int)>& stepText, const std::function<bool(int)>& item);
    bool Cancelled() const;
    // Hn601..Hn624 into the document from their registers, or from the contact block.
    int ReadDioContacts(bool fromBlock);

private:
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};
