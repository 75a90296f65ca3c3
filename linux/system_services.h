#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "linux/hotkey/x11_hot_key.h"
#include "linux/power/login_manager.h"
#include "linux/sound/alsa_output.h"
#include "linux/sound/beeper.h"
#include "linux/sound/tone_thread.h"

namespace horatta::shell {

// The services that reach beyond the desktop session: the tone through ALSA, the power-off
// through the login manager, and the global hot key as an X11 grab.
class SystemServices {
public:
    SystemServices();
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    // Returns once the tone has sounded, or once its duration has passed where no sound
    // device plays it.
    void beep(int hz, int ms);
    // The login manager authorises every power-off itself: nothing to switch on here.
    void enableShutdownPrivilege() {}
    void exitWindows(std::uint32_t flags, std::uint32_t reserved);
    void setHotKey(std::int32_t value);

    // What the hot key does, set by whoever owns the hot-key window: a key was released
    // while the hot key's window held the keyboard.
    std::function<void()> onHotKeyReleased;

private:
    void applyHotKey();

    sound::ToneThread speaker_{std::make_shared<sound::AlsaOutput>()};
    sound::RealSteadyClock clock_;
    sound::Beeper beeper_{speaker_, clock_};
    power::LoginManager loginManager_;
    std::unique_ptr<hotkey::X11HotKey> hotKey_;
    std::int32_t hotKeyValue_ = 0;
    bool hotKeyAsked_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>();  // for work that waits for the first frame
};

}  // namespace horatta::shell
