// Watches windows on an X server through the Damage extension and prints one line per
// repaint of each, timed by the wall clock when the server reported it:
//   <seconds since the epoch>.<microseconds> <window index> <first changed column> <last changed column>
// The columns are -1 -1 when a repaint left the window's pixels as they were. A repaint is
// the burst of drawing that reaches one window with no pause of 3 ms or more.
//
//   damage_listener <seconds> <window id>...
//
// Watching the root window sees every client's drawing without touching the clocks: no
// program is slowed by being polled.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <poll.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::system_clock;
constexpr auto settle = std::chrono::milliseconds(3);

struct Watched {
    xcb_rectangle_t rect{};  // on the root window
    std::vector<std::uint8_t> pixels;
    std::size_t stride = 0;
    bool pending = false;
    Clock::time_point first, last;
};

template <class T>
std::unique_ptr<T, decltype(&std::free)> owned(T* reply) { return {reply, &std::free}; }

bool grab(xcb_connection_t* c, xcb_window_t root, Watched& w) {
    const auto image = owned(xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, w.rect.x, w.rect.y, w.rect.width, w.rect.height, ~0u),
        nullptr));
    if (!image) return false;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    w.pixels.assign(data, data + xcb_get_image_data_length(image.get()));
    w.stride = w.pixels.size() / std::max<std::size_t>(w.rect.height, 1);
    return true;
}

// The range of columns whose pixels differ between two grabs of the same window.
std::pair<int, int> changedColumns(const Watched& before, const Watched& after) {
    int first = -1, last = -1;
    if (before.pixels.size() != after.pixels.size() || after.stride == 0) return {0, after.rect.width - 1};
    const std::size_t bytesPerPixel = after.stride / after.rect.width;
    for (std::size_t i = 0; i < after.pixels.size(); ++i) {
        if (before.pixels[i] == after.pixels[i]) continue;
        const int column = static_cast<int>((i % after.stride) / bytesPerPixel);
        if (column >= after.rect.width) continue;  // row padding
        first = first < 0 ? column : std::min(first, column);
        last = std::max(last, column);
    }
    return {first, last};
}

bool overlaps(const xcb_rectangle_t& a, const xcb_rectangle_t& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

void print(Clock::time_point t, std::size_t index, std::pair<int, int> columns) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
    std::printf("%lld.%06lld %zu %d %d\n", static_cast<long long>(us / 1000000), static_cast<long long>(us % 1000000),
                index, columns.first, columns.second);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: damage_listener <seconds> <window id>...\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "damage_listener: no X display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "damage_listener: the X server has no Damage extension\n");
        return 1;
    }
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    std::vector<Watched> watched;
    for (int i = 2; i < argc; ++i) {
        const auto window = static_cast<xcb_window_t>(std::strtoul(argv[i], nullptr, 0));
        const auto geometry = owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        const auto origin =
            owned(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr));
        Watched w;
        if (!geometry || !origin) {
            std::fprintf(stderr, "damage_listener: no window %s\n", argv[i]);
            return 1;
        }
        w.rect = {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
        watched.push_back(std::move(w));
    }
    xcb_damage_create(c, xcb_generate_id(c), root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    // A new damage object reports the whole screen at once; that is no repaint.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    while (const auto event = owned(xcb_poll_for_event(c))) {}
    for (Watched& w : watched) grab(c, root, w);

    const auto end = Clock::now() + std::chrono::duration<double>(std::strtod(argv[1], nullptr));
    const std::uint8_t notify = damage->first_event + XCB_DAMAGE_NOTIFY;
    while (Clock::now() < end) {
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        const bool waiting = std::any_of(watched.begin(), watched.end(), [](const Watched& w) { return w.pending; });
        poll(&fd, 1, waiting ? 1 : 100);
        const auto now = Clock::now();
        while (const auto event = owned(xcb_poll_for_event(c))) {
            if ((event->response_type & 0x7f) != notify) continue;
            const auto* area = reinterpret_cast<const xcb_damage_notify_event_t*>(event.get());
            for (Watched& w : watched) {
                if (!overlaps(w.rect, area->area)) continue;
                if (!w.pending) w.first = now;
                w.pending = true;
                w.last = now;
            }
        }
        if (xcb_connection_has_error(c)) return 1;
        for (std::size_t i = 0; i < watched.size(); ++i) {
            Watched& w = watched[i];
            if (!w.pending || now - w.last < settle) continue;
            Watched after = w;
            if (!grab(c, root, after)) continue;
            print(w.first, i, changedColumns(w, after));
            w = std::move(after);
            w.pending = false;
        }
    }
    xcb_disconnect(c);
    return 0;
}
