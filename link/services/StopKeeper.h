#pragma once
// CStopKeeper: the one way the motion windows (jog, stroke jog, program jog, auto gain, inertia
// estimation, position and multi-position runs, homing, the analysis excitation, pole alignment) send
// their stop. A stop that did not reach the drive (no link, or no answer) is kept and goes out first
// when the link comes back, before any read; the view then tells the user once whether the drive
// took it. A window may be gone by then, so a kept stop is a list of register writes bound to
// values, never a call into the window.
//
// A motion that runs owes its stop: its window names the stop when the run starts (Owe) and the stop
// that was taken, or Settle for a run that ended by itself, clears it. When the link is dropped the
// owed stops are kept (LinkDropped), so they go out on the line at once and again until the drive
// takes them, without waiting for the user to connect: a damaged reply or a drive that froze a
// while leaves a line on which a stop still arrives.
//
// The keeper tells the user itself when a stop could not be sent (no link) or got no answer; a stop
// the drive refused is left to the window, whose own words say what that means for its run. A stop
// the window sends after a drop that already sent or keeps that stop says nothing: the lost link had
// its message.
#include <functional>
#include <string>
#include <vector>

class CRegisterServices;

enum class StopResult {
    Taken,    // the drive accepted every write of the stop
    Refused,  // the drive answered and refused: the link is up, nothing is kept
    NoLink,   // not sent: there is no link; kept (or already sent after the link was dropped)
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

    // A run started: `writes` stop it, should the link be dropped before the run ends. A newer one
    // of the same motion replaces it. A `quiet` stop (one that moves nothing, as a recorder's
    // disarm) is sent as the others but left out of what the user is told.
    void Owe(const std::string& motion, Writes writes, bool quiet = false);
    // The run ended without a stop of ours (it finished, or the window stopped it another way).
    void Settle(const std::string& motion);
    std::vector<std::string> OwedMotions() const;
    // The link was dropped: every owed stop is kept, to go out on the line now (SendKept).
    void LinkDropped();

    bool HasKept() const { return !kept_.empty(); }
    // The stops another keeper kept or is owed (a view that goes hands them to the one that follows).
    void TakeOver(CStopKeeper& other);
    std::vector<std::string> KeptMotions() const;
    // The kept stops the user is told of (a quiet one moves nothing).
    std::vector<std::string> KeptMotionsToTell() const;

    // What became of the kept stops when they were sent again.
    struct Delivery {
        std::vector<std::string> taken;
        std::vector<std::string> notTaken; // refused, or no answer (those stay kept)
        bool Empty() const { return taken.empty() && notTaken.empty(); }
    };
    // Sends the kept stops, oldest first, on the port as it is now (the caller has just opened it);
    // it sends whatever ConnectedFlag says. The caller reports the delivery once the link is known to
    // be up (DeliveryText). Once one stop got no answer the line is silent: the stops after it are not
    // tried this round (each would wait as long) and stay kept, counted as not taken.
    Delivery SendKept();

    // Asked on each supervision tick while the link is down: whether the kept stops go out on it. On
    // every tick at first; once the drive has let SilentRoundsBeforeSlowRetry rounds in a row pass
    // without an answer (a drive switched off), on every SlowRetryTicks-th, so that the window is not
    // held by a reply wait on most of its ticks for as long as the drive stays silent. A newly kept
    // stop or a new loss starts again at every tick.
    bool RetryDueOnTick();
    static constexpr int SilentRoundsBeforeSlowRetry = 40;
    static constexpr int SlowRetryTicks = 5;

    // The one message after a delivery.
    static std::string DeliveryText(const Delivery& delivery);
    static std::string NoLinkText(const std::string& motion);
    static std::string NoAnswerText(const std::string& motion);
    // Added to the lost-link message when a stop owed at the loss has not reached the drive yet.
    static std::string StillOwedText(const std::vector<std::string>& motions);
    static const char* Caption();

    // Called after a stop got no answer and before the user is told: the view gives the link up
    // without a message of its own (one message says what happened).
    std::function<void()> OnUnanswered;

private:
    struct Kept {
        std::string motion;
        Writes writes;
        bool dropped = false; // kept because the link was dropped while the run went on
        bool quiet = false;
    };
    void Keep(Kept kept);
    void Forget(const std::string& motion);
    static void Erase(std::vector<Kept>& list, const std::string& motion);
    Kept* FindKept(const std::string& motion);

    CRegisterServices& services_;
    std::vector<Kept> kept_;
    std::vector<Kept> owed_;
    // Runs whose owed stop the drive took after a drop: the window's own stop has nothing left to do.
    std::vector<std::string> stoppedAfterDrop_;
    int silentRounds_ = 0;  // SendKept rounds in a row in which the drive answered nothing
    int ticksSinceTry_ = 0; // ticks since the last slow retry
};
