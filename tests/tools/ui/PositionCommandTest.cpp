// The position tools opened through the program's own commands: the position control window and the
// multi-position run alone (modeless, one each), the internal position command programming and the
// DI/DO assignment (modal, read before and written after).
#include "tests/shell/ui/ShellUiFixture.h"

#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/DriveParameters.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"

#include "framework/core/ResourceModule.h"
#include "resources/ids/tools.h"
#include "sim/SimMachine.h"
#include "sim/SimPosition.h"
#include "tools/ui/IPListDlg.h"
#include "tools/ui/MulPosDlg.h"
#include "tools/ui/PosAllDlg.h"
#include "tools/ui/PositionCommAPDlg.h"

#include <algorithm>

namespace {

struct PositionCommands : ShellUiFixture {
    void SetDrive(const std::string& code, int value) {
        ASSERT_TRUE(SetDriveParameter(drive, code, value)) << code;
    }
    int Drive(const std::string& code) const {
        const uint16_t address = ParamCodeRegisterAddress(code).value_or(0);
        if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
            return static_cast<int>(drive.GetRegister32(address));
        return drive.GetRegister(address);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const MessageRequest& m : messages.Shown())
            texts.push_back(m.text);
        return texts;
    }
    CSimMachine machine{drive};
    CSimPosition position{drive, machine};
};

// The menu item with the id, and the one before it in its popup.
std::pair<const MenuItemTemplate*, const MenuItemTemplate*>
FindItem(const std::vector<MenuItemTemplate>& items, int id) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == id)
            return {&items[i], i > 0 ? &items[i - 1] : nullptr};
        if (auto found = FindItem(items[i].children, id); found.first)
            return found;
    }
    return {nullptr, nullptr};
}

bool Greenish(const QColor& c) {
    return c.green() > 120 && c.red() < c.green() / 2;
}
bool Reddish(const QColor& c) {
    return c.red() > 150 && c.green() < c.red() / 2;
}
QColor Mean(CWnd& window) {
    const QImage image = Grab(window);
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x) {
            r += qRed(image.pixel(x, y));
            g += qGreen(image.pixel(x, y));
            b += qBlue(image.pixel(x, y));
            ++n;
        }
    return n ? QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)) : QColor();
}

} // namespace

TEST_F(PositionCommands, PositionControlOpensOnceAndItsCloseIsTheViews) {
    StartLinked();
    ASSERT_TRUE(CommandEnabled(ID_POSITION_CONTROL));
    View()->SendMessage(WM_COMMAND, ID_POSITION_CONTROL);
    CPosAllDlg* window = View()->PositionWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolPosition]);
    EXPECT_FALSE(CommandEnabled(ID_JOG_MODE)) << "the existing rules keep the jog away";
    View()->SendMessage(WM_COMMAND, ID_POSITION_CONTROL);
    EXPECT_EQ(View()->PositionWindow, window);
    const std::weak_ptr<int> life = window->Life();
    drive.ClearLog();
    window->SendMessage(WM_CLOSE);
    EXPECT_TRUE(life.expired()) << "the window frees itself";
    EXPECT_EQ(View()->PositionWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolPosition]);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("W1170E0000")}));
}

TEST_F(PositionCommands, MultiPositionHasItsMenuEntryAndOpensAlone) {
    StartLinked();
    const MenuTemplate* menu = FindMenu(IDR_KELOSERVO_DOC);
    ASSERT_NE(menu, nullptr);
    const auto [item, before] = FindItem(menu->items, ID_MULTI_POSITION);
    ASSERT_NE(item, nullptr) << "command 32805 has a menu entry";
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->id, ID_POSITION_CONTROL) << "beside its siblings";

    ASSERT_TRUE(CommandEnabled(ID_MULTI_POSITION));
    View()->SendMessage(WM_COMMAND, ID_MULTI_POSITION);
    CMulPosDlg* window = View()->MultiPositionWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Alone());
    EXPECT_TRUE(window->IsWindowVisible());
    View()->SendMessage(WM_COMMAND, ID_MULTI_POSITION);
    EXPECT_EQ(View()->MultiPositionWindow, window);
    const std::weak_ptr<int> life = window->Life();
    window->SendMessage(WM_CLOSE);
    EXPECT_TRUE(life.expired());
    EXPECT_EQ(View()->MultiPositionWindow, nullptr);
}

TEST_F(PositionCommands, PathProgrammingReadsEditsAndWrites) {
    StartLinked();
    SetDrive("Pn316", 0x0123);
    SetDrive("Pn313", 10);
    SetDrive("Pn401", 5);
    SetDrive("Pn406", 5000);
    *View()->GetDoc()->FindMaximum("Pn403") = 3000;
    otherModal = [&](CDialog& dialog) {
        auto& programming = dynamic_cast<CPositionCommAPDlg&>(dialog);
        EXPECT_EQ(programming.m_positionMode, 3);
        EXPECT_EQ(programming.m_pholdSelect, 2);
        CPositionCommPage1& page = programming.m_page1;
        EXPECT_EQ(ui::Text(page, IDC_PC_REVOLUTIONS_FIRST), "5");
        ui::Type(page, IDC_PC_REVOLUTIONS_FIRST, "16001");
        EXPECT_EQ(ui::Text(page, IDC_PC_REVOLUTIONS_FIRST), "5") << "the previous value comes back";
        ui::Type(page, IDC_PC_REVOLUTIONS_FIRST, "-16000");
        ui::Press(programming, IDC_PC_RELATIVE);
        ui::Press(programming, IDC_PC_PHOLD_RESUME);
        ui::Press(programming, IDOK);
    };
    View()->SendMessage(WM_COMMAND, ID_POSITION_PROGRAMMING);
    EXPECT_EQ(Drive("Pn316"), 0x0001);
    EXPECT_EQ(static_cast<int16_t>(Drive("Pn401")), -16000);
    EXPECT_EQ(Drive("Pn406"), 3000) << "5000 above the maximum is saved as 3000";
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Write successfully!!\n\nPlease restart the Servo drive! ! \n(After "
                                        "turning off the power, re-enter the power.)");
    EXPECT_EQ(messages.Shown()[0].caption, "Write Message");

    // A speed alone needs no restart.
    messages.Clear();
    otherModal = [&](CDialog& dialog) {
        auto& programming = dynamic_cast<CPositionCommAPDlg&>(dialog);
        ui::Type(programming.m_page2, IDC_PC_SPEED_FIRST, "100");
        ui::Press(programming, IDOK);
    };
    View()->SendMessage(WM_COMMAND, ID_POSITION_PROGRAMMING);
    EXPECT_EQ(Drive("Pn451"), 100) << "entry 17's speed";
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Write successfully!!"}));

    // A smoothing time out of range keeps the dialog open.
    messages.Clear();
    int stillOpen = 0;
    otherModal = [&](CDialog& dialog) {
        ui::Type(dialog, IDC_PC_SMOOTHING, "10001");
        ui::Press(dialog, IDOK);
        stillOpen += IsWindow(dialog.GetSafeHwnd()) ? 1 : 0;
        dialog.EndDialog(IDCANCEL);
    };
    drive.ClearLog();
    View()->SendMessage(WM_COMMAND, ID_POSITION_PROGRAMMING);
    EXPECT_EQ(stillOpen, 1);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "Internal / External Position Command One time Smoothing Acceleration / "
              "Deceleration Time Constant Over Range!!\n\n");
    const std::vector<std::string> log = Requests();
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& r) { return r[0] == 'W'; }))
        << "Cancel writes nothing";
}

// Both pages of the programming window read whole: the column heads clear of the frame around them.
TEST_F(PositionCommands, PathProgrammingTextsStandApart) {
    StartLinked();
    int checked = 0;
    otherModal = [&](CDialog& dialog) {
        auto& programming = dynamic_cast<CPositionCommAPDlg&>(dialog);
        for (int tab : {0, 1}) {
            ui::ChooseTab(programming, IDC_PC_TAB, tab);
            EXPECT_TRUE(ui::TextsFit(programming)) << "tab " << tab;
            ++checked;
        }
        ui::ChooseTab(programming, IDC_PC_TAB, 0);
        ui::Screenshot(programming, "position-programming");
        ui::Press(programming, IDCANCEL);
    };
    View()->SendMessage(WM_COMMAND, ID_POSITION_PROGRAMMING);
    EXPECT_EQ(checked, 2);
}

TEST_F(PositionCommands, DioAssignmentChecksConflictsAndWritesTheGroup) {
    StartLinked();
    SetDrive("Hn601", 0x103);
    SetDrive("Hn602", 0x003);
    SetDrive("Hn603", 0x000); // its factory function is 3 too: only DI-1 and DI-2 share it here
    SetDrive("Hn617", 0x0FC5);
    SetDrive("Hn618", 0x0805);
    SetDrive("Hn623", 0x1234);
    SetDrive("Hn624", 0x0ABC);
    int busyInside = -1;
    otherModal = [&](CDialog& dialog) {
        auto& list = dynamic_cast<CIPListDlg&>(dialog);
        busyInside = View()->DioDialogBusyFlag;
        CInOutParaDlg& grid = list.m_grid;
        const int di1Fn3 = IdOfCell({false, 0, 3});
        const int di2Fn3 = IdOfCell({false, 1, 3});
        EXPECT_EQ(grid.CellImage(di1Fn3), IDB_DIO_CONTACT_B) << "0x103: function 3, contact B";
        EXPECT_EQ(grid.CellImage(di2Fn3), IDB_DIO_CONTACT_A);
        EXPECT_TRUE(Reddish(Mean(*grid.Cell(di1Fn3))));
        EXPECT_TRUE(Greenish(Mean(*grid.Cell(di2Fn3))));
        EXPECT_FALSE(ui::Checked(grid, di2Fn3));
        EXPECT_TRUE(ui::Checked(grid, di1Fn3));
        ui::Screenshot(list, "dio-grid-inputs");

        ui::Press(list, IDOK);
        EXPECT_TRUE(IsWindow(list.GetSafeHwnd())) << "a conflict keeps the dialog open";
        ui::Press(list, IDC_DIO_OUTPUTS);
        EXPECT_TRUE(ui::Checked(list, IDC_DIO_INPUTS)) << "nor may the mode change";
        EXPECT_FALSE(grid.OutputsShown());

        ui::Press(grid, di1Fn3); // B -> A
        EXPECT_EQ(grid.CellImage(di1Fn3), IDB_DIO_CONTACT_A);
        ui::Press(list, IDC_DIO_OUTPUTS);
        EXPECT_TRUE(grid.OutputsShown());
        EXPECT_EQ(ui::Text(list, IDC_DIO_NOTE), "[Note: The DO pin function cannot be repeated. ]");
        EXPECT_EQ(grid.RowName(1), DoFunctionName(0));
        ui::Press(list, IDC_DIO_INPUTS);
        ui::Press(list, IDOK);
    };
    View()->SendMessage(WM_COMMAND, ID_DIDO_CONTACT_SET);
    EXPECT_EQ(busyInside, 1);
    EXPECT_EQ(View()->DioDialogBusyFlag, 0);
    ASSERT_EQ(messages.Shown().size(), 3u) << "OK and DO refused, then the restart notice";
    EXPECT_EQ(messages.Shown()[1].text, messages.Shown()[0].text);
    EXPECT_EQ(messages.Shown()[0].text,
              "[Note: The pin function can be repeated, but the action potential must be "
              "the same. ]\n\nHn601 Hn602 ");
    EXPECT_EQ(messages.Shown()[0].caption, "Input Contact Signal Setting");
    EXPECT_EQ(Drive("Hn601"), 0x003);
    EXPECT_EQ(Drive("Hn602"), 0x003);
    EXPECT_EQ(Drive("Hn617"), 0x0FC5);
    EXPECT_EQ(Drive("Hn618"), 0x0805);
    EXPECT_EQ(Drive("Hn623"), 0x1234);
    EXPECT_EQ(Drive("Hn624"), 0x0ABC);
    EXPECT_EQ(*View()->GetDoc()->FindValue("Hn601"), 0x003);
}

// The controls of the grid that overlap another, each pair as "id/id".
std::vector<std::string> OverlappingChildren(CWnd& window) {
    std::vector<std::pair<int, CRect>> shown;
    for (CWnd* child : window.GetChildren())
        if (child->IsWindowVisible()) {
            CRect rect;
            child->GetWindowRect(&rect);
            shown.emplace_back(child->GetDlgCtrlID(), rect);
        }
    std::vector<std::string> pairs;
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const CRect& a = shown[i].second;
            const CRect& b = shown[j].second;
            if (std::max(a.left, b.left) < std::min(a.right, b.right) &&
                std::max(a.top, b.top) < std::min(a.bottom, b.bottom))
                pairs.push_back(std::to_string(shown[i].first) + "/" + std::to_string(shown[j].first));
        }
    return pairs;
}

// The red "Function" header of the row names stands above row 0 and no cell or row label runs into
// another, in both modes.
TEST_F(PositionCommands, DioGridHeaderAndRowsStandApart) {
    StartLinked();
    otherModal = [&](CDialog& dialog) {
        auto& list = dynamic_cast<CIPListDlg&>(dialog);
        CInOutParaDlg& grid = list.m_grid;
        CRect header, firstCell;
        grid.GetDlgItem(IDC_DIO_CAPTION)->GetWindowRect(&header);
        grid.Cell(IdOfCell({false, 0, 0}))->GetWindowRect(&firstCell);
        EXPECT_LE(header.bottom, firstCell.top);
        const QImage caption = Grab(*grid.GetDlgItem(IDC_DIO_CAPTION));
        int redInk = 0;
        for (int y = 0; y < caption.height(); ++y)
            for (int x = 0; x < caption.width(); ++x)
                redInk += Reddish(caption.pixelColor(x, y)) ? 1 : 0;
        EXPECT_GT(redInk, 20) << "the header is written in red";
        EXPECT_EQ(grid.ContentSize().cy, grid.RowsTop() + DioRows * CInOutParaDlg::CellHeight);
        EXPECT_EQ(OverlappingChildren(grid), std::vector<std::string>{}) << "inputs";
        ui::Press(list, IDC_DIO_OUTPUTS);
        ASSERT_TRUE(grid.OutputsShown());
        EXPECT_EQ(OverlappingChildren(grid), std::vector<std::string>{}) << "outputs";
        ui::Screenshot(list, "dio-grid-outputs");
        ui::Press(list, IDCANCEL);
    };
    View()->SendMessage(WM_COMMAND, ID_DIDO_CONTACT_SET);
}

TEST_F(PositionCommands, EveryCellIdCanBeClickedAndCancelWritesNothing) {
    StartLinked();
    SetDrive("Hn605", 0x150); // a function beyond the grid's rows
    otherModal = [&](CDialog& dialog) {
        auto& list = dynamic_cast<CIPListDlg&>(dialog);
        for (int id = DioFirstInputCell; id <= DioLastCell + 1; ++id)
            list.m_grid.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED));
        ui::Press(list, IDCANCEL);
    };
    drive.ClearLog();
    View()->SendMessage(WM_COMMAND, ID_DIDO_CONTACT_SET);
    const std::vector<std::string> log = Requests();
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& r) { return r[0] == 'W'; }));
    EXPECT_EQ(Drive("Hn605"), 0x150);
}
