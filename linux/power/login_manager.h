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
// While another program holds the login manager's shutdown lock in block mode, the clock
// does not ask at all: such a lock protects the machine (a firmware update, a disc being
// written), and the login manager may let a request of the lock's own user through. Delay
// locks are the login manager's to honour. Where the locks cannot be listed because the
// login manager keeps none, the clock asks; where the listing goes unanswered or is
// refused, it does not ask blind.
//
// The clock's thread never waits on the bus: connecting (which waits for the bus's
// greeting) and calling happen on a thread of their own, and a call that has no answer
// within the time limit is given up.
class LoginManager {
public:
    enum class Outcome { None, Accepted, Refused, NoAnswer, NoBus, HeldBack };

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

// Whether one lock of the login manager, with its colon-separated list of what it locks and
// its mode, holds a power-off back.
bool inhibitorBlocksPowerOff(const QString& what, const QString& mode);

// The flags of the clock's power-off (shut down, force, power off) ask for the machine to
// go off; logind's power-off already closes every session without asking, which covers the
// force. Flags without the shut-down or power-off bit ask for nothing here.
bool flagsRequestPowerOff(std::uint32_t flags);

}  // namespace horatta::power
