#include "support/simulator.h"

namespace horatta::testing {

namespace {
constexpr std::array<TimerId, 3> allTimers{TimerId::Timer1, TimerId::Timer2, TimerId::Timer3};
std::size_t slot(TimerId id) { return static_cast<std::size_t>(id); }
}  // namespace

Simulator::Simulator(Build build, const DateTime& start, const Settings& stored,
                     const std::function<void(FakePlatform&)>& setUp)
    : build_(build) {
    for (const auto& [name, value] : stored) platform_.store(name, value);
    if (setUp) setUp(platform_);
    platform_.setNow(start);
    startProgram();
}

Simulator::~Simulator() = default;

Timer& Simulator::timer(TimerId id) {
    switch (id) {
        case TimerId::Timer1: return form_->Timer1;
        case TimerId::Timer2: return form_->Timer2;
        case TimerId::Timer3: break;
    }
    return form_->Timer3;
}

void Simulator::startProgram() {
    form_.reset();
    schedules_ = {};
    endCountAtStart_ = platform_.endProgramCount;
    form_ = std::make_unique<Form1>(build_, platform_);
    for (TimerId id : allTimers) {
        timer(id).setObserver([this, id] {
            Timer& t = timer(id);
            schedules_[slot(id)].restart(t.enabled(), t.interval(), platform_.clockMs);
        });
    }
    form_->Form_Load();
    // The timers start running once start-up has finished.
    for (TimerId id : allTimers)
        schedules_[slot(id)].restart(timer(id).enabled(), timer(id).interval(), platform_.clockMs);
}

void Simulator::restart() { startProgram(); }

void Simulator::stepClock(std::int64_t ms) {
    platform_.clockMs += ms;
    for (TimerId id : allTimers)
        schedules_[slot(id)].restart(timer(id).enabled(), timer(id).interval(), platform_.clockMs);
}

std::optional<std::int64_t> Simulator::dueMs(TimerId id) const { return schedules_[slot(id)].dueMs(); }

void Simulator::fire(TimerId id) {
    Tick tick;
    tick.timer = id;
    tick.firedMs = platform_.clockMs;
    tick.alertOnBefore = form_->reminderAlertOn;
    tick.ticksLeftBefore = form_->ticksLeft;
    const std::size_t beepsBefore = platform_.beeps.size();

    TimerSchedule& schedule = schedules_[slot(id)];
    schedule.beginTick();
    switch (id) {
        case TimerId::Timer1: form_->Timer1_Timer(); break;
        case TimerId::Timer2: form_->Timer2_Timer(); break;
        case TimerId::Timer3: form_->Timer3_Timer(); break;
    }
    schedule.endTick(timer(id).enabled(), timer(id).interval(), platform_.clockMs);

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
    while (!ended()) {
        std::optional<TimerId> next;
        std::int64_t nextDue = 0;
        for (TimerId id : allTimers) {
            auto due = schedules_[slot(id)].dueMs();
            if (due && *due <= limitMs && (!next || *due < nextDue)) {
                next = id;
                nextDue = *due;
            }
        }
        if (!next) break;
        if (platform_.clockMs < nextDue) platform_.clockMs = nextDue;
        fire(*next);
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
