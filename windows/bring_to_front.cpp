#include "platform/attention_flash.h"
#include "windows/shell.h"

namespace horatta::win {

void Shell::bringToFront() {
    // Moved off its place or off every screen by something else, it comes back to the
    // model's place; during a drag the place is the drag's.
    formPlaced_.reset();
    screensChanged_ = true;
    deliver(Delivery::Timer, [] {});
    SetWindowPos(form1_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(form1_);
    flashSince_ = steadyNowMs();
    showFlash();
}

void Shell::showFlash() {
    KillTimer(form1_, flashTimerId);
    const std::int64_t elapsed = steadyNowMs() - flashSince_;
    const std::optional<bool> inverted = AttentionFlash::invertedAt(elapsed);
    if (inverted.value_or(false) != flashInverted_) {
        flashInverted_ = inverted.value_or(false);
        RedrawWindow(form1_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    if (inverted) SetTimer(form1_, flashTimerId, static_cast<UINT>(AttentionFlash::nextChangeInMs(elapsed)), nullptr);
}

}  // namespace horatta::win
