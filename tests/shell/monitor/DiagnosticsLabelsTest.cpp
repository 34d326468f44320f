#include "shell/DiagnosticsLabels.h"

#include "catalogue/KeloServoDoc.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(DiagnosticsLabels, TerminalsNameTheFunctionOfTheirAssignment) {
    std::map<int, int> hn{
        {1, 1},                 // S1: SON
        {2, 257 + 2},           // S2: the code with 256 added names the same function as 3
        {3, 3},                 // S3: PCNT
        {12, 0},                // S12: no function
        {13, 2},                // R1: ALM
        {17, 1},                // Hn617 and Hn618 assign nothing shown
        {18, 1},       {19, 6}, // R5: INP
        {22, 256 + 2},          // R8: ALM as well
    };
    const DiagnosticsTerminalLabels labels = TerminalLabels([&hn](int n) { return hn.count(n) ? hn[n] : 0; });
    EXPECT_EQ(labels.inputs[0], "S1: SON");
    EXPECT_EQ(labels.inputs[1], "S2: PCNT");
    EXPECT_EQ(labels.inputs[2], "S3: PCNT");
    EXPECT_EQ(labels.inputs[11], "S12: NULL");
    EXPECT_EQ(labels.outputs[0], "R1: ALM");
    EXPECT_EQ(labels.outputs[4], "R5: INP");
    EXPECT_EQ(labels.outputs[7], "R8: ALM");
    EXPECT_EQ(OutputAssignmentNumber(3), 16);
    EXPECT_EQ(OutputAssignmentNumber(4), 19);
}

TEST(DiagnosticsLabels, ReadsTheDocumentsHnGroup) {
    CKeloServoDoc doc;
    doc.Value(DocHn, 5) = 4;  // S5: POT
    doc.Value(DocHn, 17) = 5; // not a shown output
    doc.Value(DocHn, 19) = 1; // R5: RDY
    const DiagnosticsTerminalLabels labels = TerminalLabels(doc);
    EXPECT_EQ(labels.inputs[4], "S5: POT");
    EXPECT_EQ(labels.outputs[4], "R5: RDY");
}

TEST(DiagnosticsLabels, StateRowsShowOnAndOffWithTheirColours) {
    std::array<int, DiagStateCount> states{};
    DiagnosticsStateRows rows = TerminalStates(states);
    for (const TerminalStateLook& look : rows.inputs)
        EXPECT_EQ(look, (TerminalStateLook{"OFF", RGB(255, 255, 255), RGB(0, 0, 0)}));
    for (const TerminalStateLook& look : rows.outputs)
        EXPECT_EQ(look.text, "OFF");

    states[0] = 1;  // S1
    states[11] = 1; // S12
    states[12] = 1; // not a terminal
    states[13] = 1; // R1
    states[20] = 7; // R8: any non-zero state is on
    rows = TerminalStates(states);
    EXPECT_EQ(rows.inputs[0], (TerminalStateLook{"ON", RGB(0, 0, 0), RGB(250, 0, 0)}));
    EXPECT_EQ(rows.inputs[11].text, "ON");
    EXPECT_EQ(rows.inputs[10].text, "OFF");
    EXPECT_EQ(rows.outputs[0].text, "ON");
    EXPECT_EQ(rows.outputs[1].text, "OFF");
    EXPECT_EQ(rows.outputs[7].text, "ON");
}

} // namespace
