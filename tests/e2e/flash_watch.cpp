// Watches a window's pixels many times a second from one connection (a screenshot tool started
// again and again misses a flash of a tenth of a second) and prints how many looks found it
// bright, as the dark face is only when inverted. It stops two seconds after the first bright look.
//   flash_watch WINDOW_ID MILLISECONDS
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: flash_watch WINDOW_ID MILLISECONDS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[2]));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    int looks = 0, bright = 0;
    while (std::chrono::steady_clock::now() < until) {
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
        if (!geometry) break;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, geometry->height, ~0u), nullptr);
        std::free(geometry);
        if (image && image->depth == 24) {
            const std::uint8_t* data = xcb_get_image_data(image);
            const int bytes = xcb_get_image_data_length(image);
            int light = 0, pixels = 0;
            for (int i = 0; i + 3 < bytes; i += 4, ++pixels)
                if (data[i] + data[i + 1] + data[i + 2] > 3 * 128) ++light;
            ++looks;
            if (pixels > 0 && light * 2 > pixels && bright++ == 0)
                until = std::min(until, std::chrono::steady_clock::now() + std::chrono::seconds(2));
        }
        std::free(image);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    xcb_disconnect(c);
    std::printf("%d %d\n", bright, looks);
    return 0;
}
