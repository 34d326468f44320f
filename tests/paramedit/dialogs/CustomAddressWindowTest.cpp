// The custom address window against the simulated drive: cells typed through the list's editor,
// Read, Write, keep reading on the timer, the number bases and the address list file.
#include "DialogsFixture.h"

#include "controls/DtextEditCell.h"
#include "framework/core/Format.h"
#include "framework/ui/Button.h"
#include "paramedit/AddressListFile.h"
#include "paramedit/ParaCustomDlg.h"
#include "resources/ids/paradialogs.h"
#include "tests/framework/ui/UiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

#include <filesystem>
#include <fstream>

namespace {

class CustomAddressWindow : public DialogsFixture {
protected:
    void SetUp() override {
        DialogsFixture::SetUp();
        window = new CParaCustomDlg(
            services, [this] { return hasDocument; }, [this] { ++closed; });
        ASSERT_TRUE(window->Create(IDD_PD_CUSTOM_ADDRESS, nullptr));
        window->ShowWindow(SW_SHOW);
        life = window->Life();
        a = Register("Cn005");
        b = Register("Cn006");
    }
    void TearDown() override {
        if (!life.expired())
            window->DestroyWindow();
        DialogsFixture::TearDown();
    }

    // Clicks the cell as the user does and types into the editor that opens there.
    void TypeCell(int row, int column, const std::string& text) {
        CRect cell;
        window->m_list.GetSubItemRect(row, column, LVIR_BOUNDS, cell);
        auto* table = qobject_cast<QTableWidget*>(window->m_list.GetWidget());
        ASSERT_NE(table, nullptr);
        const QPoint at = table->viewport()->mapFrom(table, QPoint(cell.left + 5, cell.top + 3));
        QMouseEvent press(QEvent::MouseButtonPress, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &press);
        CDtextEditCell* editor = window->m_list.CurrentEditor();
        ASSERT_NE(editor, nullptr) << "row " << row << " column " << column;
        EXPECT_EQ(editor->GetLimitText(), 4u);
        for (char c : text)
            editor->SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
        editor->SendMessage(WM_KILLFOCUS);
    }
    std::string Value(int row) const { return window->m_list.GetItemText(row, 3); }
    void Click(int id) { Press(*window, id); }
    std::string ReadText() const { return window->GetDlgItemText(IDC_PD_ADDRESS_READ); }

    CParaCustomDlg* window = nullptr;
    std::weak_ptr<int> life;
    bool hasDocument = true;
    int closed = 0;
    uint16_t a = 0;
    uint16_t b = 0;
};

TEST_F(CustomAddressWindow, OpensWithTenEmptyRows) {
    ASSERT_EQ(window->m_list.GetItemCount(), 10);
    EXPECT_EQ(window->m_list.GetItemText(9, 1), "10");
    EXPECT_EQ(window->m_list.GetItemText(9, 2), "0000");
    EXPECT_EQ(Value(9), "0");
    EXPECT_EQ(window->GetWindowText(), "Edit Custom Parameter");
    // All addresses 0: neither Read nor Write touches the drive.
    Click(IDC_PD_ADDRESS_READ);
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(messages->Shown().empty());
}

// One click on a cell and the user types over what it shows: the editor opens with all its text
// selected, whatever the mouse does on its way up.
TEST_F(CustomAddressWindow, ASingleClickThenTypingReplacesTheCell) {
    for (const int column : {2, 3}) {
        CRect cell;
        window->m_list.GetSubItemRect(4, column, LVIR_BOUNDS, cell);
        CPoint at(cell.left + 6, cell.CenterPoint().y);
        window->m_list.ClientToScreen(&at);
        window->ScreenToClient(&at);
        ui::MouseEvent(*window, at, QEvent::MouseButtonPress, Qt::LeftButton);
        ui::MouseEvent(*window, at, QEvent::MouseButtonRelease, Qt::NoButton);
        ASSERT_NE(window->m_list.CurrentEditor(), nullptr);
        QWidget* focused = window->m_list.CurrentEditor()->GetWidget(); // the keys go to the editor
        for (const char c : std::string("0003")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (c - '0'), Qt::NoModifier, QString(QChar(c)));
            QApplication::sendEvent(focused, &key);
        }
        window->m_list.CurrentEditor()->SendMessage(WM_KILLFOCUS);
        EXPECT_EQ(window->m_list.GetItemText(4, column), "0003") << "column " << column;
    }
    EXPECT_EQ(window->m_list.GetRowValue(4), 3);
}

TEST_F(CustomAddressWindow, ReadsWritesAndKeepsReadingTheTypedAddresses) {
    drive->SetRegister(a, 0x1234);
    drive->SetRegister(b, 7);
    drive->ClearLog();
    TypeCell(0, 2, Format("%X", a));
    TypeCell(2, 2, Format("%X", b));
    EXPECT_EQ(window->m_list.GetRowValue(2), b);

    Click(IDC_PD_ADDRESS_READ);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker(Format("R1%04X", a)), Maker(Format("R1%04X", b))}));
    EXPECT_EQ(Value(0), "4660");
    EXPECT_EQ(Value(1), "0");
    EXPECT_EQ(Value(2), "7");
    Click(IDC_PD_BASE_HEX);
    EXPECT_EQ(Value(0), "1234");
    EXPECT_EQ(Value(2), "0007");

    // The same typed text is read in the base that is shown; an empty cell writes 0.
    TypeCell(0, 3, "12");
    TypeCell(2, 3, "\b");
    drive->ClearLog();
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_EQ(drive->GetRegister(a), 0x12);
    EXPECT_EQ(drive->GetRegister(b), 0);
    EXPECT_EQ(Requests().size(), 2u) << "row 2 (address 0) is skipped";
    Click(IDC_PD_BASE_DEX);
    TypeCell(0, 3, "12");
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_EQ(drive->GetRegister(a), 12);

    // Keep reading: Read starts the timer, each tick reads the registers again, Read stops it.
    window->CheckDlgButton(IDC_PD_KEEP_READING, BST_CHECKED);
    Click(IDC_PD_ADDRESS_READ);
    EXPECT_EQ(ReadText(), "Stop");
    EXPECT_EQ(window->m_keepReadingState, 1);
    drive->SetRegister(b, 99);
    drive->ClearLog();
    window->SendMessage(WM_TIMER, CParaCustomDlg::KeepReadingTimer, 0);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker(Format("R1%04X", a)), Maker(Format("R1%04X", b))}));
    EXPECT_EQ(Value(2), "99");
    drive->SetRegister(b, 100);
    ASSERT_TRUE(SpinUntil([&] { return Value(2) == "100"; }, 3000)) << "the timer itself reads";
    Click(IDC_PD_ADDRESS_READ);
    EXPECT_EQ(ReadText(), "Read");
    EXPECT_EQ(window->m_keepReadingState, 0);
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(CustomAddressWindow, NothingIsWrittenUnlessEveryValueIsANumber) {
    TypeCell(0, 2, Format("%X", a));
    TypeCell(1, 2, Format("%X", b));
    drive->SetRegister(a, 5);
    drive->ClearLog();
    window->m_list.SetItemText(0, 3, "77");
    window->m_list.SetItemText(1, 3, "1A"); // DEX is shown: not a decimal number
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(drive->GetRegister(a), 5);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, InvalidAddressValueText(2, false));

    // A refused write stops the pass at its row.
    messages->Clear();
    window->m_list.SetItemText(1, 3, "8");
    TypeCell(2, 2, Format("%X", Register("Cn007")));
    drive->RefuseAddress(b);
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_EQ(drive->GetRegister(a), 77);
    EXPECT_EQ(Requests().size(), 2u) << "row 3 is not written";
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, AddressWriteFailedText(2));
}

TEST_F(CustomAddressWindow, AddressListRoundTripThroughTheFileDialogs) {
    TypeCell(0, 2, "1F");
    TypeCell(9, 2, "ABCD");
    TypeCell(0, 3, "42");
    TypeCell(9, 3, "9");
    const std::string path = Path("rows.ADR");
    messages->AnswerFile(Path("rows.txt"));
    Click(IDC_PD_ADDRESS_SAVE);
    EXPECT_FALSE(std::filesystem::exists(Path("rows.txt"))) << "only an .adr name is written";
    messages->AnswerFile(path);
    Click(IDC_PD_ADDRESS_SAVE);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), std::string(AddressListHeader).size() + 81);
    ASSERT_EQ(messages->FileRequests().size(), 2u);
    EXPECT_EQ(messages->FileRequests()[1].defaultExt, "adr");
    EXPECT_EQ(messages->FileRequests()[1].filter, "Address Data Files (*.adr)|*.adr||");

    // Changed rows come back from the file.
    TypeCell(0, 2, "2");
    TypeCell(0, 3, "3");
    messages->AnswerFile(path);
    Click(IDC_PD_ADDRESS_OPEN);
    EXPECT_EQ(window->m_list.GetItemText(0, 2), "001F");
    EXPECT_EQ(window->m_list.GetItemText(9, 2), "ABCD");
    EXPECT_EQ(window->m_list.GetRowValue(9), 0xABCD);
    EXPECT_EQ(Value(0), "42");
    EXPECT_EQ(Value(9), "9");

    // An empty file loads nothing and shows the rows as they are.
    const std::string empty = Path("empty.adr");
    { std::ofstream(empty, std::ios::binary); }
    messages->AnswerFile(empty);
    Click(IDC_PD_ADDRESS_OPEN);
    EXPECT_EQ(window->m_list.GetItemText(0, 2), "001F");
    EXPECT_EQ(Value(0), "42");
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(CustomAddressWindow, UnlinkedReadStillTogglesAndCloseClearsTheViewPointer) {
    TypeCell(0, 2, Format("%X", a));
    Unlink();
    window->CheckDlgButton(IDC_PD_KEEP_READING, BST_CHECKED);
    Click(IDC_PD_ADDRESS_READ);
    EXPECT_EQ(ReadText(), "Stop");
    Click(IDC_PD_ADDRESS_WRITE);
    EXPECT_TRUE(Requests().empty());

    Click(IDCANCEL);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(life.expired());
}

} // namespace
