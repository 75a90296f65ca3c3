// Starts a program and prints the milliseconds until its first window shows a drawn frame,
// and the CPU milliseconds its threads used until then (which a busy machine disturbs less):
//   first_frame PROGRAM [ARGUMENT...]
// "Drawn" means the mapped window holds more than one colour, so a server-side background
// fill before the program paints does not count. Meant for a private X server without a
// window manager, where a program's top-level windows are children of the root. The program
// is ended with SIGTERM once the frame is seen.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

bool drawn(xcb_connection_t* c, xcb_window_t window) {
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    if (!geometry || geometry->width < 2 || geometry->height < 2) return false;
    Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, geometry->height, ~0u), nullptr),
        &std::free);
    if (!image) return false;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    const int pixel = image->depth > 16 ? 4 : 2;
    for (int i = pixel; i + pixel <= length; i += pixel)
        if (std::memcmp(data, data + i, std::size_t(pixel - (pixel == 4))) != 0) return true;  // alpha aside
    return false;
}

double cpuMs(pid_t pid) {
    double ns = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stat(task.path() / "schedstat");
        double onCpu = 0;
        if (stat >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return std::fprintf(stderr, "no X display\n"), 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) return std::fprintf(stderr, "no DAMAGE extension\n"), 1;
    xcb_discard_reply(c, xcb_damage_query_version(c, 1, 1).sequence);
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &events);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // the mask is in place before the start

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::_Exit(127);
    }
    std::set<xcb_window_t> mapped;
    double elapsed = -1, cpu = 0;
    while (elapsed < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(c), &std::free);
        if (!event) {
            if (xcb_connection_has_error(c) || waitpid(child, nullptr, WNOHANG) == child) break;
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) break;
            pollfd x{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&x, 1, 100);
            continue;
        }
        xcb_window_t check = XCB_NONE;
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            // Watched from its creation, so that no paint before the map goes unseen.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            xcb_damage_create(c, xcb_generate_id(c), created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
            break;
        }
        case XCB_MAP_NOTIFY:
            check = reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
            mapped.insert(check);
            break;
        default:
            if ((event->response_type & 0x7f) == damage->first_event + XCB_DAMAGE_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
                xcb_damage_subtract(c, notify->damage, XCB_NONE, XCB_NONE);
                if (mapped.count(notify->drawable)) check = notify->drawable;
            }
        }
        if (check != XCB_NONE && drawn(c, check)) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            cpu = cpuMs(child);
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    if (elapsed < 0) return std::fprintf(stderr, "%s showed no frame\n", argv[1]), 1;
    std::printf("%.1f %.1f\n", elapsed, cpu);
    return 0;
}
