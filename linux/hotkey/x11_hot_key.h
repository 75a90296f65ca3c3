#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QAbstractNativeEventFilter>
#include <QObject>

#include "linux/hotkey/hot_key_gate.h"
#include "linux/hotkey/key_grabs.h"

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace horatta::hotkey {

// A global hot key held as passive grabs on every root window of the application's X
// connection. Pressing it anywhere hands the keyboard to this program until the key is let
// go; the press and the releases during that time are reported through the callbacks. On a
// platform without X (a native Wayland session, offscreen) it holds nothing and never
// fires. A grab that the server refuses, because another program holds the same
// combination, is skipped: the hot key then does nothing for this program.
//
// Create it after the QGuiApplication; it watches the application's native events.
class X11HotKey : public QAbstractNativeEventFilter {
public:
    X11HotKey();
    ~X11HotKey() override;
    X11HotKey(const X11HotKey&) = delete;
    X11HotKey& operator=(const X11HotKey&) = delete;

    // The hot key went down. Both callbacks run from the event loop after Qt has seen the
    // key event itself, so a window activated from them carries the key's user time.
    std::function<void()> onPressed;
    // A real key was released after the real hot key, before the keyboard went to
    // another window: any key, as many times as the user lets one go.
    std::function<void()> onReleased;

    // Takes a Windows-style hot-key word (Ctrl+Alt+Z is 0x065A); 0 releases the hot key.
    void setHotKey(std::int32_t value);

    bool hasX11() const { return connection_ != nullptr; }
    // The grabs this program holds now; fewer than wanted when another program holds some.
    const std::vector<Grab>& grabsHeld() const { return held_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct XkbDeleter {
        void operator()(xkb_context* context) const;
        void operator()(xkb_keymap* keymap) const;
    };
    using Keymap = std::unique_ptr<xkb_keymap, XkbDeleter>;

    // The keyboard's layout as the server has it now; none without the keyboard extension.
    Keymap currentKeymap() const;
    bool typesText(std::uint8_t keycode, std::uint16_t state) const;
    void grab();
    void ungrab();
    bool isRoot(std::uint32_t window) const;
    void takeKeyboard(std::uint32_t time);
    void letKeyboardGo();
    void later(const std::function<void()>& callback);

    xcb_connection_t* connection_ = nullptr;
    std::unique_ptr<xkb_context, XkbDeleter> xkb_;
    std::uint8_t xkbFirstEvent_ = 0;  // 0: the server has no keyboard extension
    std::vector<std::uint32_t> roots_;
    std::optional<HotKey> hotKey_;
    std::vector<Grab> held_;
    HotKeyGate gate_;
    // Where the keyboard goes after the hot key, so that later releases come to us too:
    // an input-only window off every screen, mapped only while the hot key has armed it,
    // and left alone by window managers. No pointer can reach it and no switcher lists it.
    std::uint32_t keyboardWindow_ = 0;
    bool keyboardWindowMapped_ = false;
    QObject context_;  // calls queued for later die with the hot key
};

// The server's current mappings, read over the connection.
KeyboardMapping readKeyboardMapping(xcb_connection_t* connection);
ModifierMapping readModifierMapping(xcb_connection_t* connection);

}  // namespace horatta::hotkey
