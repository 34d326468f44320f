#include "wizard/WizardNavigation.h"

#include <utility>

namespace {

constexpr int StepIndex(WizardStep step) {
    return static_cast<int>(step);
}

// The steps of one page each and their page.
constexpr std::pair<WizardStep, int> kSinglePages[] = {{WizardStep::Drive, WizardPage::Drive},
                                                       {WizardStep::Motor, WizardPage::Motor},
                                                       {WizardStep::ControlMode, WizardPage::ControlMode},
                                                       {WizardStep::SaveWrite, WizardPage::SaveWrite},
                                                       {WizardStep::DisplayDio, WizardPage::DisplayDio}};

int SinglePageOf(WizardStep step) {
    for (const auto& [s, code] : kSinglePages)
        if (s == step)
            return code;
    return WizardPage::None;
}

auto Fixed(int code) {
    return [code](const ChoiceReader&) { return code; };
}

} // namespace

WizardStep StepOfPage(int code) {
    if (code >= 30 && code <= 79)
        return WizardStep::Reference;
    if (code >= 100 && code <= 109)
        return WizardStep::Encoder;
    if (code >= 110 && code <= 119)
        return WizardStep::Comprehensive;
    for (const auto& [step, page] : kSinglePages)
        if (page == code)
            return step;
    return WizardStep::Drive;
}

bool IsMultiPageStep(WizardStep step) {
    return step == WizardStep::Reference || step == WizardStep::Encoder || step == WizardStep::Comprehensive;
}

void WizardChains::Add(ChainPage page) {
    pages_[page.code] = std::move(page);
}

void WizardChains::SetFirstPage(WizardStep step, int controlMode, int code) {
    first_[{step, controlMode}] = code;
}

const ChainPage* WizardChains::Find(int code) const {
    auto it = pages_.find(code);
    return it == pages_.end() ? nullptr : &it->second;
}

int WizardChains::FirstPage(WizardStep step, int controlMode) const {
    auto it = first_.find({step, controlMode});
    if (it == first_.end())
        it = first_.find({step, -1});
    return it == first_.end() ? 0 : it->second;
}

std::vector<int> WizardChains::PagesOf(WizardStep step) const {
    std::vector<int> codes;
    for (const auto& [code, page] : pages_)
        if (StepOfPage(code) == step)
            codes.push_back(code);
    return codes;
}

WizardChains WizardChains::Standard() {
    WizardChains chains;
    const int e1 = WizardPage::Encoder1, c1 = WizardPage::Complex1;
    chains.SetFirstPage(WizardStep::Encoder, -1, e1);
    chains.Add({e1, true, false,
                [=](const ChoiceReader& read) {
                    switch (read("ControlMode")) {
                    case TorqueMode:
                        return e1 + 3;
                    case PositionMode:
                        return e1 + 2;
                    default:
                        return e1 + 1;
                    }
                },
                Fixed(0)});
    for (int code : {e1 + 1, e1 + 2, e1 + 3})
        chains.Add({code, false, false, Fixed(0), Fixed(e1)});

    chains.SetFirstPage(WizardStep::Comprehensive, -1, c1);
    chains.Add({c1, true, false, Fixed(c1 + 1), Fixed(0)});
    chains.Add({c1 + 1, true, false,
                [=](const ChoiceReader& read) { return read("AbsoluteEncoderMotor") ? c1 + 2 : c1 + 3; },
                Fixed(c1)});
    chains.Add({c1 + 2, false, false, Fixed(c1 + 3), Fixed(c1 + 1)});
    chains.Add({c1 + 3, false, false, Fixed(0),
                [=](const ChoiceReader& read) { return read("AbsoluteEncoderMotor") ? c1 + 2 : c1 + 1; }});
    return chains;
}

WizardNavigation::WizardNavigation(WizardChains chains, INavigationHost& host)
    : chains_(std::move(chains)), host_(host) {}

int WizardNavigation::Read(std::string_view key) {
    if (key == "ControlMode")
        return controlMode_;
    return host_.Choice(key);
}

bool WizardNavigation::ReferenceAvailable() const {
    return chains_.FirstPage(WizardStep::Reference, controlMode_) != 0;
}

void WizardNavigation::EnableLaterSteps(bool enable) {
    for (WizardStep step :
         {WizardStep::Encoder, WizardStep::Comprehensive, WizardStep::SaveWrite, WizardStep::DisplayDio})
        SetStepEnabled(step, enable);
    // The reference-input step stays locked while its mode has no pages.
    SetStepEnabled(WizardStep::Reference, enable && ReferenceAvailable());
}

void WizardNavigation::Open(bool linked, int controlMode, bool useDefaults) {
    controlMode_ = controlMode;
    stepEnabled_.fill(true);
    SetStepEnabled(WizardStep::Drive, !linked);
    SetStepEnabled(WizardStep::Motor, !linked);
    EnableLaterSteps(!useDefaults);
    DriveDone = MotorDone = true;
    ModeDone = !useDefaults;
    ReferenceDone = EncoderDone = ComprehensiveDone = UnsavedChanges = false;
    back = apply = next = finish = cancel = ButtonState{};
    markerStep_ = -1;
    pageCode_ = WizardPage::None;
    visited_.clear();
}

void WizardNavigation::HideStepPages(int code) {
    if (code == WizardPage::None)
        return;
    const WizardStep step = StepOfPage(code);
    if (IsMultiPageStep(step)) {
        for (int page : chains_.PagesOf(step)) {
            host_.HidePage(page);
            visited_.erase(page);
        }
    } else {
        host_.HidePage(code);
    }
}

bool WizardNavigation::ConfirmLeavePage() {
    if (pageCode_ == WizardPage::None)
        return true;
    const WizardStep step = StepOfPage(pageCode_);
    if (!IsMultiPageStep(step))
        return true;
    const ChainPage* page = chains_.Find(pageCode_);
    if (page && page->checked && !host_.CheckPage(pageCode_))
        return false;
    if (!host_.StepEdited(step))
        return true;
    return host_.Ask(AskGiveUpChanges, AskIcon::Warning);
}

void WizardNavigation::ShowButtonsForStep(WizardStep step) {
    back = apply = next = finish = cancel = ButtonState{};
    cancel.shown = true;
    if (IsMultiPageStep(step)) {
        back.shown = true;
        back.enabled = false;
        next.shown = true;
    } else if (step == WizardStep::SaveWrite) {
        finish.shown = true;
    } else if (step != WizardStep::DisplayDio) {
        apply.shown = true;
    }
}

void WizardNavigation::OnStep(WizardStep step) {
    if (!StepEnabled(step))
        return;
    if (pageCode_ != WizardPage::None && StepOfPage(pageCode_) == step)
        return;
    const int first = IsMultiPageStep(step) ? chains_.FirstPage(step, controlMode_) : SinglePageOf(step);
    if (first == WizardPage::None)
        return;
    if (!ConfirmLeavePage())
        return;
    HideStepPages(pageCode_);
    markerStep_ = (step == WizardStep::Drive || step == WizardStep::Motor) ? -1 : StepIndex(step);
    ShowButtonsForStep(step);
    if (!visited_.count(first))
        host_.LoadPage(first);
    host_.ShowPage(first);
    pageCode_ = first;
    if (IsMultiPageStep(step))
        Arrive(first);
}

void WizardNavigation::Arrive(int code) {
    const ChainPage* page = chains_.Find(code);
    const ChoiceReader reader = [this](std::string_view k) { return Read(k); };
    const bool last = page && page->next(reader) == 0;
    next.shown = !last;
    apply.shown = last;
    back.enabled = page && page->back(reader) != 0;
    pageCode_ = code;
}

void WizardNavigation::Move(bool forward) {
    const ChainPage* page = chains_.Find(pageCode_);
    if (!page)
        return;
    const ChoiceReader reader = [this](std::string_view k) { return Read(k); };
    const int target = forward ? page->next(reader) : page->back(reader);
    if (target == 0)
        return;
    if (page->checked && !host_.CheckPage(pageCode_))
        return;
    visited_.insert(pageCode_);
    host_.HidePage(pageCode_);
    // Going back shows the earlier page as it was left.
    if (forward && !visited_.count(target))
        host_.LoadPage(target);
    host_.ShowPage(target);
    Arrive(target);
}

void WizardNavigation::OnNext() {
    Move(true);
}

void WizardNavigation::OnBack() {
    Move(false);
}

void WizardNavigation::OnCancelPage() {
    HideStepPages(pageCode_);
    markerStep_ = -1;
    back = apply = next = finish = cancel = ButtonState{};
    pageCode_ = WizardPage::None;
}

void WizardNavigation::OnStepToggle(int wParam) {
    if (wParam == 0) {
        apply.shown = false;
        next.shown = true;
    } else if (wParam == 1) {
        apply.shown = true;
        next.shown = false;
    }
}

void WizardNavigation::CloseAfterApply() {
    for (WizardStep step : {WizardStep::Reference, WizardStep::Encoder, WizardStep::Comprehensive})
        for (int code : chains_.PagesOf(step))
            visited_.erase(code);
    HideStepPages(pageCode_);
    markerStep_ = -1;
    back = apply = next = finish = cancel = ButtonState{};
    pageCode_ = WizardPage::None;
}

void WizardNavigation::OnApply() {
    if (pageCode_ == WizardPage::None || !apply.shown)
        return;
    const WizardStep step = StepOfPage(pageCode_);
    switch (step) {
    case WizardStep::Drive:
        if (DriveDone && !host_.Ask(AskReapplyDrive, AskIcon::Warning))
            return;
        if (!host_.ApplyStep(step))
            return;
        DriveDone = true;
        SetStepEnabled(WizardStep::Motor, true);
        SetStepEnabled(WizardStep::ControlMode, false);
        EnableLaterSteps(false);
        MotorDone = ModeDone = ReferenceDone = EncoderDone = ComprehensiveDone = UnsavedChanges = false;
        break;
    case WizardStep::Motor:
        if (MotorDone && !host_.Ask(AskReapplyMotor, AskIcon::Warning))
            return;
        if (!host_.ApplyStep(step))
            return;
        MotorDone = true;
        SetStepEnabled(WizardStep::ControlMode, true);
        EnableLaterSteps(false);
        controlMode_ = SpeedMode;
        host_.ReloadModePage(controlMode_);
        ModeDone = ReferenceDone = EncoderDone = ComprehensiveDone = UnsavedChanges = false;
        break;
    case WizardStep::ControlMode: {
        const int shown = host_.Choice("ShownMode");
        if (ModeDone && shown == controlMode_)
            break;
        if (ModeDone && !host_.Ask(AskChangeMode, AskIcon::Question)) {
            host_.ReloadModePage(controlMode_);
            return;
        }
        const int previous = controlMode_;
        controlMode_ = shown;
        if (!host_.ApplyStep(step)) {
            controlMode_ = previous;
            return;
        }
        ModeDone = UnsavedChanges = true;
        EnableLaterSteps(true);
        ReferenceDone = EncoderDone = ComprehensiveDone = false;
        break;
    }
    case WizardStep::Reference:
    case WizardStep::Encoder:
    case WizardStep::Comprehensive: {
        const ChainPage* page = chains_.Find(pageCode_);
        if (page && page->checkedOnApply && !host_.CheckPage(pageCode_))
            return;
        if (!host_.ApplyStep(step))
            return;
        (step == WizardStep::Reference ? ReferenceDone
         : step == WizardStep::Encoder ? EncoderDone
                                       : ComprehensiveDone) = true;
        UnsavedChanges = true;
        break;
    }
    default:
        return;
    }
    CloseAfterApply();
}
