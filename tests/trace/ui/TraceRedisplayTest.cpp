// Continuous redisplay: the drive's last record is read again and shown, then the redisplay ends by
// itself; turned off by the user it stops the drive's trace like STOP.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "framework/core/Format.h"
#include "tests/trace/TraceTestSupport.h"
#include "trace/TraceRecords.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tracetest;

class TraceRedisplay : public TraceWindowWithRecord {
protected:
    void Redisplay() { window->SendMessage(WM_COMMAND, IDC_TG_REDRAW, 0); }
    bool Asked(uint16_t address) const {
        const std::string hex = Format("%04X", address);
        const auto log = Requests();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& r) { return r.find(hex) != std::string::npos; });
    }
};

TEST_F(TraceRedisplay, ReadsTheRecordAgainShowsItAndEndsByItself) {
    drive->ClearLog();
    Redisplay();
    ASSERT_TRUE(window->Redisplaying());
    EXPECT_TRUE(window->HasTimer(TraceStartTimer));
    EXPECT_EQ(window->Display(0).At(0), 0) << "the display starts empty";
    Fire(TraceStartTimer);
    ASSERT_TRUE(window->HasThread());
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Redisplaying(); }));
    EXPECT_FALSE(window->HasThread());
    EXPECT_TRUE(Asked(ReReadBlockAddresses(0, 0)[1])) << "the record's blocks were read again";
    for (UINT_PTR id : {TraceStartTimer, TraceSingleTimer, TraceCycleTimer, TraceCycleRepeatTimer})
        EXPECT_FALSE(window->HasTimer(id)) << id;
}

TEST_F(TraceRedisplay, TurnedOffItStopsTheTraceAndStartClearsIt) {
    Redisplay();
    Fire(TraceStartTimer);
    drive->ClearLog();
    Redisplay();
    EXPECT_FALSE(window->Redisplaying());
    EXPECT_FALSE(window->HasThread());
    EXPECT_FALSE(window->HasTimer(TraceStartTimer));
    EXPECT_FALSE(window->HasTimer(TraceSingleTimer));
    const auto log = Requests();
    EXPECT_NE(std::find(log.begin(), log.end(), WriteFrame({{0x1505, 0}})), log.end());
    Redisplay();
    ASSERT_TRUE(window->Redisplaying());
    ui::Press(*window, IDC_TG_START);
    EXPECT_FALSE(window->Redisplaying()) << "START records anew";
}
