// Gives the first output of the X server a mode of the given size, for xrandr to switch to:
// Xvfb has one mode only, and a mode made by xrandr --newmode goes away with xrandr itself
// before --addmode can find it. Here the output holds the mode, so it outlives this program.
//   screen_mode WIDTH HEIGHT     (prints the mode's name, "WIDTHxHEIGHT")
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

int failed(const char* what) {
    std::fprintf(stderr, "screen_mode: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return failed("usage: screen_mode WIDTH HEIGHT");
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return failed("no such size");
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return failed("no X server");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    using Resources = xcb_randr_get_screen_resources_reply_t;
    std::unique_ptr<Resources, decltype(&std::free)> resources(
        xcb_randr_get_screen_resources_reply(c, xcb_randr_get_screen_resources(c, screen->root), nullptr), &std::free);
    if (!resources || xcb_randr_get_screen_resources_outputs_length(resources.get()) < 1) return failed("no output");
    const xcb_randr_output_t output = xcb_randr_get_screen_resources_outputs(resources.get())[0];

    const std::string name = std::to_string(width) + "x" + std::to_string(height);
    xcb_randr_mode_info_t info{};
    info.width = static_cast<std::uint16_t>(width);
    info.height = static_cast<std::uint16_t>(height);
    info.htotal = info.width;
    info.vtotal = info.height;
    info.dot_clock = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 60;
    info.name_len = static_cast<std::uint16_t>(name.size());
    std::unique_ptr<xcb_randr_create_mode_reply_t, decltype(&std::free)> mode(
        xcb_randr_create_mode_reply(
            c, xcb_randr_create_mode(c, screen->root, info, static_cast<std::uint32_t>(name.size()), name.c_str()), nullptr),
        &std::free);
    if (!mode) return failed("the mode was refused");
    if (xcb_generic_error_t* error = xcb_request_check(c, xcb_randr_add_output_mode_checked(c, output, mode->mode))) {
        std::free(error);
        return failed("the output refused the mode");
    }
    xcb_disconnect(c);
    std::puts(name.c_str());
    return 0;
}
