// Watches a window's pixels and prints the wall-clock time of every change, one line
// each: "<seconds since the epoch>.<milliseconds>". Used to measure how soon after a
// wall-clock second the clock's face shows it; not part of the programs.
//
//   face_probe <window id> <seconds to watch>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <xcb/xcb.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: face_probe <window id> <seconds>\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::strtod(argv[2], nullptr);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_get_geometry_reply_t* geometry =
        xcb_connection_has_error(c) ? nullptr : xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry) {
        std::fprintf(stderr, "face_probe: no X display, or no such window\n");
        return 1;
    }
    const std::uint16_t width = geometry->width, height = geometry->height;
    std::free(geometry);

    using Clock = std::chrono::system_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    std::string last;
    while (Clock::now() < end) {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u), nullptr);
        const auto seen = Clock::now();
        if (image) {
            std::string pixels(reinterpret_cast<const char*>(xcb_get_image_data(image)),
                               static_cast<std::size_t>(xcb_get_image_data_length(image)));
            std::free(image);
            if (!last.empty() && pixels != last) {
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(seen.time_since_epoch()).count();
                std::printf("%lld.%03lld\n", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
                std::fflush(stdout);
            }
            last = std::move(pixels);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    xcb_disconnect(c);
    return 0;
}
