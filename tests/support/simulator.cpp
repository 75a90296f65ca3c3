#include "support/simulator.h"

#include "settings/settings.h"

namespace horatta::testing {

Simulator::Simulator(Build build, const DateTime& start, const Settings& stored) : build_(build) {
    for (const auto& [name, value] : stored)
        WriteSetting(platform_.memory, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    platform_.memory.writtenNames.clear();  // seeding the registry is not a write of the program's
    platform_.clockMs = toMs(start);
    restart();
}

void Simulator::restart() {
    timers_.reset();
    form_.reset();
    armed_.reset();
    endCountAtStart_ = platform_.endProgramCount;
    form_ = std::make_unique<Form1>(build_, platform_);
    timers_ = std::make_unique<FormTimers>(
        *form_, static_cast<NativeTimer&>(*this), [this] { return platform_.clockMs; }, slackMs,
        [this](std::size_t index, const std::function<void()>& handler) { deliver(index, handler); });
    form_->Form_Load();
    timers_->start();  // the timers start running once start-up has finished
}

void Simulator::deliver(std::size_t index, const std::function<void()>& handler) {
    if (ended()) return;  // as in the shells, nothing is handled once the program has ended
    const std::int64_t firedMs = platform_.clockMs;
    const bool alertOn = form_->reminderAlertOn == 1;
    const std::int16_t ticksLeft = form_->ticksLeft;
    const auto beepsBefore = static_cast<std::ptrdiff_t>(platform_.beeps.size());
    handler();
    const Label& face = form_->Label1;
    ticks.push_back({static_cast<TimerId>(index), firedMs, alertOn, ticksLeft,
                     {platform_.beeps.begin() + beepsBefore, platform_.beeps.end()}, face.caption(), face.Visible,
                     face.Left, face.Width, face.alignment});
}

bool Simulator::runUntilTrue(const std::function<bool()>& done, std::int64_t limitMs) {
    while (!ended() && armed_ && *armed_ <= limitMs) {
        platform_.clockMs = std::max(platform_.clockMs, *armed_);
        armed_.reset();  // a single shot
        timers_->fired();
        if (done()) return true;
    }
    platform_.clockMs = std::max(platform_.clockMs, limitMs);
    return false;
}

std::vector<Tick> Simulator::ticksOf(TimerId id, bool alertOnly) const {
    std::vector<Tick> out;
    for (const auto& t : ticks)
        if (t.timer == id && (t.alertOn || !alertOnly)) out.push_back(t);
    return out;
}

}  // namespace horatta::testing
