#include "windows/skins.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>

#include "windows/resource_ids.h"

namespace horatta::win {

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
    const std::array<std::pair<Image, int>, 7> sources{{
        {Image::Skin3, HORATTA_SKIN3}, {Image::Skin4, HORATTA_SKIN4}, {Image::Skin5, HORATTA_SKIN5},
        {Image::Skin6, HORATTA_SKIN6}, {Image::Skin7, HORATTA_SKIN7}, {Image::Skin8, HORATTA_SKIN8},
        {Image::Skin9, HORATTA_SKIN9},
    }};
    for (const auto& [image, id] : sources) bitmaps_[static_cast<std::size_t>(image)] = loadResource(instance, id);
}

Skins::~Skins() {
    for (auto& bitmap : bitmaps_)
        if (bitmap) DeleteObject(bitmap->handle);
}

const Bitmap* Skins::get(Image image) const {
    const auto& bitmap = bitmaps_[static_cast<std::size_t>(image)];
    return bitmap ? &*bitmap : nullptr;
}

}  // namespace horatta::win
