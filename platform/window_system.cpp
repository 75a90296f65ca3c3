#include "platform/window_system.h"

namespace horatta {

void WindowedPlatform::beep(int hz, int ms) {
    // The tone holds the tick: what the tick has set reaches the screen first, not a tone late.
    if (windows_) windows_->paintNow();
    tone(hz, ms);
}

WindowPosition WindowedPlatform::dragWindow(ControlId window, WindowPosition from) {
    return windows_ ? windows_->dragWindow(window, from) : from;
}

void WindowedPlatform::makeTopmost(ControlId window) {
    if (windows_) windows_->makeTopmost(window);
}

void WindowedPlatform::showWindow(ControlId window) {
    if (windows_) windows_->showWindow(window);
}

void WindowedPlatform::showCaret(ControlId field) {
    if (windows_) windows_->setCaretShown(field, true);
}

void WindowedPlatform::hideCaret(ControlId field) {
    if (windows_) windows_->setCaretShown(field, false);
}

void WindowedPlatform::setFocus(ControlId control) {
    if (windows_) windows_->setFocus(control);
}

void WindowedPlatform::endProgram() {
    if (windows_) windows_->endProgram();
}

}  // namespace horatta
