// The parameters captured with a trace: which ones, where they land, what a failed read does, and
// the list a user opens with "Trace Parameter...".
#include "tests/trace/ui/TraceWindowFixture.h"

#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "resources/ids/trace.h"
#include "tests/support/DialogDriver.h"
#include "trace/ParameterSnapshot.h"
#include "trace/TraceDataFile.h"
#include "trace/ui/ParaListDialog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// A reader that answers every code with a value derived from it, except the codes told to fail.
struct FakeReader {
    std::set<std::string> failing;
    std::vector<std::string> asked;
    std::optional<int> operator()(std::string_view code) {
        asked.emplace_back(code);
        if (failing.count(std::string(code)) != 0)
            return std::nullopt;
        return ParamIndexFromCode(code) * 10 + 1;
    }
};

} // namespace

TEST(ParameterSnapshot, EachParameterLandsInItsEntryAndIsFoundByItsCode) {
    FakeReader reader;
    const auto snapshot = ReadSnapshotParameters(std::ref(reader));
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->valid, 1);
    EXPECT_EQ(snapshot->first[37], 8381) << "tn838 is entry 38";
    EXPECT_EQ(snapshot->first[62], 8631) << "tn863 is entry 63";
    EXPECT_EQ(snapshot->second[3], 11041) << "dn-04 is entry 4";
    EXPECT_EQ(snapshot->second[4], 0) << "entries 5 to 7 are not read";
    EXPECT_EQ(snapshot->second[12], 131) << "Cn013 is entry 13 of the second list";
    EXPECT_EQ(snapshot->third[44], 651) << "Cn065 is entry 45 of the third list";
    EXPECT_EQ(snapshot->third[47], 681);
    // Every listed row finds the value read for it.
    for (int index : SnapshotListIndexes()) {
        const std::string code = ParamCodeFromIndex(index);
        EXPECT_EQ(SnapshotValue(*snapshot, code), index * 10 + 1) << code;
    }
    EXPECT_EQ(SnapshotValue(*snapshot, "Pn301"), 0) << "a code the snapshot does not hold";
    EXPECT_EQ(reader.asked.front(), "tn838");
}

TEST(ParameterSnapshot, FailedReadsEndOrLeaveTheItemEmpty) {
    struct Case {
        const char* failing;
        bool read;
    };
    for (const Case& c : {Case{"tn838", false}, Case{"tn863", false}, Case{"Cn068", false},
                          Case{"dn-08", true}, Case{"Cn013", true}}) {
        FakeReader reader;
        reader.failing = {c.failing};
        const auto snapshot = ReadSnapshotParameters(std::ref(reader));
        EXPECT_EQ(snapshot.has_value(), c.read) << c.failing;
        if (snapshot) {
            EXPECT_EQ(SnapshotValue(*snapshot, c.failing), 0) << c.failing << " keeps no value";
        }
    }
}

class TraceParameters : public TraceWindowFixture {};

TEST_F(TraceParameters, StopCapturesTheParametersAndTheListShowsThem) {
    UseSetup(TraceModeSingle, true, {1, 2, 0, 0, 0, 0, 0, 0});
    const auto tn838 = ParameterRegisterAddress('t', 38, 838);
    ASSERT_TRUE(tn838);
    drive->SetRegister(*tn838, 123);
    ASSERT_NE(Open(), nullptr);
    {
        ui::ModalScript none;
        messages->Clear();
        ui::Press(*window, IDC_TG_PARAMETERS);
        ASSERT_EQ(messages->Shown().size(), 1u) << "nothing captured yet";
        EXPECT_EQ(messages->Shown()[0].text, "No trace parameters!");
        EXPECT_TRUE(none.Opened().empty());
    }
    // A Single trace stops by itself, through the stop path.
    ui::Press(*window, IDC_TG_START);
    machine->Advance(250000);
    Fire(TraceStartTimer);
    ASSERT_TRUE(FireUntil(TraceSingleTimer, [&] { return !window->Running(); }));
    ASSERT_EQ(window->Snapshot().valid, 1);
    EXPECT_EQ(SnapshotValue(window->Snapshot(), "tn838"), 123);

    std::vector<std::string> rows;
    ui::ModalScript script({{IDD_TRACE_PARAMETERS, [&](CDialog& d) {
                                 auto& list = static_cast<CParaListDialog&>(d).List();
                                 for (int r = 0; r < list.GetItemCount(); ++r)
                                     rows.push_back(list.GetItemText(r, 0) + "=" + list.GetItemText(r, 2));
                             }}});
    ui::Press(*window, IDC_TG_PARAMETERS);
    ASSERT_EQ(rows.size(), 35u);
    EXPECT_EQ(rows[0].substr(0, 6), "dn-04=");
    EXPECT_EQ(rows[9], "tn838=123");

    // The recording keeps them.
    const std::string path = home_->Path("with-parameters.trd");
    messages->AnswerFile(path);
    ui::Press(*window, IDC_TG_SAVE_AS);
    TraceRecording stored;
    ASSERT_TRUE(ReadTraceFile(path, TraceFileForm::Trace, stored).ok);
    EXPECT_EQ(stored.snapshotValid, 1);
    EXPECT_EQ(stored.snapshot1[37], 123);
}
