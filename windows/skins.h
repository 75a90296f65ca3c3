#pragma once

#include "windows/win32.h"

#include <array>
#include <optional>

#include "window/controls.h"

namespace horatta::win {

// A decoded picture, ready to be copied onto the face at its own size.
struct Bitmap {
    HBITMAP handle = nullptr;
    int width = 0;
    int height = 0;
};

// Decodes a JPEG or BMP file image held in memory; nothing when it cannot be read.
std::optional<Bitmap> decodePicture(const void* data, std::size_t size);

// The seven skins, decoded once from the program's own resources.
class Skins {
public:
    explicit Skins(HINSTANCE instance);
    ~Skins();
    Skins(const Skins&) = delete;
    Skins& operator=(const Skins&) = delete;

    // Nothing for Image::None, or for a picture that could not be decoded.
    const Bitmap* get(Image image) const;

private:
    std::array<std::optional<Bitmap>, 8> bitmaps_;  // by Image
};

}  // namespace horatta::win
