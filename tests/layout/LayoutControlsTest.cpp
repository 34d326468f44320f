// The anchor procedure against a window whose children are the trace table's controls, with the
// expected rectangles derived from the written table.
#include "layout/LayoutControls.h"
#include "layout/TraceLayoutTable.h"
#include "tests/layout/LayoutTableText.h"

#include "framework/ui/App.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

const std::string kWrittenTraceTable =
    std::string(KELO_SOURCE_DIR) + "/tests/fixtures/layout/trace_layout_table.md";

TEST(LayoutTable, TraceTableMatchesTheWrittenTable) {
    int duplicates = 0;
    const auto written = ReadWrittenLayoutTable(kWrittenTraceTable, &duplicates);
    ASSERT_EQ(written.size(), 136u);
    EXPECT_EQ(duplicates, 0);
    std::set<int> seen;
    for (const LayoutEntry& entry : TraceLayoutTable) {
        EXPECT_TRUE(seen.insert(entry.controlId).second) << entry.controlId << " listed twice";
        const auto it = written.find(entry.controlId);
        ASSERT_NE(it, written.end()) << entry.controlId << " is not in the written table";
        EXPECT_EQ(entry.horizontal, it->second.horizontal) << entry.controlId;
        EXPECT_EQ(entry.vertical, it->second.vertical) << entry.controlId;
    }
}

TEST(AnchorEdge, ClientEdgeOrNearEdgePlusOffset) {
    struct Case {
        int computed, anchor, offset, clientEdge, expected;
    } cases[] = {
        {0, -1, 30, 500, 470},  // gap to the client edge
        {0, -1, -20, 500, 520}, // a control that stood beyond the edge stays beyond it
        {40, -2, 25, 500, 65},  // near edge + size
        {-10, -2, 0, 500, -10}, // nothing is clamped
    };
    for (const Case& c : cases) {
        int far = 12345;
        AnchorEdge(nullptr, 0, c.computed, c.anchor, c.offset, c.clientEdge, &far);
        EXPECT_EQ(far, c.expected);
    }
}

TEST(LayoutPlacement, ZeroRecordsGiveEdgePlacesForEachMode) {
    const CRect client(0, 0, 800, 600);
    const LayoutRecord zero{};
    EXPECT_EQ(PlaceLayout({1, AxisMode::Fixed, AxisMode::Fixed}, zero, client), CRect(0, 0, 0, 0));
    EXPECT_EQ(PlaceLayout({1, AxisMode::Move, AxisMode::Move}, zero, client), CRect(800, 600, 800, 600));
    EXPECT_EQ(PlaceLayout({1, AxisMode::Stretch, AxisMode::Stretch}, zero, client), CRect(0, 0, 800, 600));
}

TEST(LayoutPlacement, RecordThenPlaceFollowsEachModeOnEachAxis) {
    const CRect control(100, 50, 160, 80);
    const CRect recorded(0, 0, 800, 600);
    const CRect grown(0, 0, 900, 650);
    const LayoutEntry fixedMove{1, AxisMode::Fixed, AxisMode::Move};
    const LayoutEntry stretchFixed{1, AxisMode::Stretch, AxisMode::Fixed};
    const LayoutEntry moveStretch{1, AxisMode::Move, AxisMode::Stretch};
    EXPECT_EQ(RecordLayout(fixedMove, control, recorded), (LayoutRecord{100, 30, 60, 520}));
    EXPECT_EQ(PlaceLayout(fixedMove, RecordLayout(fixedMove, control, recorded), grown),
              CRect(100, 100, 160, 130));
    EXPECT_EQ(PlaceLayout(stretchFixed, RecordLayout(stretchFixed, control, recorded), grown),
              CRect(100, 50, 260, 80));
    EXPECT_EQ(PlaceLayout(moveStretch, RecordLayout(moveStretch, control, recorded), grown),
              CRect(200, 50, 260, 130));
    // Smaller than recorded: passed on as computed, even negative.
    const CRect tiny(0, 0, 50, 40);
    EXPECT_EQ(PlaceLayout(moveStretch, RecordLayout(moveStretch, control, recorded), tiny),
              CRect(-650, 50, -590, -480));
}

// A window holding one plain child for each id of the written table, each at its own rectangle, and
// one control the table does not list.
class LayoutWindow : public ::testing::Test {
protected:
    static constexpr int kUnlistedId = 1017;

    void SetUp() override {
        EnsureQtApplication();
        written_ = ReadWrittenLayoutTable(kWrittenTraceTable);
        ASSERT_TRUE(window_.Create("layout", "layout", WS_OVERLAPPED, CRect(0, 0, 1000, 650), nullptr, 0));
        int index = 0;
        for (const auto& [id, modes] : written_) {
            if (id == skippedId_)
                continue;
            AddChild(id, CRect(10 + (index % 20) * 45, 20 + (index / 20) * 70, 50 + (index % 20) * 45,
                               45 + (index / 20) * 70));
            ++index;
        }
        AddChild(kUnlistedId, CRect(500, 560, 560, 580));
    }

    void AddChild(int id, const CRect& rect) {
        auto child = std::make_unique<CWnd>();
        ASSERT_TRUE(child->Create("child", "", WS_CHILD | WS_VISIBLE, rect, &window_, id));
        children_.push_back(std::move(child));
    }

    std::map<int, CRect> Rectangles() const {
        std::map<int, CRect> rects;
        for (const auto& child : children_) {
            CRect rect;
            child->GetWindowRect(&rect);
            window_.ScreenToClient(&rect);
            rects[child->GetDlgCtrlID()] = rect;
        }
        return rects;
    }

    void ResizeClientBy(int dx, int dy) {
        CRect client;
        window_.GetClientRect(&client);
        CRect frame;
        window_.GetWindowRect(&frame);
        window_.MoveWindow(frame.left, frame.top, frame.Width() + dx, frame.Height() + dy);
        CRect after;
        window_.GetClientRect(&after);
        ASSERT_EQ(after.Width(), client.Width() + dx);
        ASSERT_EQ(after.Height(), client.Height() + dy);
    }

    void Layout(int flag) { LayoutControls(window_, TraceLayoutTable, records_, flag); }

    std::map<int, WrittenModes> written_;
    int skippedId_ = 0;
    CWnd window_;
    std::vector<std::unique_ptr<CWnd>> children_;
    std::array<LayoutRecord, kTraceLayoutEntries> records_{};
};

CRect Expected(const CRect& recorded, const WrittenModes& modes, int dx, int dy) {
    CRect r = recorded;
    if (modes.horizontal == AxisMode::Move)
        r.OffsetRect(dx, 0);
    else if (modes.horizontal == AxisMode::Stretch)
        r.right += dx;
    if (modes.vertical == AxisMode::Move)
        r.OffsetRect(0, dy);
    else if (modes.vertical == AxisMode::Stretch)
        r.bottom += dy;
    return r;
}

TEST_F(LayoutWindow, ApplyAfterRecordMovesNothingAndGrowthFollowsTheWrittenModes) {
    const auto before = Rectangles();
    Layout(1);
    Layout(0);
    EXPECT_EQ(Rectangles(), before);

    ResizeClientBy(100, 50);
    Layout(0);
    const auto grown = Rectangles();
    for (const auto& [id, modes] : written_)
        EXPECT_EQ(grown.at(id), Expected(before.at(id), modes, 100, 50)) << "control " << id;
    EXPECT_EQ(grown.at(kUnlistedId), before.at(kUnlistedId));

    ResizeClientBy(-100, -50);
    Layout(0);
    EXPECT_EQ(Rectangles(), before);
}

class LayoutWindowMissingControl : public LayoutWindow {
protected:
    void SetUp() override {
        skippedId_ = 1036; // the plot frame
        LayoutWindow::SetUp();
    }
};

TEST_F(LayoutWindowMissingControl, AnIdTheWindowLacksIsSkipped) {
    const auto before = Rectangles();
    Layout(1);
    ResizeClientBy(100, 0);
    Layout(0);
    const auto after = Rectangles();
    EXPECT_EQ(after.count(1036), 0u);
    EXPECT_EQ(after.at(1069), Expected(before.at(1069), written_.at(1069), 100, 0));
}

} // namespace
