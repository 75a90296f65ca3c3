#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>

class QObject;
class QThread;

namespace horatta::power {

// Powers the machine off through the login manager (systemd-logind, or elogind) on the
// system bus. logind decides itself whether this user may power off, so there is no
// privilege for the process to switch on beforehand, and the request is made without
// interaction: the clock powers off at the set time, or not at all, but never stops to
// ask. Every failure (no bus, no login manager, refusal, no answer) is ignored and the
// clock runs on.
//
// The clock's thread never waits on the bus: connecting (which waits for the bus's
// greeting) and calling happen on a thread of their own, and a call that has no answer
// within the time limit is given up.
class LoginManager {
public:
    enum class Outcome { None, Accepted, Refused, NoAnswer, NoBus };

    static constexpr std::chrono::milliseconds defaultTimeLimit{5000};

    // Talks to the system bus, or to the bus at the given D-Bus address when one is given.
    explicit LoginManager(QString busAddress = {}, std::chrono::milliseconds timeLimit = defaultTimeLimit);
    ~LoginManager();
    LoginManager(const LoginManager&) = delete;
    LoginManager& operator=(const LoginManager&) = delete;

    // Asks for the power-off and returns at once. While an earlier request has neither been
    // answered nor given up, nothing new is sent and this returns false.
    bool powerOff();

    bool pending() const;
    // How the last request that has ended ended.
    Outcome lastOutcome() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    QThread* thread_;
    QObject* context_;  // lives on thread_
};

// The flags of the clock's power-off (shut down, force, power off) ask for the machine to
// go off; logind's power-off already closes every session without asking, which covers the
// force. Flags without the shut-down or power-off bit ask for nothing here.
bool flagsRequestPowerOff(std::uint32_t flags);

}  // namespace horatta::power
