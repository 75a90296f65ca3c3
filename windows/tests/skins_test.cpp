#include <gtest/gtest.h>

#include "windows/skins.h"

namespace horatta::win {
namespace {

// The skins are linked into this test program as into the clock, from the same resources.
TEST(Skins, EverySkinDecodesAtItsOwnSizeAndTheIconHasThe32PixelImage) {
    Skins skins(GetModuleHandleW(nullptr));
    for (Image image : {Image::Skin3, Image::Skin4, Image::Skin5, Image::Skin6, Image::Skin7, Image::Skin8, Image::Skin9}) {
        const Bitmap* bitmap = skins.get(image);
        ASSERT_NE(bitmap, nullptr) << static_cast<int>(image);
        const bool big = image == Image::Skin4;  // the only 81 x 23 one
        EXPECT_EQ(bitmap->width, big ? 81 : 63);
        EXPECT_EQ(bitmap->height, big ? 23 : 18);
    }
    EXPECT_EQ(skins.get(Image::None), nullptr);
    const char junk[] = "not a picture at all";
    EXPECT_EQ(decodePicture(junk, sizeof junk), std::nullopt);
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_TRUE(colour.bmWidth == 32 && colour.bmHeight == 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

}  // namespace
}  // namespace horatta::win
