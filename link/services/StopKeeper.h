#pragma once
// CStopKeeper: the one way the motion windows (jog, stroke jog, program jog, auto gain, inertia
// estimation, position and multi-position runs, homing, the analysis excitation, pole alignment) send
// their stop. A stop that did not reach the drive (no link, or no answer) is kept and goes out first
// when the link comes back, before any read; the view then tells the user once whether the drive
// took it. A window may be gone by then, so a kept stop is a list of register writes bound to
// values, never a call into the window.
//
// The keeper tells the user itself when a stop could not be sent (no link) or got no answer; a stop
// the drive refused is left to the window, whose own words say what that means for its run.
#include <functional>
#include <string>
#include <vector>

class CRegisterServices;

enum class StopResult {
    Taken,    // the drive accepted every write of the stop
    Refused,  // the drive answered and refused: the link is up, nothing is kept
    NoLink,   // not sent: there is no link; kept
    NoAnswer, // sent, but the drive did not answer: kept, and the link is given up
};

class CStopKeeper {
public:
    // The writes of one stop, true when the drive took every one of them.
    using Writes = std::function<bool(CRegisterServices&)>;

    explicit CStopKeeper(CRegisterServices& services) : services_(services) {}

    // Sends the stop of `motion` (a short name the user reads: "jog", "multi-position run") now,
    // with the busy flag held. `keptWrites` are what goes out when the link comes back (the same
    // writes when empty); they may add what the window would do after a stop that was taken. A
    // newer stop of the same motion replaces a kept one, and a stop that was taken forgets it.
    StopResult Send(const std::string& motion, const Writes& writes, Writes keptWrites = {});

    bool HasKept() const { return !kept_.empty(); }
    // The stops another keeper kept (a view that goes hands them to the one that follows it).
    void TakeOver(CStopKeeper& other);
    std::vector<std::string> KeptMotions() const;

    // What became of the kept stops when they were sent again.
    struct Delivery {
        std::vector<std::string> taken;
        std::vector<std::string> notTaken; // refused, or no answer (those stay kept)
        bool Empty() const { return taken.empty() && notTaken.empty(); }
    };
    // Sends the kept stops, oldest first, on the port as it is now (the caller has just opened it);
    // it sends whatever ConnectedFlag says. The caller reports the delivery once the link is known to
    // be up (DeliveryText).
    Delivery SendKept();

    // The one message after a delivery.
    static std::string DeliveryText(const Delivery& delivery);
    static std::string NoLinkText(const std::string& motion);
    static std::string NoAnswerText(const std::string& motion);
    static const char* Caption();

    // Called after a stop got no answer and before the user is told: the view gives the link up
    // without a message of its own (one message says what happened).
    std::function<void()> OnUnanswered;

private:
    struct Kept {
        std::string motion;
        Writes writes;
    };
    void Keep(const std::string& motion, Writes writes);
    void Forget(const std::string& motion);

    CRegisterServices& services_;
    std::vector<Kept> kept_;
};
