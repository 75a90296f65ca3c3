#include "linux/hotkey/x11_hot_key.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include "linux/hotkey/chord_text.h"

namespace horatta::hotkey {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// Checked requests report their errors to us alone, so a refused grab neither reaches
// Qt's error log nor any X error handler.
void discardError(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
}

}  // namespace

KeyboardMapping readKeyboardMapping(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    KeyboardMapping mapping;
    mapping.firstKeycode = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    XcbReply<xcb_get_keyboard_mapping_reply_t> reply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr));
    if (!reply) return mapping;
    mapping.keysymsPerKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    mapping.keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    return mapping;
}

ModifierMapping readModifierMapping(xcb_connection_t* c) {
    ModifierMapping mapping;
    XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (!reply) return mapping;
    mapping.keycodesPerModifier = reply->keycodes_per_modifier;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    mapping.keycodes.assign(keycodes, keycodes + xcb_get_modifier_mapping_keycodes_length(reply.get()));
    return mapping;
}

X11HotKey::X11HotKey() {
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        connection_ = x11->connection();
    }
    if (!connection_) return;
    if (xkb_x11_setup_xkb_extension(connection_, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &xkbFirstEvent_, nullptr)) {
        xkb_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    }
    if (!xkb_) xkbFirstEvent_ = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_)); it.rem; xcb_screen_next(&it)) {
        roots_.push_back(it.data->root);
    }
    if (!roots_.empty()) {
        keyboardWindow_ = xcb_generate_id(connection_);
        const std::uint32_t values[] = {1, XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_FOCUS_CHANGE};
        xcb_create_window(connection_, 0, keyboardWindow_, roots_.front(), -100, -100, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        const char name[] = "Form2";
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, keyboardWindow_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            sizeof name - 1, name);
        xcb_flush(connection_);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKey::~X11HotKey() {
    if (!connection_) return;
    ungrab();
    if (keyboardWindow_) xcb_destroy_window(connection_, keyboardWindow_);
    xcb_flush(connection_);
    if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

void X11HotKey::XkbDeleter::operator()(xkb_context* context) const { xkb_context_unref(context); }
void X11HotKey::XkbDeleter::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }

X11HotKey::Keymap X11HotKey::currentKeymap() const {
    if (!xkb_) return nullptr;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection_);
    if (device < 0) return nullptr;
    return Keymap(xkb_x11_keymap_new_from_device(xkb_.get(), connection_, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

bool X11HotKey::typesText(std::uint8_t keycode, std::uint16_t state) const {
    return chordTypesText(currentKeymap().get(), keycode, state);
}

void X11HotKey::takeKeyboard(std::uint32_t time) {
    if (!keyboardWindow_) return;
    if (!keyboardWindowMapped_) xcb_map_window(connection_, keyboardWindow_);
    keyboardWindowMapped_ = true;
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, keyboardWindow_, time);
    xcb_flush(connection_);
}

void X11HotKey::letKeyboardGo() {
    gate_.disarm();
    if (!keyboardWindowMapped_) return;
    keyboardWindowMapped_ = false;
    xcb_unmap_window(connection_, keyboardWindow_);
    xcb_flush(connection_);
}

void X11HotKey::setHotKey(std::int32_t value) {
    ungrab();
    hotKey_ = hotKeyFromValue(value);
    grab();
}

void X11HotKey::grab() {
    if (!connection_ || !hotKey_) return;
    std::vector<Grab> wanted = grabsFor(*hotKey_, readKeyboardMapping(connection_), readModifierMapping(connection_));
    // A chord that types on the first layout is left to whoever has the keyboard, so that the
    // character reaches the program the user types in. On another layout, the press itself
    // is looked at.
    if (const Keymap keymap = currentKeymap())
        std::erase_if(wanted, [&](const Grab& g) { return chordTypesText(keymap.get(), g.keycode, g.modifiers); });

    // Send every grab first and collect the answers afterwards: one round trip, not one
    // for each combination.
    struct Pending {
        Grab grab;
        std::uint32_t root;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    for (std::uint32_t root : roots_) {
        for (const Grab& g : wanted) {
            pending.push_back({g, root,
                               xcb_grab_key_checked(connection_, 0, root, g.modifiers, g.keycode,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    for (const Pending& p : pending) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, p.cookie));
        // Refused (BadAccess: another program holds this combination): go without it.
        if (!error && std::ranges::find(held_, p.grab) == held_.end()) held_.push_back(p.grab);
    }
}

void X11HotKey::ungrab() {
    if (!connection_) return;
    for (std::uint32_t root : roots_) {
        for (const Grab& g : held_) {
            discardError(connection_, xcb_ungrab_key_checked(connection_, g.keycode, root, g.modifiers));
        }
    }
    held_.clear();
}

bool X11HotKey::isRoot(std::uint32_t window) const {
    return std::ranges::find(roots_, window) != roots_.end();
}

void X11HotKey::later(const std::function<void()>& callback) {
    if (!callback) return;
    QMetaObject::invokeMethod(&context_, [callback] { callback(); }, Qt::QueuedConnection);
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!connection_ || eventType != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);

    // Only the server's own key events on a root window come from our grab; any client
    // can send a made-up one, with the send-event bit set, to any window. Key events are
    // not taken away from Qt, which keeps its keyboard state up to date with them.
    const bool synthetic = (event->response_type & 0x80) != 0;
    switch (event->response_type & ~0x80) {
        case XCB_KEY_PRESS: {
            auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
            const auto typed = [&] { return typesText(key->detail, key->state); };
            if (isRoot(key->event) && gate_.press(held_, key->detail, key->state, synthetic, typed)) {
                takeKeyboard(key->time);
                later(onPressed);
            }
            break;
        }
        case XCB_KEY_RELEASE: {
            // While the hot key is held its grab reports the releases on the root window;
            // once it is let go, the keyboard window has the keyboard.
            auto* key = reinterpret_cast<xcb_key_release_event_t*>(event);
            const bool ours = isRoot(key->event) || (keyboardWindow_ && key->event == keyboardWindow_);
            if (ours && gate_.release(synthetic)) later(onReleased);
            break;
        }
        case XCB_FOCUS_OUT: {
            // The grab's own coming and going moves no focus; anything else took the keyboard.
            auto* focus = reinterpret_cast<xcb_focus_out_event_t*>(event);
            if (!synthetic && focus->event == keyboardWindow_ && focus->mode == XCB_NOTIFY_MODE_NORMAL &&
                focus->detail != XCB_NOTIFY_DETAIL_INFERIOR)
                letKeyboardGo();
            return focus->event == keyboardWindow_;
        }
        case XCB_FOCUS_IN: {
            auto* focus = reinterpret_cast<xcb_focus_in_event_t*>(event);
            return focus->event == keyboardWindow_;
        }
        case XCB_MAPPING_NOTIFY: {
            // A new keyboard layout may have moved the key or NumLock: grab afresh.
            auto* mapping = reinterpret_cast<xcb_mapping_notify_event_t*>(event);
            if (mapping->request != XCB_MAPPING_POINTER && hotKey_) {
                ungrab();
                grab();
            }
            break;
        }
        default:
            // The keyboard extension tells of a new layout in its own events, not in the
            // core protocol's mapping notice, to a client that uses it, as Qt does.
            if (xkbFirstEvent_ && (event->response_type & ~0x80) == xkbFirstEvent_ && hotKey_) {
                // Its second byte says which: 0 a new keyboard, 1 a new mapping.
                const std::uint8_t kind = event->pad0;
                if (kind == 0 || kind == 1) {
                    ungrab();
                    grab();
                }
            }
            break;
    }
    return false;
}

}  // namespace horatta::hotkey
