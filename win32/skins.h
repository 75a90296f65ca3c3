#pragma once

#include "win32/win32.h"

#include <array>
#include <map>
#include <optional>

#include "window/controls.h"
#include "win32/dpi_scale.h"

namespace horatta::shell {

// A decoded picture, ready to be copied onto the face at its own size.
struct Bitmap {
    HBITMAP handle = nullptr;
    int width = 0;
    int height = 0;
};

// Decodes a JPEG or BMP file image held in memory; nothing when it cannot be read.
std::optional<Bitmap> decodePicture(const void* data, std::size_t size);

// The seven skins, decoded once from the program's own resources at one, two and three times
// their size, and each at the device size of the strip's density when it is first asked for.
class Skins {
public:
    explicit Skins(HINSTANCE instance);
    ~Skins();
    Skins(const Skins&) = delete;
    Skins& operator=(const Skins&) = delete;

    // The skin at the device size of its logical one at this density, smoothly scaled down
    // from the nearest larger picture; at 96, 192 and 288 dpi the picture itself. Nothing for
    // Image::None, or for a picture that could not be decoded.
    const Bitmap* get(Image image, const DpiScale& scale);

private:
    static constexpr std::size_t images = 8;  // by Image
    std::array<std::array<std::optional<Bitmap>, 3>, images> pictures_;  // by Image, then factor - 1
    std::map<Image, Bitmap> scaled_;                                    // at scaledDpi_
    int scaledDpi_ = 0;

    void dropScaled();
};

}  // namespace horatta::shell
