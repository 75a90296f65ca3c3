#include "linux/x11_window_state.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>
#include <xcb/xcb.h>

namespace horatta::shell {

namespace {

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The atoms this file uses, asked for together the first time one is needed: one wait for
// the server instead of one for each, while the first frame is still to come.
enum Atom : std::size_t { netWmState, skipTaskbar, skipPager, sticky, netWmDesktop, restackWindow, activeWindow, atomCount };
constexpr std::array<const char*, atomCount> atomNames{
    "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_STICKY",
    "_NET_WM_DESKTOP", "_NET_RESTACK_WINDOW", "_NET_ACTIVE_WINDOW"};

xcb_atom_t atom(xcb_connection_t* c, Atom which) {
    // The application has one connection for its whole life; atoms last as long.
    static xcb_connection_t* internedOn = nullptr;
    static std::array<xcb_atom_t, atomCount> atoms{};
    if (internedOn != c) {
        std::array<xcb_intern_atom_cookie_t, atomCount> cookies{};
        for (std::size_t i = 0; i < atomCount; ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(atomNames[i])), atomNames[i]);
        for (std::size_t i = 0; i < atomCount; ++i) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            atoms[i] = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
            std::free(reply);
        }
        internedOn = c;
    }
    return atoms[which];
}

xcb_window_t rootOf(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    return it.rem ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

// A request to the window manager about a mapped window, as the window-manager hints describe.
void askManager(xcb_connection_t* c, xcb_window_t id, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
                std::uint32_t d2, std::uint32_t d3 = 1 /* from an ordinary application */) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = type;
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    message.data.data32[2] = d2;
    message.data.data32[3] = d3;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

void addStates(QWidget* window, std::initializer_list<Atom> names) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = atom(c, netWmState);
    std::vector<xcb_atom_t> wanted;
    for (Atom name : names) wanted.push_back(atom(c, name));

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
        // A request names at most two states.
        for (std::size_t i = 0; i < wanted.size(); i += 2)
            askManager(c, id, state, 1 /* add */, wanted[i], i + 1 < wanted.size() ? wanted[i + 1] : 0);
    }
    xcb_flush(c);
}

}  // namespace

void skipTaskbarAndPager(QWidget* window) {
    addStates(window, {skipTaskbar, skipPager});
}

void showOnEveryWorkspace(QWidget* window) {
    addStates(window, {sticky});
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t desktop = atom(c, netWmDesktop);
    constexpr std::uint32_t everyDesktop = 0xFFFFFFFF;
    if (!window->isVisible())
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32, 1, &everyDesktop);
    else
        askManager(c, id, desktop, everyDesktop, 1, 0);
    xcb_flush(c);
}

void bringToFrontOfOthers(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window || !window->isVisible()) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    constexpr std::uint32_t fromPager = 2;  // the user's own request
    constexpr std::uint32_t above = 0;      // XCB_STACK_MODE_ABOVE, of no sibling: of all
    askManager(c, id, atom(c, restackWindow), fromPager, XCB_WINDOW_NONE, above, 0);
    askManager(c, id, atom(c, activeWindow), fromPager, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0);
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
