#include "linux/x11_window_state.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace horatta::shell {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (!reply) return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
}

xcb_window_t rootOf(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    return it.rem ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

}  // namespace

void skipTaskbarAndPager(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t wanted[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};

    if (!window->isVisible()) {
        // Unmapped: the property itself, added to whatever states are already set.
        std::vector<xcb_atom_t> atoms;
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr);
        if (reply) {
            if (reply->format == 32) {
                auto* data = static_cast<xcb_atom_t*>(xcb_get_property_value(reply));
                atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
            }
            std::free(reply);
        }
        for (xcb_atom_t a : wanted)
            if (std::find(atoms.begin(), atoms.end(), a) == atoms.end()) atoms.push_back(a);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                            static_cast<std::uint32_t>(atoms.size()), atoms.data());
    } else {
        // Mapped: a request to the window manager, as the window-manager hints describe.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = state;
        message.data.data32[0] = 1;  // add
        message.data.data32[1] = wanted[0];
        message.data.data32[2] = wanted[1];
        message.data.data32[3] = 1;  // from an ordinary application
        xcb_send_event(c, 0, rootOf(c),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(c);
}

bool pointerButtonDown() {
    xcb_connection_t* c = connection();
    if (!c) return true;
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, rootOf(c)), nullptr);
    if (!reply) return true;
    const bool down = (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
    std::free(reply);
    return down;
}

}  // namespace horatta::shell
