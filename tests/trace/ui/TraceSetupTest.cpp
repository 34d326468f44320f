// The "Trace Setting" dialog opened from the trace window's button: the edge cases of its rules
// (long-word sources, channel count, Monitor mode, interval, trigger level and position) as the
// user meets them, and what an accepted set-up does to the window.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "resources/ids/trace.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/UserDocument.h"
#include "trace/TraceSetupRules.h"
#include "trace/ui/TraceSetupDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "controls/ColorTable.h"
#include "framework/core/ChannelColours.h"
#include "framework/ui/ComboBox.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The entry of a source combo that carries the code.
int EntryOf(CTraceSetupDlg& dialog, int code) {
    const auto& codes = dialog.SourceCodes();
    return static_cast<int>(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

// The colour a swatch shows in its middle, as the user sees it.
COLORREF SwatchShows(CWnd& dialog, int id) {
    QWidget* widget = dialog.GetDlgItem(id)->GetWidget();
    const QImage image = widget->grab().toImage();
    const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// A click on a colour swatch (a notifying static), refused when it is disabled.
void ClickSwatch(CWnd& dialog, int id) {
    ASSERT_TRUE(ui::Enabled(dialog, id)) << "swatch " << id << " is disabled";
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), 0);
}

bool Asked(const std::vector<std::string>& requests, const std::string& command) {
    return std::any_of(requests.begin(), requests.end(),
                       [&](const std::string& r) { return r.find(command) != std::string::npos; });
}

} // namespace

TEST(TraceSetupRules, TriggerLevelRangesBySource) {
    struct Case {
        int source;
        bool monitor;
        int minimum, maximum;
        std::string text;
        bool level, edge;
    } cases[] = {
        {1, false, -10000, 10000, "[rpm]  (-10000~10000)", true, true},
        {3, false, -100, 100, "[%]  (-100~100)", true, true},
        {5, false, -32768, 32767, "[pulse]  (-32768~32767)", true, true}, // one 16-bit word
        {6, false, 0, 359, "[degree]  (0~359)", true, true},
        {12, false, 0, 1, "[]", false, true},
        {44, true, 0, 100, "(0~100)", true, true},
        {40, false, -32768, 32767, "(-32768~32767)", true, true},
        {1, true, 0, 0, "", false, false},
        {0, false, 0, 0, "", false, false},
    };
    for (const Case& c : cases) {
        const TriggerLevelRange r = TriggerRangeFor(c.source, c.monitor, false, false);
        EXPECT_EQ(r.minimum, c.minimum) << c.source;
        EXPECT_EQ(r.maximum, c.maximum) << c.source;
        EXPECT_EQ(r.text, c.text) << c.source;
        EXPECT_EQ(r.levelEnabled, c.level) << c.source;
        EXPECT_EQ(r.edgeEnabled, c.edge) << c.source;
    }
    EXPECT_EQ(LevelWithin(TriggerRangeFor(3, false, false, false), 150), 0);
    EXPECT_EQ(LevelWithin(TriggerRangeFor(6, false, false, false), 400), 0);
    EXPECT_EQ(LevelWithin(TriggerRangeFor(9, false, false, false), 1), 0);
}

TEST(TraceSetupRules, LongWordChannels) {
    struct Case {
        std::array<int, 8> codes;
        int channel;
        bool eight;
        bool allowed;
    } cases[] = {
        {{5, 0, 0, 0, 0, 0, 0, 0}, 1, false, false}, // four channels: one among 1..3
        {{0, 0, 0, 0, 0, 0, 0, 0}, 3, false, false}, // channel 4 of four: no room for its high word
        {{0, 0, 0, 0, 0, 0, 0, 0}, 3, true, true},
        {{5, 47, 51, 0, 0, 0, 0, 0}, 3, true, false}, // a fourth in eight-channel mode
        {{5, 47, 0, 0, 0, 0, 0, 0}, 2, true, true},
        {{0, 0, 0, 0, 0, 0, 0, 0}, 5, true, false}, // channels 6..8 never
        {{0, 0, 0, 0, 0, 0, 0, 0}, 7, true, false},
        {{5, 47, 51, 0, 0, 0, 0, 0}, 4, true, false}, // channel 5 with three others
        {{5, 47, 0, 0, 0, 0, 0, 0}, 4, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LongWordAllowed(c.codes, c.channel, c.eight), c.allowed) << c.channel;
}

TEST(TraceSetupRules, ChannelControlsFollowCountAndHighWords) {
    struct Case {
        std::array<int, 8> sources;
        bool eight;
        std::array<bool, 8> enabled;
    } cases[] = {
        {{1, 2, 3, 4, 0, 0, 0, 0}, false, {1, 1, 1, 1, 0, 0, 0, 0}}, // four: 5..8 off
        {{1, 5, 3, 4, 0, 0, 0, 0}, false, {1, 1, 1, 0, 0, 0, 0, 0}}, // channel 4 carries the high word
        {{1, 2, 3, 4, 6, 7, 8, 9}, true, {1, 1, 1, 1, 1, 1, 1, 1}},
        {{5, 2, 3, 4, 6, 7, 8, 9}, true, {1, 1, 1, 1, 1, 1, 1, 0}},
        {{5, 47, 51, 4, 6, 7, 8, 9}, true, {1, 1, 1, 1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChannelControlsEnabled(c.sources, c.eight), c.enabled) << c.sources[1] << c.eight;
}

class TraceSetup : public TraceWindowFixture {
protected:
    // Opens the set-up from the window's button and lets `user` act in it.
    void RunSetup(const std::function<void(CTraceSetupDlg&)>& user) {
        ui::ModalScript script(
            {{IDD_TRACE_SETUP, [&](CDialog& d) { user(static_cast<CTraceSetupDlg&>(d)); }}});
        ui::Press(*window, IDC_TG_SETTING);
        ASSERT_EQ(script.Opened(), std::vector<UINT>{IDD_TRACE_SETUP});
    }
    // Eight channels, every source "None".
    static void ClearSources(CTraceSetupDlg& d) {
        ui::Choose(d, IDC_TS_CHANNEL_COUNT, 1);
        for (int id : TraceSetupSourceCombos)
            ui::Choose(d, id, 0);
    }
};

TEST_F(TraceSetup, FourChannelLongWordsAndChannelFour) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ClearSources(d);
        ui::Choose(d, IDC_TS_CHANNEL_COUNT, 0);
        ui::Choose(d, TraceSetupSourceCombos[1], EntryOf(d, 2));
        ui::Choose(d, TraceSetupSourceCombos[0], EntryOf(d, 5));
        EXPECT_EQ(d.codes[0], 5);
        EXPECT_FALSE(ui::Enabled(d, TraceSetupSourceCombos[3])) << "channel 4 carries the high word";
        ui::Choose(d, TraceSetupSourceCombos[1], EntryOf(d, 51));
        ASSERT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text, "long word is not available");
        EXPECT_EQ(d.codes[1], 2) << "the previous choice is back";
        EXPECT_EQ(ui::Selected(d, TraceSetupSourceCombos[1]), EntryOf(d, 2));
        EXPECT_FALSE(ui::Enabled(d, TraceSetupSourceCombos[4])) << "channels 5..8 wait in four-channel mode";
    });
}

// Channel 4 of four has no word for a high half: Position Error there would be cut to 16 bits.
TEST_F(TraceSetup, ChannelFourOfFourRefusesA32BitSource) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ClearSources(d);
        ui::Choose(d, TraceSetupSourceCombos[3], EntryOf(d, 5));
        ASSERT_EQ(d.codes[3], 5) << "eight channels place its high word on channel 8";
        ui::Choose(d, IDC_TS_CHANNEL_COUNT, 0);
        EXPECT_EQ(d.codes[3], 0) << "switching to four gives the choice up";
        EXPECT_EQ(ui::Selected(d, TraceSetupSourceCombos[3]), 0);
        ASSERT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text, "long word is not available");
        ui::Choose(d, TraceSetupSourceCombos[3], EntryOf(d, 2));
        ui::Choose(d, TraceSetupSourceCombos[3], EntryOf(d, 5));
        EXPECT_EQ(d.codes[3], 2) << "refused, the previous choice stays";
        EXPECT_EQ(ui::Selected(d, TraceSetupSourceCombos[3]), EntryOf(d, 2));
        EXPECT_EQ(messages->Shown().size(), 2u);
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(view.settings.sources[3], 2);
}

TEST_F(TraceSetup, EightChannelsNarrowTheUpperRowsAndSwitchingToFourClearsLaterLongWords) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ClearSources(d);
        ui::Choose(d, TraceSetupSourceCombos[0], EntryOf(d, 5));
        EXPECT_FALSE(ui::Enabled(d, TraceSetupSourceCombos[7]));
        EXPECT_TRUE(ui::Enabled(d, TraceSetupSourceCombos[6]));
        ui::Choose(d, TraceSetupSourceCombos[2], EntryOf(d, 51));
        ui::Choose(d, TraceSetupSourceCombos[1], EntryOf(d, 5));
        EXPECT_FALSE(ui::Enabled(d, TraceSetupSourceCombos[5])) << "three long words close channels 6..8";
        ui::Choose(d, TraceSetupSourceCombos[3], EntryOf(d, 5));
        EXPECT_EQ(d.codes[3], 0) << "a fourth is refused";
        ui::Choose(d, IDC_TS_TRIGGER_SOURCE, 6);
        ui::Choose(d, IDC_TS_CHANNEL_COUNT, 0);
        EXPECT_EQ(d.codes[0], 5);
        EXPECT_EQ(d.codes[1], 0) << "only the first long word of channels 1..3 stays";
        EXPECT_EQ(d.codes[2], 0);
        EXPECT_EQ(ui::Selected(d, IDC_TS_TRIGGER_SOURCE), 0) << "Data6 is gone with four channels";
        EXPECT_EQ(ui::Text(d, IDC_TS_POINTS), "2048");
    });
}

TEST_F(TraceSetup, MonitorModeForcesEightChannelsAndBoundsTheInterval) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ui::Choose(d, IDC_TS_MODE, 2);
        EXPECT_EQ(ui::Selected(d, IDC_TS_CHANNEL_COUNT), 1);
        EXPECT_FALSE(ui::Enabled(d, IDC_TS_CHANNEL_COUNT));
        EXPECT_FALSE(ui::Enabled(d, IDC_TS_TRIGGER_SOURCE));
        EXPECT_EQ(ui::Text(d, IDC_TS_RANGE), "(1~500)");
        EXPECT_EQ(ui::Text(d, IDC_TS_POINTS), "102400");
        EXPECT_EQ(ui::Text(d, IDC_TS_TIME_UNIT), "*1 ms =");
        ui::Type(d, IDC_TS_INTERVAL, "501");
        EXPECT_NE(ui::Text(d, IDC_TS_INTERVAL), "501") << "past the maximum is not taken";
        ui::Type(d, IDC_TS_INTERVAL, "0");
        messages->Clear();
        ui::Press(d, IDOK);
        ASSERT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text, "Over Range!!\n\n(1~500)\n");
        ui::Type(d, IDC_TS_INTERVAL, "500");
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(view.settings.traceMode, TraceModeMonitor);
    EXPECT_EQ(view.settings.interval, 500);
    EXPECT_EQ(view.settings.points, 102400);
    EXPECT_EQ(view.settings.valid, 1);
    EXPECT_TRUE(ui::Enabled(*window, IDC_TG_START)) << "an accepted set-up can be started";
}

TEST_F(TraceSetup, TriggerPositionAndLevelFollowTheirRanges) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ui::Choose(d, IDC_TS_MODE, 0);
        ui::Choose(d, TraceSetupSourceCombos[0], EntryOf(d, 1));
        ui::Choose(d, IDC_TS_TRIGGER_SOURCE, 0);
        EXPECT_FALSE(ui::Enabled(d, IDC_TS_LEVEL));
        EXPECT_FALSE(ui::Enabled(d, IDC_TS_POSITION));
        EXPECT_EQ(ui::Text(d, IDC_TS_LEVEL_RANGE), "");
        ui::Choose(d, IDC_TS_TRIGGER_SOURCE, 1);
        EXPECT_TRUE(ui::Enabled(d, IDC_TS_LEVEL));
        ui::Type(d, IDC_TS_POSITION, "51");
        EXPECT_EQ(ui::Text(d, IDC_TS_POSITION), "51");
        ui::Type(d, IDC_TS_POSITION, "52");
        EXPECT_EQ(ui::Text(d, IDC_TS_POSITION), "51") << "52 is put back";
        ui::Type(d, IDC_TS_LEVEL, "3000");
        ui::Type(d, IDC_TS_LEVEL, "20000");
        EXPECT_EQ(ui::Text(d, IDC_TS_LEVEL), "3000") << "beyond 10000 rpm is put back";
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(view.settings.triggerSource, 1);
    EXPECT_EQ(view.settings.triggerLevel, 3000);
    EXPECT_EQ(view.settings.triggerPosition, 51);
}

TEST_F(TraceSetup, AWideLevelFromTheSettingsFileIsClampedToOneWord) {
    view.settings.valid = 0;
    TraceSettings stored;
    stored.valid = 1;
    stored.traceMode = TraceModeSingle;
    stored.points = 1024;
    stored.sources = {5, 0, 0, 0, 0, 0, 0, 0};
    stored.triggerSource = 1;
    stored.triggerLevel = 60000;
    stored.interval = 1;
    stored.timeBase = 10000;
    ASSERT_TRUE(SaveTraceIni(ProgramFolderFile("trace.ini"), stored));
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(view.settings.triggerLevel, 32767);
}

TEST_F(TraceSetup, ColourCombosAndTheSwatchPickerSetTheChannelColours) {
    ASSERT_NE(Open(), nullptr);
    const COLORREF free = RGB(10, 200, 30);
    RunSetup([&](CTraceSetupDlg& d) {
        ClearSources(d);
        ui::Choose(d, TraceSetupColourCombos[0], 3);
        ui::Choose(d, TraceSetupColourCombos[5], 4);
        messages->AnswerColor(free);
        ClickSwatch(d, TraceSetupSwatches[0]);
        ASSERT_EQ(messages->ColorRequests().size(), 1u);
        EXPECT_EQ(messages->ColorRequests()[0].initial, kChannelColours[3])
            << "the picker starts at the colour";
        EXPECT_EQ(d.colours[0], free);
        EXPECT_EQ(d.colourIndices[0], 3) << "a free colour keeps the index";
        EXPECT_EQ(SwatchShows(d, TraceSetupSwatches[0]), free);

        const COLORREF before = d.colours[1];
        messages->CancelColor();
        ClickSwatch(d, TraceSetupSwatches[1]);
        EXPECT_EQ(d.colours[1], before) << "a cancelled picker changes nothing";
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(view.settings.colors[0], free);
    EXPECT_EQ(view.settings.colors[5], kChannelColours[4]) << "the colour combos of channels 5..8 count too";
    EXPECT_EQ(view.settings.colorIndices[5], 4);
}

TEST_F(TraceSetup, TheTriggerConditionIsSummedUpInTheWindow) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        ClearSources(d);
        ui::Choose(d, IDC_TS_MODE, 0);
        ui::Choose(d, TraceSetupSourceCombos[1], EntryOf(d, 2));
        ui::Choose(d, IDC_TS_TRIGGER_SOURCE, 2);
        ui::Choose(d, IDC_TS_EDGE, 2);
        ui::Type(d, IDC_TS_LEVEL, "-250");
        ui::Type(d, IDC_TS_POSITION, "12");
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(ui::Text(*window, 1070), "Speed Feedback Detection ");
    EXPECT_EQ(ui::Text(*window, 1071), " -250 rpm");
    EXPECT_EQ(ui::Text(*window, 6070), "Rise/Fall");
    EXPECT_EQ(ui::Text(*window, 6071), "12");

    RunSetup([&](CTraceSetupDlg& d) {
        ui::Choose(d, IDC_TS_TRIGGER_SOURCE, 0);
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(ui::Text(*window, 1070), "  ") << "no trigger channel: an empty title";
    for (int id : {1071, 6070, 6071})
        EXPECT_EQ(ui::Text(*window, id), "") << id;
}

TEST_F(TraceSetup, TheDrivesInputFunctionsAreReadBeforeTheSetupAndAFailedReadKeepsItClosed) {
    ASSERT_NE(Open(), nullptr);
    drive->ClearLog();
    RunSetup([&](CTraceSetupDlg& d) {
        EXPECT_TRUE(Asked(Requests(), "R11A01"));
        EXPECT_TRUE(Asked(Requests(), "R11A18")) << "all 24 functions were read";
        EXPECT_EQ(d.dioCodes[0], drive->GetRegister(0x1A01));
    });

    const TraceSettings before = view.settings;
    drive->AddFault({.kind = SimFaultKind::Refuse, .address = 0x1A03});
    messages->Clear();
    ui::ModalScript script({{IDD_TRACE_SETUP, [](CDialog&) {}}});
    ui::Press(*window, IDC_TG_SETTING);
    EXPECT_TRUE(std::find(script.Opened().begin(), script.Opened().end(), IDD_TRACE_SETUP) ==
                script.Opened().end())
        << "the set-up stays closed";
    ASSERT_FALSE(messages->Shown().empty());
    EXPECT_EQ(messages->Shown().back().text.rfind("Error", 0), 0u) << messages->Shown().back().text;
    EXPECT_EQ(view.settings.sources, before.sources);
}

// The lists name the functions the drive runs its pins with (its contact block), while the user's
// own Hn values, unsaved edits included, stay as they were: in the document, in what a save writes
// and in its modified mark.
TEST_F(TraceSetup, TheListsShowTheDrivesFunctionsAndTheUsersValuesStay) {
    const UserDocument before = EditPinFunctions(*doc, home_->Path("before.zpf"));
    ASSERT_FALSE(before.saved.empty());
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        auto* list = static_cast<CComboBox*>(d.GetDlgItem(TraceSetupSourceCombos[0]));
        EXPECT_EQ(list->GetLBText(EntryOf(d, 9)), "DI-1 - SON");
        EXPECT_EQ(list->GetLBText(EntryOf(d, 10)), "DI-2 - ALRS");
        EXPECT_EQ(list->GetLBText(EntryOf(d, 21)), "DO-1 - RDY");
        EXPECT_EQ(list->GetLBText(EntryOf(d, 22)), "DO-2 - ALM");
        ui::Choose(d, TraceSetupSourceCombos[0], EntryOf(d, 9));
        ui::Choose(d, TraceSetupSourceCombos[1], EntryOf(d, 21));
        ui::Screenshot(d, "trace-setup-contact-functions");
        ui::Press(d, IDCANCEL);
    });
    EXPECT_EQ(TakeUserDocument(*doc, home_->Path("after.zpf")), before);
}

TEST_F(TraceSetup, CursorSwatchesPickTheCursorColoursAndTheViewKeepsThem) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(SwatchShows(*window, IDC_TG_CURSOR3_SWATCH), kChannelColours[12]);
    ui::Press(*window, IDC_TG_CURSOR_SHOW);
    const COLORREF chosen = RGB(40, 90, 160);
    messages->AnswerColor(chosen);
    ClickSwatch(*window, IDC_TG_CURSOR3_SWATCH);
    ASSERT_EQ(messages->ColorRequests().size(), 1u);
    EXPECT_EQ(messages->ColorRequests()[0].initial, kChannelColours[12]);
    EXPECT_EQ(SwatchShows(*window, IDC_TG_CURSOR3_SWATCH), chosen);
    EXPECT_EQ(view.settings.cursorColors[2], chosen);
    EXPECT_EQ(view.settings.cursorColorUsed[2], 1);
    EXPECT_EQ(view.settings.cursorColorUsed[0], 0) << "only the chosen cursor is marked";
}

// Each channel's colour list shows the colour its swatch shows, with the window's own colours and
// after a table colour is picked on the swatch.
TEST_F(TraceSetup, EachColourListShowsTheColourOfItsSwatch) {
    ASSERT_NE(Open(), nullptr);
    RunSetup([&](CTraceSetupDlg& d) {
        auto listShows = [&](size_t ch) {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(TraceSetupColourCombos[ch]));
            return static_cast<COLORREF>(combo->GetItemData(combo->GetCurSel()));
        };
        for (size_t ch = 0; ch < 8; ++ch) {
            EXPECT_EQ(listShows(ch), SwatchShows(d, TraceSetupSwatches[ch])) << "Data" << ch + 1;
            EXPECT_EQ(ChannelColor(static_cast<unsigned>(d.colourIndices[ch])), d.colours[ch])
                << "Data" << ch + 1;
        }
        ui::Screenshot(d, "trace-setup");
        messages->AnswerColor(kChannelColours[5]);
        ClickSwatch(d, TraceSetupSwatches[2]);
        EXPECT_EQ(listShows(2), kChannelColours[5]);
        EXPECT_EQ(d.colourIndices[2], 5);
        ui::Press(d, IDOK);
    });
    EXPECT_EQ(view.settings.colorIndices[0], 0) << "Data1 is drawn red";
    EXPECT_EQ(view.settings.colorIndices[2], 5);
}
