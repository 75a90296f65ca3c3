#include "win32/skins.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>

#include "win32/resource_ids.h"
#include "window/skin_picture.h"

namespace horatta::shell {

std::optional<Bitmap> decodePicture(const void* data, std::size_t size) {
    if (!data || size == 0) return std::nullopt;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return std::nullopt;
    void* target = GlobalLock(memory);
    std::memcpy(target, data, size);
    GlobalUnlock(memory);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return std::nullopt;
    }
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture) return std::nullopt;

    std::optional<Bitmap> result;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
        // A copy of our own, so the picture object can go.
        HBITMAP copy = static_cast<HBITMAP>(
            CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info{};
        if (copy && GetObjectW(copy, sizeof info, &info)) result = Bitmap{copy, info.bmWidth, std::abs(info.bmHeight)};
        else if (copy) DeleteObject(copy);
    }
    picture->Release();
    return result;
}

namespace {

std::optional<Bitmap> loadResource(HINSTANCE instance, int id) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return std::nullopt;
    return decodePicture(LockResource(loaded), SizeofResource(instance, found));
}

}  // namespace

Skins::Skins(HINSTANCE instance) {
    struct Source {
        Image image;
        std::array<int, 3> ids;  // at one, two and three times the size
    };
    const std::array<Source, 7> sources{{
        {Image::Skin3, {HORATTA_SKIN3, HORATTA_SKIN3_2X, HORATTA_SKIN3_3X}},
        {Image::Skin4, {HORATTA_SKIN4, HORATTA_SKIN4_2X, HORATTA_SKIN4_3X}},
        {Image::Skin5, {HORATTA_SKIN5, HORATTA_SKIN5_2X, HORATTA_SKIN5_3X}},
        {Image::Skin6, {HORATTA_SKIN6, HORATTA_SKIN6_2X, HORATTA_SKIN6_3X}},
        {Image::Skin7, {HORATTA_SKIN7, HORATTA_SKIN7_2X, HORATTA_SKIN7_3X}},
        {Image::Skin8, {HORATTA_SKIN8, HORATTA_SKIN8_2X, HORATTA_SKIN8_3X}},
        {Image::Skin9, {HORATTA_SKIN9, HORATTA_SKIN9_2X, HORATTA_SKIN9_3X}},
    }};
    for (const Source& source : sources)
        for (std::size_t factor = 0; factor < 3; ++factor)
            pictures_[static_cast<std::size_t>(source.image)][factor] = loadResource(instance, source.ids[factor]);
}

Skins::~Skins() {
    dropScaled();
    for (auto& sizes : pictures_)
        for (auto& bitmap : sizes)
            if (bitmap) DeleteObject(bitmap->handle);
}

void Skins::dropScaled() {
    for (auto& [image, bitmap] : scaled_) DeleteObject(bitmap.handle);
    scaled_.clear();
}

const Bitmap* Skins::get(Image image, const DpiScale& scale) {
    const auto index = static_cast<std::size_t>(image);
    if (index >= images) return nullptr;
    const auto& sizes = pictures_[index];
    if (!sizes[0]) return nullptr;
    // The size the 1x picture covers in logical pixels, in device pixels.
    const int width = scale.toDevice(sizes[0]->width), height = scale.toDevice(sizes[0]->height);
    int factor = skinPictureFactor(static_cast<double>(scale.dpi()) / DpiScale::standardDpi);
    while (factor > 1 && !sizes[static_cast<std::size_t>(factor - 1)]) --factor;
    const Bitmap& source = *sizes[static_cast<std::size_t>(factor - 1)];
    if (source.width == width && source.height == height) return &source;

    if (scaledDpi_ != scale.dpi()) {
        dropScaled();
        scaledDpi_ = scale.dpi();
    }
    if (auto it = scaled_.find(image); it != scaled_.end()) return &it->second;
    HDC screen = GetDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!target || !from || !to) {
        if (target) DeleteObject(target);
        if (from) DeleteDC(from);
        if (to) DeleteDC(to);
        return &source;
    }
    HGDIOBJ oldFrom = SelectObject(from, source.handle), oldTo = SelectObject(to, target);
    // Each device pixel averages the picture's pixels under it: smooth, where the nearest
    // pixel would drop strokes.
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, source.width, source.height, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return &(scaled_[image] = Bitmap{target, width, height});
}

}  // namespace horatta::shell
