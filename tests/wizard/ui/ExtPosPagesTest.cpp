// The external pulse position pages driven as a user drives them: pictures, live reverts, the checks
// on leaving, the homing pages' enabled states, and the chain their choices steer.
#include "wizard/ui/ExtPosPages.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/Edit.h"
#include "resources/ids/wizardref.h"
#include "tests/support/DialogDriver.h"
#include "tests/wizard/ui/RefPageHost.h"
#include "wizard/ReferenceChains.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>

namespace {

using ui::Enabled;
using ui::Press;
using ui::Text;
using ui::Type;

class ExtPosPages : public RefPageHost {};

QImage Picture(CWnd& page, int id) {
    auto* label = qobject_cast<QLabel*>(page.GetDlgItem(id)->GetWidget());
    return label ? label->pixmap().toImage() : QImage();
}

// The edit the page pointed the user at: the whole text selected.
bool AllSelected(CWnd& page, int id) {
    auto* edit = dynamic_cast<CEdit*>(page.GetDlgItem(id));
    int start = -1, end = -1;
    if (edit)
        edit->GetSel(start, end);
    return edit && start == 0 && end == static_cast<int>(edit->GetWindowText().size()) && end > 0;
}

bool Near(QRgb pixel, QRgb expected) {
    return std::abs(qRed(pixel) - qRed(expected)) < 24 && std::abs(qGreen(pixel) - qGreen(expected)) < 24 &&
           std::abs(qBlue(pixel) - qBlue(expected)) < 24;
}

TEST_F(ExtPosPages, PulsePicturesFollowThePulseType) {
    CSetExtPosPage1Dialog type;
    CSetExtPosPage2Dialog logic;
    logic.m_PulseTypePage = &type;
    Open(type);
    Open(logic);
    const int pictures[4] = {IDC_REF_PICTURE1, IDC_REF_PICTURE2, IDC_REF_PICTURE3, IDC_REF_PICTURE4};
    // The trace colour of each type, probed on the command line's idle level ahead of the first
    // pulse: low for the positive logic (pictures 1, 2), high for the negative (3, 4).
    const QRgb colours[3] = {qRgb(0x1f, 0x5f, 0xbf), qRgb(0x2e, 0x8b, 0x3e), qRgb(0xd9, 0x70, 0x0f)};
    std::vector<QImage> typeTwo;
    for (int pulseType = 0; pulseType < 4; ++pulseType) {
        SCOPED_TRACE(pulseType);
        // One page on the screen at a time, as in the wizard: back to the type page, then forward.
        Visit(type);
        Press(type, IDC_REF_OPTION1 + pulseType);
        logic.ShowWindow(SW_HIDE);
        Visit(logic); // entering the page again
        EXPECT_EQ(pulseType, logic.m_PulseType);
        const QRgb colour = colours[std::min(pulseType, 2)];
        for (int i = 0; i < 4; ++i) {
            const QImage image = Picture(logic, pictures[i]);
            ASSERT_FALSE(image.isNull()) << i;
            EXPECT_TRUE(Near(image.pixel(35, i < 2 ? 26 : 6), colour)) << "picture " << i;
            EXPECT_FALSE(Near(image.pixel(35, i < 2 ? 6 : 26), colour)) << "picture " << i;
            if (pulseType == 2)
                typeTwo.push_back(image);
            if (pulseType == 3) {
                EXPECT_EQ(typeTwo[static_cast<size_t>(i)], image) << "type 3 shows type 2's pictures";
            }
        }
    }
    EXPECT_NE(Picture(logic, IDC_REF_PICTURE1), Picture(logic, IDC_REF_PICTURE2))
        << "forward and reverse differ";
}

TEST_F(ExtPosPages, GearRatioCheck) {
    CSetExtPosPage6Dialog gear;
    Open(gear);
    for (int id : {IDC_REF_VALUE2, IDC_REF_VALUE3, IDC_REF_VALUE4})
        Type(gear, id, "1");
    struct Case {
        const char* what;
        const char* numerator;
        const char* denominator;
        std::string message;
        int focused;
    };
    const Case cases[] = {
        {"1 / 2000", "1", "2000", "Electronic Gear Ratio < 1 / 1000 Out of Range!", IDC_REF_VALUE1},
        {"32001 / 1", "32001", "1", "Electronic Gear Ratio > 32000 Out of Range!", IDC_REF_VALUE1},
        {"numerator 0", "0", "2000", "Out of range!", IDC_REF_VALUE1},
        {"denominator above the range", "1", "536870913", "Out of range!", IDC_REF_VALUE5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        Type(gear, IDC_REF_VALUE1, c.numerator);
        Type(gear, IDC_REF_VALUE5, c.denominator);
        EXPECT_FALSE(gear.CheckPage());
        EXPECT_EQ(std::vector<std::string>{c.message}, Shown());
        EXPECT_TRUE(AllSelected(gear, c.focused));
    }
    messages.Clear();
    for (int id : {IDC_REF_VALUE1, IDC_REF_VALUE2, IDC_REF_VALUE3, IDC_REF_VALUE4})
        Type(gear, id, "131072");
    Type(gear, IDC_REF_VALUE5, "10000");
    EXPECT_TRUE(gear.CheckPage());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ExtPosPages, GearCalculatorResultReachesTheChosenNumerator) {
    CSetExtPosPage6Dialog gear;
    Open(gear);
    ui::ModalScript script({{IDD_SET_CONVEYOR_BELT2, [](CDialog& d) {
                                 Type(d, IDC_CALC_INPUT1, "100");
                                 Type(d, IDC_CALC_INPUT2, "10");
                                 Type(d, IDC_CALC_INPUT3, "1");
                                 Type(d, IDC_CALC_INPUT4, "10");
                                 ui::Choose(d, IDC_CALC_SLOT, 1);
                                 Press(d, IDOK);
                             }}});
    for (int id : {IDC_REF_VALUE1, IDC_REF_VALUE3, IDC_REF_VALUE4})
        Type(gear, id, "100000");
    Press(gear, IDC_REF_CONVEYOR);
    EXPECT_EQ("1310720", Text(gear, IDC_REF_VALUE2));
    EXPECT_TRUE(AllSelected(gear, IDC_REF_VALUE2));
    EXPECT_EQ("31400", Text(gear, IDC_REF_VALUE5));
    EXPECT_EQ(1310720, gear.m_Numerator[1]);
    EXPECT_EQ(31400, gear.m_Denominator);
    EXPECT_TRUE(gear.CheckPage());
}

TEST_F(ExtPosPages, PulsesPerRevolutionTrialAndCalculator) {
    CSetExtPosPage5Dialog pulses;
    Open(pulses);
    EXPECT_EQ("(0 ~ 131072)", Text(pulses, IDC_REF_PULSES_RANGE)) << "the encoder resolution is the maximum";
    EXPECT_FALSE(Enabled(pulses, IDC_REF_SET));
    Type(pulses, IDC_REF_VALUE3, "10");
    Type(pulses, IDC_REF_VALUE2, "1");
    Type(pulses, IDC_REF_VALUE4, "1");
    Type(pulses, IDC_REF_VALUE6, "1");
    Press(pulses, IDC_REF_CALCULATE);
    EXPECT_EQ("10000", Text(pulses, IDC_REF_CALC_PULSES));
    Press(pulses, IDC_REF_SET);
    EXPECT_EQ("10000", Text(pulses, IDC_REF_VALUE1));
    EXPECT_EQ(10000, pulses.m_PulsesPerRev);
    Type(pulses, IDC_REF_VALUE3, "63");
    Type(pulses, IDC_REF_VALUE2, "1000");
    Press(pulses, IDC_REF_CALCULATE);
    EXPECT_EQ("63", Text(pulses, IDC_REF_CALC_PULSES));
    EXPECT_FALSE(Enabled(pulses, IDC_REF_SET)) << "below 64 means not used";

    ui::ModalScript script({{IDD_SET_INDEX_PLATE1, [](CDialog& d) {
                                 Type(d, IDC_CALC_INPUT1, "360");
                                 Type(d, IDC_CALC_INPUT2, "1");
                                 Type(d, IDC_CALC_INPUT3, "1");
                                 Type(d, IDC_CALC_INPUT4, "10");
                                 Press(d, IDOK);
                             }}});
    Press(pulses, IDC_REF_INDEX_PLATE);
    EXPECT_EQ("360", Text(pulses, IDC_REF_VALUE1));
    EXPECT_EQ(360, pulses.m_PulsesPerRev);
}

TEST_F(ExtPosPages, HomingValuesLiveAndOnLeaving) {
    CSetExtPosPage13Dialog origin;
    Open(origin);
    EXPECT_EQ("(1 ~ 3000)", Text(origin, IDC_REF_RANGE_PN318)) << "homing speeds up to the rated speed";
    EXPECT_EQ("(-131071 ~ 131071)", Text(origin, IDC_REF_RANGE_PN321));
    Type(origin, IDC_REF_VALUE1, "0"); // no live test on the homing speeds
    EXPECT_EQ("0", Text(origin, IDC_REF_VALUE1));
    EXPECT_FALSE(origin.CheckPage());
    EXPECT_EQ(std::vector<std::string>{"Out of range!"}, Shown());
    EXPECT_TRUE(AllSelected(origin, IDC_REF_VALUE1));

    Type(origin, IDC_REF_VALUE3, "3000");
    Type(origin, IDC_REF_VALUE3, "30001");
    EXPECT_EQ("3000", Text(origin, IDC_REF_VALUE3));
    // Typing a digit in the middle that takes the value past the range: the old text comes back
    // with the caret where it stood.
    auto* line = qobject_cast<QLineEdit*>(origin.GetDlgItem(IDC_REF_VALUE3)->GetWidget());
    ASSERT_NE(line, nullptr);
    line->setCursorPosition(1);
    line->insert("9");
    EXPECT_EQ("3000", Text(origin, IDC_REF_VALUE3));
    EXPECT_EQ(2, line->cursorPosition());
    EXPECT_EQ(3000, origin.m_OffsetRevs);

    CSetExtPosPage16Dialog width;
    Open(width);
    Type(width, IDC_REF_VALUE1, "41943040");
    EXPECT_EQ(41943040, width.m_InPositionWidth);
    Type(width, IDC_REF_VALUE1, "41943041");
    EXPECT_EQ("41943040", Text(width, IDC_REF_VALUE1));
    messages.Clear();
    EXPECT_TRUE(width.CheckPage());
}

TEST_F(ExtPosPages, SearchPageFollowsTheReference) {
    CSetExtPosPage11Dialog reference;
    CSetExtPosPage12Dialog search;
    search.m_ReferencePage = &reference;
    Open(reference);
    Open(search);
    struct Case {
        int reference;
        int forced; // -1: the user's choice stays
        bool limits, origin, torqueNote;
    };
    const Case cases[] = {{0, 0, true, false, false},  {1, 0, true, false, false},
                          {3, -1, false, true, false}, {4, 2, false, false, false},
                          {7, 2, false, false, true},  {9, 2, false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        Visit(reference);
        Press(reference, IDC_REF_OPTION1 + c.reference);
        search.ShowWindow(SW_HIDE);
        search.m_HomeSearchMove = 1;
        Visit(search);
        EXPECT_EQ(c.forced < 0 ? 1 : c.forced, search.m_HomeSearchMove);
        if (c.forced >= 0) {
            EXPECT_TRUE(ui::Checked(search, IDC_REF_OPTION1 + c.forced));
        }
        EXPECT_EQ(c.limits, Enabled(search, IDC_REF_SELECT1));
        EXPECT_EQ(c.limits, Enabled(search, IDC_REF_SELECT2));
        EXPECT_EQ(c.origin, Enabled(search, IDC_REF_SELECT3));
        EXPECT_EQ(c.torqueNote, Enabled(search, IDC_REF_NOTE_TORQUE));
    }
}

TEST_F(ExtPosPages, HomingChoicesSteerTheChain) {
    CSetExtPosPage10Dialog start;
    CSetExtPosPage11Dialog reference;
    Open(start);
    Open(reference);
    const auto next = [&](int code) {
        ReferenceChoices choices;
        choices.homeStartMode = *start.Choice("Pn317.2");
        choices.homeMethod = *start.Choice("Pn355");
        choices.homeReference = *reference.Choice("Pn317.0");
        return NextReferencePage(code, choices);
    };
    EXPECT_FALSE(Enabled(start, IDC_REF_VALUE1)) << "homing off greys the method";
    Type(start, IDC_REF_VALUE1, "5"); // kept in its member while greyed
    EXPECT_EQ(55, next(49));
    Visit(start);
    Press(start, IDC_REF_OPTION2);
    EXPECT_TRUE(Enabled(start, IDC_REF_VALUE1));
    EXPECT_FALSE(Enabled(start, IDC_REF_SELECT1));
    EXPECT_EQ(52, next(49));
    EXPECT_EQ(54, next(52));
    Type(start, IDC_REF_VALUE1, "38");
    EXPECT_EQ("5", Text(start, IDC_REF_VALUE1)) << "0 ~ 37 only";
    Type(start, IDC_REF_VALUE1, "0");
    Press(start, IDC_REF_OPTION3);
    EXPECT_TRUE(Enabled(start, IDC_REF_SELECT1));
    EXPECT_EQ(50, next(49));
    Visit(reference);
    Press(reference, IDC_REF_OPTION1 + 7);
    EXPECT_EQ(53, next(52));
    Press(reference, IDC_REF_OPTION1 + 3);
    EXPECT_EQ(54, next(52));
}

// The wizard hands the remembered choices in before it creates a page; setting up the up-downs must
// not overwrite them with the up-downs' positions.
TEST_F(ExtPosPages, ChoicesHandedInBeforeCreationSurviveIt) {
    CSetExtPosPage14Dialog torque;
    set.SetChoice("Pn361", 30);
    set.SetChoice("Pn362", 1500);
    torque.TakeChoices(set);
    ASSERT_TRUE(torque.Create(torque.TemplateId(), &wizard));
    EXPECT_EQ(30, torque.m_HomeTorqueLimit);
    EXPECT_EQ(1500, torque.m_HomeTorqueTime);
    EXPECT_EQ("1500", Text(torque, IDC_REF_VALUE2));
}

} // namespace
