#pragma once
// The one seam through which every message box (and, later, every file, colour and folder dialog)
// passes. The program installs a presenter that shows real dialogs; tests install a scripted
// responder that records what the user would have seen and answers without blocking.
#include <functional>
#include <string>
#include <vector>

// Button and icon flags, with the values the rest of the code is written against.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_TYPEMASK = 0xF,
    MB_ICONMASK = 0xF0,
};

// Answers a box can give.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

struct MessageRequest {
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};

// Shows one message and returns the answer (IDOK, IDYES, ...).
using MessagePresenter = std::function<int(const MessageRequest&)>;

// Installs the presenter; returns the one it replaces. With none installed, a message is written to
// standard error and answered with the box's first button.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// Shows a message through the installed presenter. The caption defaults to the program's title.
int ShowMessage(const std::string& text, const std::string& caption = std::string(), unsigned type = MB_OK);

// The default caption of ShowMessage (the application sets its title here).
void SetMessageCaption(const std::string& caption);

// Test responder: records every message and answers from a queue (the first button once it is empty).
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void Answer(int reply) { answers_.push_back(reply); }
    const std::vector<MessageRequest>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    int Respond(const MessageRequest& request);
    std::vector<MessageRequest> shown_;
    std::vector<int> answers_;
    MessagePresenter previous_;
};
