#include <gtest/gtest.h>

#include "windows/skins.h"

namespace horatta::win {
namespace {

// The skins are linked into this test program as into the clock, from the same resources.
TEST(Skins, EverySkinDecodesAtItsOwnSize) {
    Skins skins(GetModuleHandleW(nullptr));
    struct Row {
        Image image;
        int width, height;
    };
    const Row rows[] = {
        {Image::Skin3, 63, 18}, {Image::Skin4, 81, 23}, {Image::Skin5, 63, 18}, {Image::Skin6, 63, 18},
        {Image::Skin7, 63, 18}, {Image::Skin8, 63, 18}, {Image::Skin9, 63, 18},
    };
    for (const auto& row : rows) {
        const Bitmap* bitmap = skins.get(row.image);
        ASSERT_NE(bitmap, nullptr) << static_cast<int>(row.image);
        EXPECT_EQ(bitmap->width, row.width);
        EXPECT_EQ(bitmap->height, row.height);
    }
    EXPECT_EQ(skins.get(Image::None), nullptr);
}

TEST(Skins, ABrokenPictureIsNoPicture) {
    const char junk[] = "not a picture at all";
    EXPECT_EQ(decodePicture(junk, sizeof junk), std::nullopt);
    EXPECT_EQ(decodePicture(nullptr, 0), std::nullopt);
}

TEST(Skins, TheIconHasThe32PixelImage) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

}  // namespace
}  // namespace horatta::win
