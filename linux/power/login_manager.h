#pragma once

#include <cstdint>

#include <QString>

namespace horatta::power {

// Powers the machine off through the login manager (systemd-logind, or elogind) on the
// system bus. logind decides itself whether this user may power off, so there is no
// privilege for the process to switch on beforehand, and the request is made without
// interaction: the clock powers off at the set time, or not at all, but never stops to
// ask. Every failure (no bus, no login manager, refusal) is ignored and the clock runs on.
class LoginManager {
public:
    // Talks to the system bus, or to the bus at the given D-Bus address when one is given.
    explicit LoginManager(QString busAddress = {});
    ~LoginManager();
    LoginManager(const LoginManager&) = delete;
    LoginManager& operator=(const LoginManager&) = delete;

    // Asks for the power-off and returns at once, without waiting for the answer.
    // Returns whether the request could be handed to a bus at all.
    bool powerOff();

private:
    QString busAddress_;
    QString connectionName_;
};

// The flags of the clock's power-off (shut down, force, power off) ask for the machine to
// go off; logind's power-off already closes every session without asking, which covers the
// force. Flags without the shut-down or power-off bit ask for nothing here.
bool flagsRequestPowerOff(std::uint32_t flags);

}  // namespace horatta::power
