#include "link/services/StopKeeper.h"

#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"

#include <algorithm>

namespace {

// "the jog stop", "the jog and homing stops", "the jog, homing and analysis excitation stops".
std::string StopsNamed(const std::vector<std::string>& motions) {
    std::string names;
    for (size_t i = 0; i < motions.size(); ++i) {
        if (i > 0)
            names += i + 1 == motions.size() ? " and " : ", ";
        names += motions[i];
    }
    return "the " + names + (motions.size() > 1 ? " stops" : " stop");
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

constexpr const char* kMayStillTurn = "The motor may still turn: switch the servo off or the power off.";

} // namespace

const char* CStopKeeper::Caption() {
    return "Communication Message";
}

std::string CStopKeeper::NoLinkText(const std::string& motion) {
    return "No link to the drive: " + StopsNamed({motion}) +
           " was not sent.\nIt is sent first when the link comes back.";
}

std::string CStopKeeper::NoAnswerText(const std::string& motion) {
    return "The drive did not answer " + StopsNamed({motion}) + ": the link is closed.\n" + kMayStillTurn +
           "\nThe stop is sent first when the link comes back.";
}

std::string CStopKeeper::DeliveryText(const Delivery& delivery) {
    std::string text;
    if (!delivery.taken.empty())
        text = Capitalized(StopsNamed(delivery.taken)) + " that had not reached the drive " +
               (delivery.taken.size() > 1 ? "were" : "was") + " sent now: the drive took " +
               (delivery.taken.size() > 1 ? "them." : "it.");
    if (!delivery.notTaken.empty()) {
        if (!text.empty())
            text += "\n\n";
        text += "The drive did not take " + StopsNamed(delivery.notTaken) +
                " that had not reached it before.\n" + kMayStillTurn;
    }
    return text;
}

std::string CStopKeeper::StillOwedText(const std::vector<std::string>& motions) {
    return Capitalized(StopsNamed(motions)) +
           " did not reach the drive: " + (motions.size() > 1 ? "they are" : "it is") +
           " sent again until the drive takes " + (motions.size() > 1 ? "them.\n" : "it.\n") + kMayStillTurn;
}

std::vector<std::string> CStopKeeper::KeptMotionsToTell() const {
    std::vector<std::string> motions;
    for (const Kept& kept : kept_)
        if (!kept.quiet)
            motions.push_back(kept.motion);
    return motions;
}

std::vector<std::string> CStopKeeper::KeptMotions() const {
    std::vector<std::string> motions;
    for (const Kept& kept : kept_)
        motions.push_back(kept.motion);
    return motions;
}

std::vector<std::string> CStopKeeper::OwedMotions() const {
    std::vector<std::string> motions;
    for (const Kept& owed : owed_)
        motions.push_back(owed.motion);
    return motions;
}

void CStopKeeper::TakeOver(CStopKeeper& other) {
    if (&other == this)
        return;
    for (Kept& kept : other.kept_)
        Keep(std::move(kept));
    for (Kept& owed : other.owed_)
        Owe(owed.motion, std::move(owed.writes), owed.quiet);
    other.kept_.clear();
    other.owed_.clear();
}

void CStopKeeper::Erase(std::vector<Kept>& list, const std::string& motion) {
    std::erase_if(list, [&](const Kept& kept) { return kept.motion == motion; });
}

CStopKeeper::Kept* CStopKeeper::FindKept(const std::string& motion) {
    const auto found =
        std::find_if(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.motion == motion; });
    return found == kept_.end() ? nullptr : &*found;
}

void CStopKeeper::Keep(Kept kept) {
    Forget(kept.motion);
    kept_.push_back(std::move(kept));
    silentRounds_ = 0;
}

void CStopKeeper::Forget(const std::string& motion) {
    Erase(kept_, motion);
}

void CStopKeeper::Owe(const std::string& motion, Writes writes, bool quiet) {
    Erase(owed_, motion);
    std::erase(stoppedAfterDrop_, motion);
    owed_.push_back({motion, std::move(writes), false, quiet});
}

void CStopKeeper::Settle(const std::string& motion) {
    Erase(owed_, motion);
}

void CStopKeeper::LinkDropped() {
    silentRounds_ = 0; // the drive answered until now
    for (Kept& owed : owed_) {
        owed.dropped = true;
        Keep(std::move(owed));
    }
    owed_.clear();
}

StopResult CStopKeeper::Send(const std::string& motion, const Writes& writes, Writes keptWrites) {
    if (!keptWrites)
        keptWrites = writes;
    const bool stoppedAfterDrop = std::erase(stoppedAfterDrop_, motion) > 0;
    if (!ConnectedFlag) {
        Erase(owed_, motion);
        // The drop sent this stop already, or keeps sending it: the lost link was the one message.
        if (stoppedAfterDrop)
            return StopResult::NoLink;
        if (Kept* kept = FindKept(motion); kept && kept->dropped) {
            kept->writes = std::move(keptWrites);
            return StopResult::NoLink;
        }
        Keep({motion, std::move(keptWrites)});
        ShowMessage(NoLinkText(motion), Caption(), MB_OK | MB_ICONSTOP);
        return StopResult::NoLink;
    }
    bool taken;
    {
        CBusyHold busy(services_);
        taken = writes(services_);
    }
    if (taken) {
        Forget(motion);
        Erase(owed_, motion);
        return StopResult::Taken;
    }
    // A refusal is an answer ("!"): the line is clean and the link stays. The run may go on, so its
    // stop stays owed. Anything else left the line waiting for a reply that did not come, or closed
    // the link.
    if (ConnectedFlag && !PortObject.LateReplyPossible()) {
        Forget(motion);
        return StopResult::Refused;
    }
    Erase(owed_, motion);
    Keep({motion, std::move(keptWrites)});
    if (OnUnanswered)
        OnUnanswered();
    ShowMessage(NoAnswerText(motion), Caption(), MB_OK | MB_ICONSTOP);
    return StopResult::NoAnswer;
}

CStopKeeper::Delivery CStopKeeper::SendKept() {
    Delivery delivery;
    std::vector<Kept> unanswered;
    bool answered = false;
    bool silent = false;
    CBusyHold busy(services_);
    for (Kept& kept : kept_) {
        if (!silent && kept.writes(services_)) {
            answered = true;
            if (!kept.quiet)
                delivery.taken.push_back(kept.motion);
            if (kept.dropped && std::find(stoppedAfterDrop_.begin(), stoppedAfterDrop_.end(), kept.motion) ==
                                    stoppedAfterDrop_.end())
                stoppedAfterDrop_.push_back(kept.motion);
            continue;
        }
        if (!kept.quiet)
            delivery.notTaken.push_back(kept.motion);
        if (silent || !ConnectedFlag || PortObject.LateReplyPossible()) {
            silent = true;
            unanswered.push_back(std::move(kept));
        } else {
            answered = true; // refused: an answer, and sending it again changes nothing
        }
    }
    kept_ = std::move(unanswered);
    silentRounds_ = silent && !answered ? silentRounds_ + 1 : 0;
    return delivery;
}

bool CStopKeeper::RetryDueOnTick() {
    if (silentRounds_ < SilentRoundsBeforeSlowRetry) {
        ticksSinceTry_ = 0;
        return true;
    }
    if (++ticksSinceTry_ < SlowRetryTicks)
        return false;
    ticksSinceTry_ = 0;
    return true;
}
