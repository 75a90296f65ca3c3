#include "support/simulator.h"

namespace horatta::testing {

Simulator::Simulator(Build build, const DateTime& start, const Settings& stored,
                     const std::function<void(FakePlatform&)>& setUp)
    : build_(build) {
    for (const auto& [name, value] : stored) platform_.store(name, value);
    if (setUp) setUp(platform_);
    platform_.setNow(start);
    startProgram();
}

Simulator::~Simulator() = default;

void Simulator::startProgram() {
    timers_.reset();
    form_.reset();
    armed_.reset();
    endCountAtStart_ = platform_.endProgramCount;
    form_ = std::make_unique<Form1>(build_, platform_);
    timers_ = std::make_unique<FormTimers>(
        *form_, static_cast<NativeTimer&>(*this), [this] { return platform_.clockMs; }, slackMs,
        [this](std::size_t index, const std::function<void()>& handler) { deliver(index, handler); });
    form_->Form_Load();
    // The timers start running once start-up has finished.
    timers_->start();
}

void Simulator::restart() { startProgram(); }

void Simulator::stepClock(std::int64_t ms) {
    platform_.clockMs += ms;
    if (armed_) *armed_ += ms;
}

std::optional<std::int64_t> Simulator::dueMs(TimerId id) const { return timers_->dueMs(static_cast<std::size_t>(id)); }

void Simulator::deliver(std::size_t index, const std::function<void()>& handler) {
    if (ended()) return;  // as in the shells, nothing is handled once the program has ended
    Tick tick;
    tick.timer = static_cast<TimerId>(index);
    tick.firedMs = platform_.clockMs;
    tick.alertOnBefore = form_->reminderAlertOn;
    tick.ticksLeftBefore = form_->ticksLeft;
    const std::size_t beepsBefore = platform_.beeps.size();

    handler();

    if (!recording) return;
    tick.ticksLeft = form_->ticksLeft;
    tick.beeps.assign(platform_.beeps.begin() + static_cast<std::ptrdiff_t>(beepsBefore), platform_.beeps.end());
    const Label& face = form_->Label1;
    tick.caption = face.caption();
    tick.visible = face.Visible;
    tick.left = face.Left;
    tick.width = face.Width;
    tick.autoSize = face.autoSize();
    tick.alignment = face.alignment;
    ticks_.push_back(std::move(tick));
}

bool Simulator::runUntilTrue(const std::function<bool()>& done, std::int64_t limitMs) {
    while (!ended() && armed_ && *armed_ <= limitMs) {
        if (platform_.clockMs < *armed_) platform_.clockMs = *armed_;
        armed_.reset();  // a single shot
        timers_->fired();
        if (done()) return true;
    }
    if (platform_.clockMs < limitMs) platform_.clockMs = limitMs;
    return false;
}

void Simulator::runUntil(std::int64_t ms) {
    runUntilTrue([] { return false; }, ms);
}

std::vector<Tick> Simulator::ticksOf(TimerId id) const {
    std::vector<Tick> out;
    for (const auto& t : ticks_)
        if (t.timer == id) out.push_back(t);
    return out;
}

std::vector<std::string> Simulator::captionsAfter(TimerId id) const {
    std::vector<std::string> out;
    for (const auto& t : ticks_)
        if (t.timer == id) out.push_back(t.caption);
    return out;
}

int Simulator::alertTicks() const {
    int n = 0;
    for (const auto& t : ticks_)
        if (t.timer == TimerId::Timer1 && t.alertOnBefore == 1) ++n;
    return n;
}

}  // namespace horatta::testing
