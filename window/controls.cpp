#include "window/controls.h"

namespace horatta {

void Label::setCaption(std::string caption) {
    caption_ = std::move(caption);
    fit();
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    fit();
}

void Label::fit() {
    if (autoSize_ && measure_) Width = measure_(caption_);
}

void Timer::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    if (observer_) observer_();
}

void Timer::setInterval(int ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    if (observer_) observer_();
}

}  // namespace horatta
