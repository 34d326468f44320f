// The transfer pass over its ways out, against the simulated drive: what is left of ViewBusyFlag,
// the progress window and the one failure box afterwards.
#include "ServicesFixture.h"

#include "framework/core/Format.h"
#include "link/services/TransferPass.h"

#include <memory>
#include <utility>

namespace {

constexpr int kFirst = 0x0501; // Hn601..Hn603
constexpr int kCount = 3;

// The window a pass runs for: its life and the progress window it holds go together.
struct OwnerWindow {
    std::shared_ptr<int> life = std::make_shared<int>(0);
    std::unique_ptr<RecordingProgress> progress = std::make_unique<RecordingProgress>();
    TransferPassOwner Owner() const { return {std::weak_ptr<int>(life), progress.get()}; }
    void Free() {
        life.reset();
        progress.reset();
    }
};

enum class Outcome { Done, Failed, Stopped, Refused };

// A pass of three register reads written as the windows write theirs.
Outcome ReadThree(CRegisterServices& services, const TransferPassOwner& owner) {
    CTransferPass pass(services, owner);
    if (pass.Refused())
        return Outcome::Refused;
    pass.OpenProgress(RWProgressDialogResource, kCount, "Reading", true);
    for (int i = 0; i < kCount; ++i) {
        const std::string step = Format("Register %04X", kFirst + i);
        pass.SetText(step);
        const std::optional<int> value = services.ReadDriveRegister(kFirst + i);
        if (pass.OwnerGone())
            return Outcome::Stopped;
        pass.Step();
        if (!value) {
            pass.Fail(step);
            return Outcome::Failed;
        }
        if (!pass.Pump())
            return Outcome::Stopped;
    }
    return Outcome::Done;
}

using TransferPassWays = ServicesFixture;

TEST_F(TransferPassWays, EveryWayOutLeavesTheLineFreeTheWindowClosedAndAtMostOneBox) {
    struct Case {
        const char* way;
        // Prepares the drive, and what the messages handled after the first request do.
        std::function<void(OwnerWindow&)> prepare;
        std::function<void(OwnerWindow&)> afterFirst;
        Outcome outcome;
        size_t requests;
        const char* box; // nullptr: no box
        bool linkUp;
    } cases[] = {
        {"success", {}, {}, Outcome::Done, 3, nullptr, true},
        {"drive refuses",
         [&](OwnerWindow&) { drive.RefuseAddress(kFirst + 1); },
         {},
         Outcome::Failed,
         2,
         "Error:\n\nRegister 0502",
         true},
        {"link lost",
         [&](OwnerWindow&) { drive.AddFault({.kind = SimFaultKind::Garbage, .address = kFirst + 1}); },
         {},
         Outcome::Failed,
         2,
         "Error:\n\nRegister 0502",
         false},
        {"cancel", {}, [](OwnerWindow& w) { w.progress->cancel = true; }, Outcome::Stopped, 1, nullptr, true},
        {"owner closed", {}, [](OwnerWindow& w) { w.Free(); }, Outcome::Stopped, 1, nullptr, true},
        {"second pass refused",
         {},
         [&](OwnerWindow&) {
             OwnerWindow other;
             EXPECT_EQ(ReadThree(services, other.Owner()), Outcome::Refused);
             EXPECT_TRUE(other.progress->opened.empty());
             EXPECT_EQ(services.ViewBusyFlag, 1) << "the running pass keeps the line";
         },
         Outcome::Done,
         3,
         nullptr,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        UnlinkSimulatedDrive(server);
        ASSERT_TRUE(LinkToSimulatedDrive(server, "ttyREGSERV")) << "a fresh link for each way";
        drive.ClearFaults();
        drive.RefuseAddress(kFirst + 1, false);
        drive.ClearLog();
        messages.Clear();
        OwnerWindow window;
        if (c.prepare)
            c.prepare(window);
        bool first = true;
        services.PeekAndPump = [&] {
            EXPECT_EQ(services.ViewBusyFlag, 1);
            if (std::exchange(first, false) && c.afterFirst)
                c.afterFirst(window);
        };

        EXPECT_EQ(ReadThree(services, window.Owner()), c.outcome);

        EXPECT_EQ(services.ViewBusyFlag, 0);
        EXPECT_FALSE(services.PassRunning);
        EXPECT_EQ(Requests().size(), c.requests);
        if (window.progress) {
            EXPECT_EQ(window.progress->opened, std::vector<int>{RWProgressDialogResource});
            EXPECT_FALSE(window.progress->open);
        }
        if (c.box) {
            const MessageRequest box = OnlyMessage();
            EXPECT_EQ(box.text, c.box);
            EXPECT_EQ(box.caption, "Communication Message");
            EXPECT_EQ(box.type, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
        } else {
            EXPECT_TRUE(messages.Shown().empty());
        }
        EXPECT_EQ(ConnectedFlag.load(), c.linkUp ? 1 : 0);
    }
}

TEST_F(TransferPassWays, APassInsideABusyHoldLeavesTheHoldsFlagUp) {
    CBusyHold hold(services);
    {
        OwnerWindow window;
        EXPECT_EQ(ReadThree(services, window.Owner()), Outcome::Done);
    }
    EXPECT_EQ(services.ViewBusyFlag, 1);
    EXPECT_FALSE(services.PassRunning);
}

TEST_F(TransferPassWays, TheBarRepaintsAtItsPaceAndEndsOnItsLastStep) {
    OwnerWindow window;
    CTransferPass pass(services, window.Owner());
    pass.OpenProgress(ProgressDialogResource, 30000);
    for (int i = 0; i < 30000; ++i)
        pass.Step();
    // Stepping costs microseconds: far fewer than one repaint per RepaintInterval would pass here.
    EXPECT_LE(window.progress->repaints, 3);
    EXPECT_EQ(window.progress->position, 30000);
    EXPECT_EQ(window.progress->shown, 30000);
}

} // namespace
