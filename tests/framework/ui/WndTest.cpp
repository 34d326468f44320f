// Message maps, dispatch order, reflection, command routing, timers and posted messages.
#include "UiTestSupport.h"

#include "framework/core/MessageSeam.h"
#include "framework/ui/DC.h"
#include "framework/ui/Edit.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/SystemInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kPrivate = WM_USER + 0x424;
constexpr UINT kApply = 1001;
constexpr UINT kBitFirst = 3000;
constexpr UINT kBitLast = 3999;

class CProbeWnd : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {
                                        msg::Command(kApply, &CProbeWnd::OnApply),
                                        msg::CommandRange(kBitFirst, kBitLast, &CProbeWnd::OnBit),
                                        msg::Control(EN_CHANGE, 2001, &CProbeWnd::OnEditChange),
                                        msg::Notify(NM_DBLCLK, 2002, &CProbeWnd::OnListDblClk),
                                        msg::Timer(&CProbeWnd::OnTimer),
                                        msg::Message(kPrivate, &CProbeWnd::OnPrivate),
                                    });
        return &map;
    }
    void OnApply() { log.push_back("apply"); }
    void OnBit(UINT id) { log.push_back("bit " + std::to_string(id)); }
    void OnEditChange() { log.push_back("parent EN_CHANGE"); }
    void OnListDblClk(NMHDR* header, LRESULT* result) {
        log.push_back("parent NM_DBLCLK " + std::to_string(header->idFrom));
        *result = 7;
    }
    void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        timerThread = std::this_thread::get_id();
    }
    LRESULT OnPrivate(WPARAM w, LPARAM l) {
        log.push_back("private " + std::to_string(w) + "," + std::to_string(l));
        privateThread = std::this_thread::get_id();
        return static_cast<LRESULT>(w + static_cast<WPARAM>(l));
    }
    std::vector<std::string> log;
    std::thread::id timerThread;
    std::thread::id privateThread;
};

// A derived window replaces one entry and inherits the rest.
class CDerivedWnd : public CProbeWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CProbeWnd::GetMessageMap(),
                                    {msg::Command(kApply, &CDerivedWnd::OnApplyHere)});
        return &map;
    }
    void OnApplyHere() { log.push_back("derived apply"); }
};

// A control that handles its own EN_CHANGE (so the parent never sees it) and lets NM_DBLCLK through.
class CSelfEdit : public CEdit {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CEdit::GetMessageMap(),
                                    {
                                        msg::ControlReflect(EN_CHANGE, &CSelfEdit::OnChange),
                                        msg::NotifyReflectEx(NM_DBLCLK, &CSelfEdit::OnDblClk),
                                    });
        return &map;
    }
    void OnChange() { ++changes; }
    BOOL OnDblClk(NMHDR*, LRESULT*) {
        ++dblclicks;
        return FALSE;
    }
    int changes = 0;
    int dblclicks = 0;
};

class WndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTopWindow(window)); }
    CDerivedWnd window;
};

TEST_F(WndTest, CommandsFindTheirEntryInTheClassOrItsBase) {
    struct Case {
        UINT id;
        UINT code;
        const char* expected;
    } cases[] = {
        {kApply, BN_CLICKED, "derived apply"}, // the derived table wins
        {3000, BN_CLICKED, "bit 3000"},        // range bounds, from the base table
        {3999, BN_CLICKED, "bit 3999"},        {4000, BN_CLICKED, nullptr}, // outside the range
        {kApply, EN_CHANGE, nullptr}, // a notification code is not a command
    };
    for (const Case& c : cases) {
        window.log.clear();
        const LRESULT handled = window.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
        if (c.expected) {
            ASSERT_EQ(window.log.size(), 1u) << c.id;
            EXPECT_EQ(window.log[0], c.expected);
            EXPECT_EQ(handled, 1);
        } else {
            EXPECT_TRUE(window.log.empty()) << c.id;
            EXPECT_EQ(handled, 0);
        }
    }
    EXPECT_EQ(window.SendMessage(kPrivate, 40, 2), 42);
    EXPECT_EQ(window.log.back(), "private 40,2");
}

TEST_F(WndTest, ReflectedNotificationsStayWithTheControlUnlessItLetsThemGo) {
    CSelfEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &window, 2001));
    edit.SetWindowText("12");
    EXPECT_EQ(edit.changes, 1);
    EXPECT_TRUE(window.log.empty());

    // The _EX reflection handler returns FALSE: the parent gets the notification too, and its answer.
    NMHDR header;
    header.code = NM_DBLCLK;
    edit.SetDlgCtrlID(2002);
    EXPECT_EQ(edit.NotifyParent(&header), 7);
    EXPECT_EQ(edit.dblclicks, 1);
    ASSERT_EQ(window.log.size(), 1u);
    EXPECT_EQ(window.log[0], "parent NM_DBLCLK 2002");
}

// A frame-like window that offers commands to another target first, as frames route to their view.
class CRoutingWnd : public CWnd {
public:
    bool OnCmdMsg(UINT id, UINT message, UINT code, void* extra, LRESULT* result, bool queryOnly) override {
        if (first && first->OnCmdMsg(id, message, code, extra, result, queryOnly))
            return true;
        return CWnd::OnCmdMsg(id, message, code, extra, result, queryOnly);
    }
    CCmdTarget* first = nullptr;
};

class CTarget : public CCmdTarget {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CCmdTarget::GetMessageMap(),
                                    {
                                        msg::Command(kApply, &CTarget::OnApply),
                                        msg::CommandEx(kApply + 1, &CTarget::OnMaybe),
                                        msg::UpdateCommandUI(kApply, &CTarget::OnUpdate),
                                    });
        return &map;
    }
    void OnApply() { ++applied; }
    BOOL OnMaybe(UINT) {
        ++asked;
        return FALSE; // declines: routing goes on
    }
    void OnUpdate(CCmdUI* ui) { updated = ui; }
    int applied = 0;
    int asked = 0;
    CCmdUI* updated = nullptr;
};

TEST(CommandRouting, FramesOfferCommandsToTheirTargetsThroughOnCmdMsg) {
    CRoutingWnd frame;
    ASSERT_TRUE(CreateTopWindow(frame));
    CTarget target;
    frame.first = &target;
    frame.SendMessage(WM_COMMAND, MAKEWPARAM(kApply, 0), 0);
    EXPECT_EQ(target.applied, 1);
    // A handler that declines leaves the command unhandled.
    EXPECT_EQ(frame.SendMessage(WM_COMMAND, MAKEWPARAM(kApply + 1, 0), 0), 0);
    EXPECT_EQ(target.asked, 1);
    // Queries only ask; update-UI entries are found by their own kind.
    EXPECT_TRUE(frame.OnCmdMsg(kApply, WM_COMMAND, CN_COMMAND, nullptr, nullptr, true));
    EXPECT_FALSE(frame.OnCmdMsg(kApply + 2, WM_COMMAND, CN_COMMAND, nullptr, nullptr, true));
    EXPECT_EQ(target.applied, 1);
    auto* fakeUi = reinterpret_cast<CCmdUI*>(&target);
    EXPECT_TRUE(frame.OnCmdMsg(kApply, WM_COMMAND, CN_UPDATE_COMMAND_UI, fakeUi, nullptr, false));
    EXPECT_EQ(target.updated, fakeUi);
}

TEST_F(WndTest, TimersFireExplicitlyAndAreReplacedByTheirId) {
    EXPECT_EQ(window.SetTimer(5, 1000), 5u);
    EXPECT_EQ(window.TimerInterval(5), 1000);
    EXPECT_EQ(window.SetTimer(5, 250), 5u); // same id: one timer, new interval
    EXPECT_EQ(window.TimerInterval(5), 250);
    EXPECT_TRUE(FireTimerForTest(&window, 5));
    ASSERT_EQ(window.log.size(), 1u);
    EXPECT_EQ(window.log[0], "timer 5");
    EXPECT_TRUE(window.KillTimer(5));
    EXPECT_FALSE(window.KillTimer(5));
    EXPECT_FALSE(FireTimerForTest(&window, 5)); // a killed timer cannot fire
    EXPECT_EQ(window.log.size(), 1u);
}

TEST_F(WndTest, ARealTimerTicksOnTheUserInterfaceThread) {
    window.SetTimer(9, 5);
    ASSERT_TRUE(SpinUntil([&] { return window.log.size() >= 2; }));
    EXPECT_EQ(window.log[0], "timer 9");
    EXPECT_EQ(window.timerThread, std::this_thread::get_id());
    window.KillTimer(9);
}

TEST_F(WndTest, MessagesPostedFromAnotherThreadArriveInOrderOnTheUserInterfaceThread) {
    const HWND handle = window.GetSafeHwnd();
    std::thread worker([handle] {
        for (int i = 1; i <= 3; ++i)
            ::PostMessage(handle, kPrivate, static_cast<WPARAM>(i), 0);
    });
    worker.join();
    EXPECT_TRUE(window.log.empty()); // queued, not handled on the sending thread
    ASSERT_TRUE(SpinUntil([&] { return window.log.size() == 3; }));
    EXPECT_EQ(window.log, (std::vector<std::string>{"private 1,0", "private 2,0", "private 3,0"}));
    EXPECT_EQ(window.privateThread, std::this_thread::get_id());
}

TEST_F(WndTest, SendMessageFromAnotherThreadRunsOnTheUserInterfaceThreadAndReturnsTheAnswer) {
    std::atomic<LRESULT> answer{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        answer = window.SendMessage(kPrivate, 5, 6);
        done = true;
    });
    const bool finished = SpinUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(answer.load(), 11);
    EXPECT_EQ(window.privateThread, std::this_thread::get_id());
}

// What a transfer loop calls between two requests: posted messages and sends from other threads go
// through at once, a full event-loop pass (timers here) at most every 10 ms.
TEST_F(WndTest, BetweenTransfersMessagesGoAtOnceAndTheRestAtItsPace) {
    using namespace std::chrono_literals;
    using Clock = std::chrono::steady_clock;
    const auto count = [&](const std::string& entry) {
        return std::count(window.log.begin(), window.log.end(), entry);
    };
    const auto startPace = [&] {
        std::this_thread::sleep_for(11ms);
        DispatchMessagesBetweenTransfers(); // a full pass
        window.log.clear();
        return Clock::now();
    };
    window.SetTimer(9, 1);

    Clock::time_point start = startPace();
    std::atomic<LRESULT> answer{0};
    std::thread worker([&] { answer = window.SendMessage(kPrivate, 3, 4); });
    while (answer.load() == 0 && Clock::now() - start < 2s)
        DispatchMessagesBetweenTransfers();
    worker.join();
    EXPECT_EQ(answer.load(), 7);

    start = startPace();
    ::PostMessage(window.GetSafeHwnd(), kPrivate, 1, 2);
    std::this_thread::sleep_for(2ms); // the timer is due again
    DispatchMessagesBetweenTransfers();
    const bool withinPace = Clock::now() - start < 9ms;
    EXPECT_EQ(count("private 1,2"), 1);
    if (withinPace) {
        EXPECT_EQ(count("timer 9"), 0) << "a full pass ran before its pace allowed";
    }

    while (count("timer 9") == 0 && Clock::now() - start < 2s) {
        std::this_thread::sleep_for(1ms);
        DispatchMessagesBetweenTransfers();
    }
    EXPECT_GE(count("timer 9"), 1);
    window.KillTimer(9);
}

TEST(PostedMessages, AMessageForAWindowThatWentIsDropped) {
    auto* window = new CProbeWnd;
    ASSERT_TRUE(CreateTopWindow(*window));
    const HWND handle = window->GetSafeHwnd();
    EXPECT_TRUE(::PostMessage(handle, kPrivate, 1, 1));
    window->DestroyWindow();
    delete window;
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_FALSE(::PostMessage(handle, kPrivate, 1, 1));
    DispatchPendingMessages(); // the queued one finds no window and does nothing
}

TEST(Destruction, DestroyWindowSendsWmDestroyParentFirstAndDetachesChildren) {
    struct CLogged : CWnd {
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(), {msg::Destroy(&CLogged::OnDestroy)});
            return &map;
        }
        void OnDestroy() { order->push_back(name); }
        void PostNcDestroy() override { order->push_back(name + " gone"); }
        std::vector<std::string>* order = nullptr;
        std::string name;
    };
    std::vector<std::string> order;
    CLogged parent, child;
    parent.order = child.order = &order;
    parent.name = "parent";
    child.name = "child";
    ASSERT_TRUE(CreateTopWindow(parent));
    ASSERT_TRUE(child.Create("child", "", WS_CHILD, CRect(0, 0, 10, 10), &parent, 7));
    EXPECT_EQ(parent.GetDlgItem(7), &child);
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child", "child gone", "parent gone"}));
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
    EXPECT_EQ(parent.GetSafeHwnd(), nullptr);
}

// An edit that takes only hexadecimal digits, cleans pasted text and keeps text set by code upper-case.
class CHexEdit : public CEdit {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CEdit::GetMessageMap(),
                                    {
                                        msg::Key(WM_CHAR, &CHexEdit::OnChar),
                                        msg::Simple(WM_PASTE, &CHexEdit::OnPaste),
                                        msg::Message(WM_SETTEXT, &CHexEdit::OnSetText),
                                    });
        return &map;
    }
    void OnChar(UINT ch, UINT repeat, UINT flags) {
        if (std::isxdigit(static_cast<int>(ch)) || ch == 8) {
            CEdit::OnChar(ch, repeat, flags);
            seenAfterDefault.push_back(GetWindowText()); // the default has typed it already
        }
    }
    void OnPaste() {
        Default(); // the paste happens here, so what it left can be checked at once
        std::string clean;
        for (char c : GetWindowText())
            if (std::isxdigit(static_cast<unsigned char>(c)))
                clean += c;
        SetWindowText(clean);
        ++pastes;
    }
    LRESULT OnSetText(WPARAM, LPARAM text) {
        std::string upper = reinterpret_cast<const char*>(text);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(upper.c_str()));
    }
    int pastes = 0;
    std::vector<std::string> seenAfterDefault;
};

void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress,
                        c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode(),
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

TEST_F(WndTest, KeyHandlersFilterTypedCharactersPasteAndTextSetByCode) {
    CHexEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &window, 2003));
    Type(edit.GetWidget(), "1g2az");
    EXPECT_EQ(edit.GetWindowText(), "12a");
    EXPECT_EQ(edit.seenAfterDefault, (std::vector<std::string>{"1", "12", "12a"}));

    QApplication::clipboard()->setText("x7-F");
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString());
    QApplication::sendEvent(edit.GetWidget(), &paste);
    EXPECT_EQ(edit.pastes, 1);
    EXPECT_EQ(edit.GetWindowText(), "12A7F"); // cleaned, and upper-case through WM_SETTEXT

    // Characters sent by code take the same path: the handler refuses 'x', the default types 'b'.
    edit.SendMessage(WM_CHAR, 'x');
    edit.SendMessage(WM_CHAR, 'b');
    EXPECT_EQ(edit.GetWindowText(), "12A7Fb");
    // Backspace is the character's work, not the key's.
    edit.SendMessage(WM_KEYDOWN, VK_BACK);
    EXPECT_EQ(edit.GetWindowText(), "12A7Fb");
    edit.SendMessage(WM_CHAR, 8);
    EXPECT_EQ(edit.GetWindowText(), "12A7F");
}

TEST_F(WndTest, ASimulatedKeyPressIsTypedIntoTheFocusedEdit) {
    CHexEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &window, 2005));
    window.ShowWindow(SW_SHOW);
    window.GetWidget()->activateWindow();
    ASSERT_TRUE(SpinUntil([&] { return window.GetWidget()->isActiveWindow(); }));
    edit.SetFocus();
    SimulateKeyPress('7');
    SimulateKeyPress('G'); // refused by the edit's own WM_CHAR handler
    SimulateKeyPress('C');
    ASSERT_TRUE(SpinUntil([&] { return edit.GetWindowText().size() == 2; }));
    EXPECT_EQ(edit.GetWindowText(), "7c");
}

TEST_F(WndTest, AMouseHandlerSeesTheDefaultsEffectRightAfterCallingIt) {
    class CClickList : public CListBox {
    public:
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CListBox::GetMessageMap(),
                                        {msg::Mouse(WM_LBUTTONDOWN, &CClickList::OnLButtonDown)});
            return &map;
        }
        void OnLButtonDown(UINT flags, CPoint point) {
            before = GetCurSel();
            CListBox::OnLButtonDown(flags, point);
            after = GetCurSel();
        }
        int before = -2;
        int after = -2;
    } list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 0, 100, 100), &window, 2004));
    list.AddString("zero");
    list.AddString("one");
    window.ShowWindow(SW_SHOW);
    auto* widget = qobject_cast<QListWidget*>(list.GetWidget());
    const QRect second = widget->visualItemRect(widget->item(1));
    const QPoint at = second.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget->viewport(), &press);
    EXPECT_EQ(list.before, LB_ERR);
    EXPECT_EQ(list.after, 1);
}

// As on the platform, a window that handles mouse moves hears the pointer pass over it with no
// button held, whether it was created with its handler or took over a control later; a window
// without a handler is left as it was.
TEST_F(WndTest, AWindowThatHandlesMovesHearsThemWithoutAButton) {
    struct CMoveWnd : CWnd {
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(),
                                        {msg::Mouse(WM_MOUSEMOVE, &CMoveWnd::OnMouseMove)});
            return &map;
        }
        void OnMouseMove(UINT flags, CPoint point) { moves.push_back({flags, point}); }
        std::vector<std::pair<UINT, CPoint>> moves;
    };
    CMoveWnd created;
    ASSERT_TRUE(created.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &window, 2006));
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(100, 0, 200, 100), &window, 2007));
    const HWND plainHandle = plain.GetSafeHwnd();
    plain.UnsubclassWindow();
    CMoveWnd subclassed;
    ASSERT_TRUE(subclassed.SubclassWindow(plainHandle));
    CWnd silent;
    ASSERT_TRUE(silent.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(200, 0, 300, 100), &window, 2008));
    window.ShowWindow(SW_SHOW);
    const auto hover = [](CWnd& target, QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, target.GetWidget()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target.GetWidget(), &move);
    };
    for (CMoveWnd* target : {&created, &subclassed}) {
        hover(*target, QPointF(30, 40));
        ASSERT_EQ(target->moves.size(), 1u);
        EXPECT_EQ(target->moves[0].first, 0u) << "no button, no key";
        EXPECT_EQ(target->moves[0].second, CPoint(30, 40));
    }
    hover(silent, QPointF(30, 40));
    EXPECT_FALSE(silent.GetWidget()->hasMouseTracking());
}

TEST_F(WndTest, PreTranslateMessageSeesKeysOnTheTargetAndThenItsParents) {
    struct CSwallowEsc : CWnd {
        BOOL PreTranslateMessage(MSG* m) override {
            seen.push_back(m->hwnd == this ? "self" : "child");
            return m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE;
        }
        std::vector<std::string> seen;
    };
    CSwallowEsc outer;
    ASSERT_TRUE(CreateTopWindow(outer));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &outer, 5));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(edit.GetWidget(), &esc);
    EXPECT_EQ(outer.seen, (std::vector<std::string>{"child"}));
    EXPECT_TRUE(esc.isAccepted());
}

} // namespace

namespace {

TEST(Application, WaitCursorCountsAndMessageBoxIcons) {
    EnsureQtApplication();
    CWinApp app("Probe");
    app.DoWaitCursor(1);
    app.DoWaitCursor(1);
    app.DoWaitCursor(-1);
    EXPECT_EQ(app.WaitCursorCount(), 1);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    app.DoWaitCursor(-1);
    app.DoWaitCursor(-1); // one end too many changes nothing
    EXPECT_EQ(app.WaitCursorCount(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    ScriptedMessages messages;
    AfxMessageBox("Out of range!");
    messages.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox("Save?", MB_YESNO), IDNO);
    AfxMessageBox("Stop", MB_OK | MB_ICONSTOP);
    ASSERT_EQ(messages.Shown().size(), 3u);
    EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(messages.Shown()[1].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(messages.Shown()[2].type, MB_OK | MB_ICONSTOP);
}

TEST(Application, RunEndsWhenTheMainWindowIsDestroyed) {
    EnsureQtApplication();
    struct CShortApp : CWinApp {
        int ExitInstance() override { return 3; }
    } app;
    class CMain : public CWnd {
    public:
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(), {msg::Timer(&CMain::OnTimer)});
            return &map;
        }
        void OnTimer(UINT_PTR) { DestroyWindow(); }
    } main;
    ASSERT_TRUE(CreateTopWindow(main));
    app.m_pMainWnd = &main;
    main.SetTimer(1, 1);
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

} // namespace

namespace {

TEST(Sizing, ASizingHandlerKeepsItsMinimumAndSizeFollows) {
    class CSized : public CWnd {
    public:
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(), {
                                                                   msg::Sizing(&CSized::OnSizing),
                                                                   msg::Size(&CSized::OnSize),
                                                               });
            return &map;
        }
        void OnSizing(UINT edge, CRect* rect) {
            edges.push_back(edge);
            if (rect->Width() < 300)
                rect->right = rect->left + 300;
        }
        void OnSize(UINT kind, int cx, int cy) {
            EXPECT_EQ(kind, SIZE_RESTORED);
            sizes.push_back(CSize(cx, cy));
        }
        std::vector<UINT> edges;
        std::vector<CSize> sizes;
    } window;
    ASSERT_TRUE(CreateTopWindow(window));
    window.ShowWindow(SW_SHOW);
    DispatchPendingMessages();
    window.GetWidget()->resize(200, 250); // narrower than the handler allows
    DispatchPendingMessages();
    ASSERT_FALSE(window.edges.empty());
    // The handler works on the window rectangle, frame included; the client area is what is left.
    CRect frame, client;
    window.GetWindowRect(&frame);
    window.GetClientRect(&client);
    EXPECT_EQ(frame.Width(), 300);
    EXPECT_EQ(client.Height(), 250);
    ASSERT_FALSE(window.sizes.empty());
    EXPECT_EQ(window.sizes.back(), CSize(client.Width(), 250));
}

} // namespace

namespace {

TEST(DesktopFacts, TextExtentFollowsTheWindowsFontAndTheWorkAreaLiesOnTheScreen) {
    CWnd window;
    ASSERT_TRUE(CreateTopWindow(window));
    const CSize narrow = window.GetTextExtent("iii");
    const CSize wide = window.GetTextExtent("WWW");
    EXPECT_GT(narrow.cx, 0);
    EXPECT_GT(wide.cx, narrow.cx);
    EXPECT_EQ(window.GetTextExtent("").cx, 0);
    CFont big;
    ASSERT_TRUE(big.CreatePointFont(240, "Arial"));
    window.SetFont(&big);
    EXPECT_GT(window.GetTextExtent("WWW").cx, wide.cx);
    EXPECT_GT(window.GetTextExtent("WWW").cy, wide.cy);

    CRect area;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0));
    CClientDC dc(&window);
    EXPECT_GT(area.Width(), 0);
    EXPECT_LE(area.right, dc.GetDeviceCaps(HORZRES));
    EXPECT_LE(area.bottom, dc.GetDeviceCaps(VERTRES));
    EXPECT_FALSE(SystemParametersInfo(0x0001, 0, &area, 0));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));
}

} // namespace
