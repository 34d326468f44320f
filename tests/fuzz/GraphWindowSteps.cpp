#include "tests/fuzz/GraphWindowSteps.h"

#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/Screenshot.h"
#include "tests/support/WindowTestHome.h"
#include "trace/TraceDataFile.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>

namespace {

// The numbers both graph windows give the controls a user works the plot with.
constexpr int kOpen = 1103;
constexpr int kCursors = 6003;       // cursor lines on (trace: A-D; box: the time pair)
constexpr int kSecondCursors = 6004; // trace: the second pair's direction; box: the value pair
constexpr int kZoomIn = 1005;
constexpr int kZoomOut = 1006;
constexpr int kTimeScroll = 1069;
constexpr int kTimeBase = 2011;
constexpr int kCursorStyle = 6159;
constexpr int kCursorChoice = 6081; // box: which time cursor the arrow keys move
constexpr std::array<int, 4> kScales = {4002, 4003, 4004, 4005};
constexpr std::array<int, 4> kSliders = {1237, 1238, 1239, 1240};
constexpr std::array<int, 8> kStepButtons = {1001, 1002, 1003, 1004, 1434, 1435, 1436, 1011};
constexpr std::array<int, 4> kZeroButtons = {6033, 6034, 6035, 6036};
constexpr std::array<int, 4> kDataRadios = {6011, 6012, 6013, 6014};
constexpr unsigned kLeft = 37, kRight = 39;

enum Action : int {
    CursorsOnOff,
    SecondCursors,
    LeftKey,
    RightKey,
    ZoomIn,
    ZoomOut,
    RightClick,
    ScrollTime,
    TimeBase,
    Scale,
    Slider,
    StepButton,
    ZeroButton,
    DataChannel,
    CursorStyle,
    CursorChoice,
    ZoomDrag,
    CursorDrag,
    DoubleClick,
    Resize,
    Paint,
    ActionCount,
};

QWidget* Control(CWnd& window, int id) {
    CWnd* control = window.GetDlgItem(id);
    QWidget* widget = control ? control->GetWidget() : nullptr;
    // A user reaches only what the window shows and enables.
    if (!widget || !widget->isEnabled() || !widget->isVisibleTo(window.GetWidget()))
        return nullptr;
    return widget;
}

void Click(CWnd& window, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(Control(window, id)))
        button->click();
}

void Choose(CWnd& window, int id, int entry) {
    auto* combo = qobject_cast<QComboBox*>(Control(window, id));
    if (combo && combo->count() > 0)
        combo->setCurrentIndex(entry % combo->count());
}

void Scroll(CWnd& window, UINT message, int id, int code, int position) {
    CWnd* bar = window.GetDlgItem(id);
    if (bar && Control(window, id))
        window.SendMessage(message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
}

// A key as the message loop hands it over: the window looks at it first, then it is delivered.
void Key(CWnd& window, unsigned key) {
    MSG msg{};
    msg.hwnd = &window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    if (!window.PreTranslateMessage(&msg))
        window.SendMessage(WM_KEYDOWN, key);
    window.SendMessage(WM_KEYUP, key);
}

void Mouse(CWnd& window, UINT message, int x, int y) {
    const WPARAM buttons =
        message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ? 0u : static_cast<unsigned>(MK_LBUTTON);
    window.SendMessage(message, buttons, MAKELPARAM(x, y));
}

// A point of the window's client area: the plot and what lies around it.
int X(std::uint8_t a) {
    return 4 * a;
}
int Y(std::uint8_t b) {
    return 3 * b;
}

void Run(CWnd& window, const GraphStep& step) {
    const int a = step.a, b = step.b;
    switch (static_cast<Action>(step.action % ActionCount)) {
    case CursorsOnOff:
        Click(window, kCursors);
        break;
    case SecondCursors:
        Click(window, kSecondCursors);
        break;
    case LeftKey:
        Key(window, kLeft);
        break;
    case RightKey:
        Key(window, kRight);
        break;
    case ZoomIn:
        Click(window, kZoomIn);
        break;
    case ZoomOut:
        Click(window, kZoomOut);
        break;
    case RightClick:
        Mouse(window, WM_RBUTTONDOWN, X(step.a), Y(step.b));
        break;
    case ScrollTime:
        Scroll(window, WM_HSCROLL, kTimeScroll, a % 9, b * b * 16);
        break;
    case TimeBase:
        Choose(window, kTimeBase, a * 256 + b);
        break;
    case Scale:
        Choose(window, kScales[static_cast<size_t>(a % 4)], b);
        break;
    case Slider:
        Scroll(window, WM_VSCROLL, kSliders[static_cast<size_t>(a % 4)], (a / 4) % 9, b * b * 16);
        break;
    case StepButton:
        Click(window, kStepButtons[static_cast<size_t>(a % 8)]);
        break;
    case ZeroButton:
        Click(window, kZeroButtons[static_cast<size_t>(a % 4)]);
        break;
    case DataChannel:
        Click(window, kDataRadios[static_cast<size_t>(a % 4)]);
        break;
    case CursorStyle:
        Choose(window, kCursorStyle, a);
        break;
    case CursorChoice:
        Choose(window, kCursorChoice, a);
        break;
    case ZoomDrag: {
        const int x = X(step.a), y = Y(step.b);
        Mouse(window, WM_MOUSEMOVE, x, y);
        Mouse(window, WM_LBUTTONDOWN, x, y);
        Mouse(window, WM_MOUSEMOVE, x + 20 + a % 128, y + 20 + b % 128);
        Mouse(window, WM_LBUTTONUP, x + 20 + a % 128, y + 20 + b % 128);
        break;
    }
    case CursorDrag: {
        const int x = X(step.a), y = Y(step.b);
        Mouse(window, WM_MOUSEMOVE, x, y);
        Mouse(window, WM_LBUTTONDOWN, x, y);
        Mouse(window, WM_MOUSEMOVE, x + (b - 128), y + (a - 128));
        Mouse(window, WM_LBUTTONUP, x + (b - 128), y + (a - 128));
        break;
    }
    case DoubleClick:
        Mouse(window, WM_MOUSEMOVE, X(step.a), Y(step.b));
        Mouse(window, WM_LBUTTONDBLCLK, X(step.a), Y(step.b));
        break;
    case Resize:
        window.MoveWindow(0, 0, 880 + 2 * a, 650 + b);
        break;
    case Paint:
    case ActionCount:
        PaintOffscreen(window);
        break;
    }
}

} // namespace

GraphWindowInput SplitGraphWindowInput(const std::uint8_t* data, std::size_t size) {
    GraphWindowInput input;
    if (size == 0)
        return input;
    const std::size_t count = std::min<std::size_t>(data[0] % 25, (size - 1) / 3);
    for (std::size_t i = 0; i < count; ++i)
        input.steps.push_back({data[1 + 3 * i], data[2 + 3 * i], data[3 + 3 * i]});
    const std::size_t start = 1 + 3 * count;
    input.recording.assign(reinterpret_cast<const char*>(data + start), size - start);
    return input;
}

namespace {

std::string answerPath;

// Qt, the resource library and a document, once per process; every message box is answered OK and
// every file dialog with the input's recording.
CKeloServoDoc& PrepareGraphWindowWorld() {
    static PrivateHome home("kelo-fuzz-home");
    static const ScopedResourceModule resources(ProgramResources());
    static DocumentHost host;
    static const std::unique_ptr<CKeloServoDoc> document = [] {
        auto doc = std::make_unique<CKeloServoDoc>(&host);
        doc->OnNewDocument();
        doc->SetModifiedFlag(false);
        return doc;
    }();
    FuzzScratchPath(""); // makes the scratch folder and answers every message box
    SetFileDialogPresenter([](const FileDialogRequest&) { return FileDialogResult{true, answerPath, 1}; });
    return *document;
}

} // namespace

void PaintOffscreen(CWnd& window) {
    QWidget* widget = window.GetWidget();
    if (!widget || widget->width() <= 0 || widget->height() <= 0)
        return;
    QImage image(widget->size(), QImage::Format_RGB32);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
}

namespace {

void RunGraphWindowSteps(CWnd& window, const GraphWindowInput& input, TraceFileForm form) {
    TraceRecording read;
    const bool accepted = DecodeTraceFile(input.recording, form, read).ok;
    const std::string caption = window.GetWindowText();
    Click(window, kOpen);
    // The window opens what its reader takes (its caption then names the file), and a file the
    // reader refuses changes nothing.
    const std::string opened = window.GetWindowText();
    FuzzCheck(accepted ? opened.find(answerPath) != std::string::npos : opened == caption,
              accepted ? "a recording the reader takes was not opened"
                       : "a refused recording changed the caption");
    PaintOffscreen(window);
    for (const GraphStep& step : input.steps)
        Run(window, step);
    PaintOffscreen(window);
}

} // namespace

void RunInNewGraphWindow(const std::uint8_t* data, std::size_t size, TraceFileForm form,
                         const std::function<CWnd*(CKeloServoDoc&)>& open,
                         const std::function<void(CWnd&)>& close) {
    const GraphWindowInput input = SplitGraphWindowInput(data, size);
    CKeloServoDoc& document = PrepareGraphWindowWorld();
    answerPath = FuzzInputFile(reinterpret_cast<const std::uint8_t*>(input.recording.data()),
                               input.recording.size(), "input.trd");
    CWnd* window = open(document);
    FuzzCheck(window != nullptr, "the window did not open");
    RunGraphWindowSteps(*window, input, form);
    // With KELO_SCREENSHOT_DIR set, what the user sees at the end: <form>-window-<n> for the n-th
    // input of the process (a replay takes its inputs in name order).
    static int shown = 0;
    ui::Screenshot(*window, Format("%s-window-%d", form == TraceFileForm::Trace ? "trace" : "box", ++shown));
    close(*window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
