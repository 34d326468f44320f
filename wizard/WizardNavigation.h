#pragma once
// The wizard's steps, page codes and the Next/Back state machine. Pure: the wizard window is the
// host that checks, loads, shows and hides its page windows and takes the values on Apply; this
// class decides what happens and keeps the buttons' and steps' states.
//
// The page chains of the multi-page steps are data: each page names its successor and predecessor
// as functions of the pages' current choices, so the reference-input chains (codes 30..79) plug in
// beside the encoder and comprehensive ones without touching the machine.
#include <array>
#include <functional>
#include <map>
#include <set>
#include <string_view>
#include <vector>

enum class WizardStep { Drive, Motor, ControlMode, Reference, Encoder, Comprehensive, SaveWrite, DisplayDio };
inline constexpr int WizardStepCount = 8;
inline constexpr std::array<WizardStep, WizardStepCount> AllWizardSteps = {
    WizardStep::Drive,   WizardStep::Motor,         WizardStep::ControlMode, WizardStep::Reference,
    WizardStep::Encoder, WizardStep::Comprehensive, WizardStep::SaveWrite,   WizardStep::DisplayDio};

// Page codes (`WizardPageCode`).
namespace WizardPage {
inline constexpr int None = 0;
inline constexpr int Drive = 1;
inline constexpr int Motor = 2;
inline constexpr int SaveWrite = 3;
inline constexpr int DisplayDio = 4;
inline constexpr int ControlMode = 20;
inline constexpr int SpeedFirst = 31;    // speed pages 2..7 are 31..36, page 13 is 37
inline constexpr int PositionFirst = 40; // external pulse pages 1..17 are 40..56
inline constexpr int TorqueFirst = 60;   // torque pages 1, 3..10, 12, 13 are 60, 62..69, 71, 72
inline constexpr int Encoder1 = 100;     // encoder pages 1..4 are 100..103
inline constexpr int Complex1 = 110;     // comprehensive pages 1..4 are 110..113
} // namespace WizardPage

// Control modes (the Cn001 value).
inline constexpr int TorqueMode = 0;
inline constexpr int SpeedMode = 1;
inline constexpr int PositionMode = 2;

// The step a page code belongs to; Drive for codes of no step is never asked (callers pass codes).
WizardStep StepOfPage(int code);
bool IsMultiPageStep(WizardStep step);

// Reads a choice that steers a chain by its name: a page member ("SpeedAccelMethod"), or the
// wizard's own "ControlMode" and "AbsoluteEncoderMotor".
using ChoiceReader = std::function<int(std::string_view key)>;

struct ChainPage {
    int code = 0;
    bool checked = false;                         // the page's CheckPage runs before it is left
    bool checkedOnApply = false;                  // ... and before its step is applied from it
    std::function<int(const ChoiceReader&)> next; // 0: the last page (Next hidden, Apply shown)
    std::function<int(const ChoiceReader&)> back; // 0: the step's first page (Back disabled)
};

// The chains of the multi-page steps.
class WizardChains {
public:
    void Add(ChainPage page);
    // The first page of a step; controlMode selects among the reference-input chains. A mode
    // given as -1 registers the page for every mode.
    void SetFirstPage(WizardStep step, int controlMode, int code);

    const ChainPage* Find(int code) const;
    int FirstPage(WizardStep step, int controlMode) const; // 0: the step has no pages (yet)
    std::vector<int> PagesOf(WizardStep step) const;

    // The encoder and comprehensive chains.
    static WizardChains Standard();

private:
    std::map<int, ChainPage> pages_;
    std::map<std::pair<WizardStep, int>, int> first_;
};

// What the state machine asks of the wizard window.
enum class AskIcon { Warning, Question };
class INavigationHost {
public:
    virtual ~INavigationHost() = default;
    virtual bool CheckPage(int code) = 0;         // false: stay (the page told the user why)
    virtual bool StepEdited(WizardStep step) = 0; // a page of the step differs from the remembered choices
    virtual bool Ask(int stringId, AskIcon icon) = 0; // OK/Cancel; true for OK
    virtual int Choice(std::string_view key) = 0;     // a page's current member, "AbsoluteEncoderMotor"
    virtual void LoadPage(int code) = 0; // the remembered choices into the page, then its LoadPage
    virtual void ShowPage(int code) = 0; // UpdateData(FALSE), focus, show
    virtual void HidePage(int code) = 0;
    // Takes the step's values (the collected set). false refuses the Apply (an unset choice: the
    // host has focused it) and nothing changes.
    virtual bool ApplyStep(WizardStep step) = 0;
    // The control mode page is set back to the applied mode after the user kept it.
    virtual void ReloadModePage(int controlMode) = 0;
};

struct ButtonState {
    bool shown = false;
    bool enabled = true;
};

// String ids of the questions.
inline constexpr int AskReapplyDrive = 1102;
inline constexpr int AskReapplyMotor = 1103;
inline constexpr int AskChangeMode = 1104;
inline constexpr int AskGiveUpChanges = 1105;

class WizardNavigation {
public:
    WizardNavigation(WizardChains chains, INavigationHost& host);

    // The wizard's opening: drive and motor count as applied; with a linked drive their steps are
    // locked; a document mode the wizard does not support (useDefaults) locks the later steps.
    void Open(bool linked, int controlMode, bool useDefaults);

    void OnStep(WizardStep step);
    void OnNext();
    void OnBack();
    void OnApply();
    void OnCancelPage();
    // Message 0x979: 0 shows Next and hides Apply, 1 the reverse.
    void OnStepToggle(int wParam);
    bool ConfirmLeavePage();

    int PageCode() const { return pageCode_; }
    int ControlMode() const { return controlMode_; }
    void SetControlMode(int mode) { controlMode_ = mode; }
    bool StepEnabled(WizardStep step) const { return stepEnabled_[static_cast<int>(step)]; }
    // The step whose marker shows, or nullptr-like: marker() < 0 for none.
    int MarkerStep() const { return markerStep_; }
    bool Visited(int code) const { return visited_.count(code) != 0; }

    ButtonState back, apply, next, finish, cancel;

    bool DriveDone = false, MotorDone = false, ModeDone = false, ReferenceDone = false, EncoderDone = false,
         ComprehensiveDone = false, UnsavedChanges = false;

    const WizardChains& Chains() const { return chains_; }
    // Whether the reference-input step has pages for the current mode.
    bool ReferenceAvailable() const;

private:
    int Read(std::string_view key);
    void HideStepPages(int code);
    void CloseAfterApply();
    void EnableLaterSteps(bool enable);
    void SetStepEnabled(WizardStep step, bool enabled) { stepEnabled_[static_cast<int>(step)] = enabled; }
    void ShowButtonsForStep(WizardStep step);
    void Arrive(int code);
    void Move(bool forward);

    WizardChains chains_;
    INavigationHost& host_;
    int pageCode_ = WizardPage::None;
    int controlMode_ = SpeedMode;
    int markerStep_ = -1;
    std::array<bool, WizardStepCount> stepEnabled_{};
    std::set<int> visited_;
};
