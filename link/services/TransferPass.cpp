#include "link/services/TransferPass.h"

CBusyHold::CBusyHold(CRegisterServices& services)
    : services_(services), servicesLife_(services.ServicesLife()), previous_(services.ViewBusyFlag) {
    services_.ViewBusyFlag = 1;
}

CBusyHold::~CBusyHold() {
    if (!servicesLife_.expired())
        services_.ViewBusyFlag = previous_;
}

CTransferPass::CTransferPass(CRegisterServices& services, TransferPassOwner owner)
    : services_(services), servicesLife_(services.ServicesLife()), owner_(std::move(owner)) {
    if (services_.PassRunning) {
        refused_ = true;
        ended_ = true;
        return;
    }
    services_.PassRunning = true;
    previousBusy_ = services_.ViewBusyFlag;
    services_.ViewBusyFlag = 1;
}

CTransferPass::~CTransferPass() {
    End();
}

bool CTransferPass::ServicesAlive() const {
    return !servicesLife_.expired();
}

bool CTransferPass::OwnerGone() const {
    return owner_.life && owner_.life->expired();
}

bool CTransferPass::ProgressUsable() const {
    return progressOpen_ && owner_.progress && !OwnerGone();
}

bool CTransferPass::Cancelled() const {
    if (!cancelable_ || !ServicesAlive())
        return false;
    return services_.CancelRequest != 0 || (ProgressUsable() && owner_.progress->CancelRequested());
}

void CTransferPass::OpenProgress(int resourceId, int range, const std::string& caption, bool cancelable) {
    if (ended_ || OwnerGone())
        return;
    cancelable_ = cancelable;
    if (cancelable)
        services_.CancelRequest = 0;
    range_ = range;
    position_ = 0;
    shownStep_ = 0;
    text_.clear();
    textSet_ = false;
    if (!owner_.progress)
        return;
    owner_.progress->Open(resourceId, range, caption);
    progressOpen_ = true;
}

void CTransferPass::SetText(const std::string& text) {
    if (!ProgressUsable() || (textSet_ && text == text_))
        return;
    text_ = text;
    textSet_ = true;
    owner_.progress->SetStepText(text);
}

void CTransferPass::Step(int times) {
    position_ += times;
    if (!ProgressUsable())
        return;
    const int shown =
        range_ > 0 ? static_cast<int>(static_cast<long long>(position_) * VisibleSteps / range_) : 0;
    bool repaint = false;
    if (shown != shownStep_) {
        const auto now = std::chrono::steady_clock::now();
        if (position_ >= range_ || now - repainted_ >= RepaintInterval) {
            repaint = true;
            shownStep_ = shown;
            repainted_ = now;
        }
    }
    owner_.progress->SetPosition(position_, repaint);
}

void CTransferPass::CloseProgress() {
    if (ProgressUsable())
        owner_.progress->Close();
    progressOpen_ = false;
}

bool CTransferPass::Pump() {
    if (ended_ || OwnerGone() || !ServicesAlive())
        return false;
    services_.Pump();
    if (OwnerGone() || !ServicesAlive())
        return false;
    return !Cancelled();
}

void CTransferPass::ShowFailure(const std::string& detail) {
    // A user who closed the window has left the pass; a box about it would come from nowhere.
    if (OwnerGone())
        return;
    CRegisterServices::ShowFailureBox(detail);
}

void CTransferPass::Fail(const std::string& detail) {
    CloseProgress();
    ShowFailure(detail);
}

void CTransferPass::End() {
    if (ended_)
        return;
    ended_ = true;
    CloseProgress();
    if (!ServicesAlive())
        return;
    services_.ViewBusyFlag = previousBusy_;
    services_.PassRunning = false;
}
