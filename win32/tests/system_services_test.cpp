#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

#include "window/layout.h"
#include "win32/system_services.h"
#include "win32/skins.h"
#include "win32/system_timer.h"
#include "win32/wide.h"
#include "window/utf16.h"

namespace horatta::shell {
namespace {

// The expectations assume the English (United States) locale a fresh Wine or Windows user has.
class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetUserDefaultLCID() != MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT))
            GTEST_SKIP() << "needs the en-US user locale";
    }
    SystemServices services;
};

TEST_F(ServicesTest, ReadsTimesAndDatesTheWayTheUserWritesThemAndFormatsInTheUsersLocale) {
    const std::pair<const char*, std::optional<TimeOfDay>> rows[] = {
        {"21:30:00", TimeOfDay::fromHms(21, 30, 0)}, {"9:30:00 PM", TimeOfDay::fromHms(21, 30, 0)},
        {"12/6/2026", TimeOfDay()},  // a date alone has the time 00:00:00
        {"  :  :  ", std::nullopt},   // a masked field nobody typed into
        {"25:00:00", std::nullopt},  {"", std::nullopt}};
    for (const auto& [text, time] : rows) EXPECT_EQ(services.parseDateOrTime(text), time) << text;
    EXPECT_EQ(services.longTimeText(*TimeOfDay::fromHms(21, 30, 5)), "9:30:05 PM");
    EXPECT_EQ(services.weekdayName(0) + services.monthAbbreviation(1), "SundayJan");
    // The applied power-off time is stored in this form and read again at every start.
    for (int seconds : {0, 1, 3599, 43200, 45296, 86399})
        EXPECT_EQ(services.parseDateOrTime(services.longTimeText(TimeOfDay::fromSeconds(seconds))), TimeOfDay::fromSeconds(seconds)) << seconds;
}

TEST(SystemServices, TheClockAgreesWithTheSystemsLocalTime) {
    const auto ms = [](const SYSTEMTIME& st) {
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        return static_cast<std::int64_t>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000);
    };
    SYSTEMTIME system;
    GetLocalTime(&system);
    const DateTime now = SystemServices().now();
    const std::int64_t timerMs = SystemTimer::nowMs();
    const SYSTEMTIME shown{WORD(now.year), WORD(now.month), WORD(now.weekday), WORD(now.day),
                           WORD(now.hour), WORD(now.minute), WORD(now.second), WORD(now.millisecond)};
    EXPECT_LT(std::abs(ms(shown) - ms(system)), 2000);
    EXPECT_EQ(now.weekday, system.wDayOfWeek);
    // The timers' clock and the clock shown turn to the next second together.
    const int apart = std::abs(static_cast<int>(timerMs % 1000) - now.millisecond);
    EXPECT_LT(std::min(apart, 1000 - apart), 50);
}

TEST(SystemServices, TextWidthIsMeasuredInWholePixels) {
    const float narrow = SystemServices().textWidthTwips("1"), wide = SystemServices().textWidthTwips("21:30:00");
    EXPECT_TRUE(narrow > 0 && wide > 4 * narrow && static_cast<int>(wide) % twipsPerPixel == 0) << narrow << " " << wide;
}

TEST(SystemServices, TheShutdownPrivilegeIsEnabledForThisProcessOnly) {
    // Enabling changes nothing but this process's own token; nothing is shut down.
    HANDLE token = nullptr;
    PRIVILEGE_SET set{1, 0, {}};
    BOOL enabled = FALSE;
    EXPECT_TRUE(SystemServices::enableShutdownPrivilege() && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &set.Privilege[0].Luid) && PrivilegeCheck(token, &set, &enabled) && enabled);
    if (token) CloseHandle(token);
}

#ifdef HORATTA_FAKE_POWER_OFF
TEST(SystemServices, WithAFakePowerOffTheRequestIsOnlyRecorded) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring log = std::wstring(folder) + L"horatta-power-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"HORATTA_FAKE_POWER_OFF", log.c_str());
    for (int twice = 0; twice < 2; ++twice) SystemServices().exitWindows(13, 0);
    SetEnvironmentVariableW(L"HORATTA_FAKE_POWER_OFF", nullptr);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(narrow(log)).rdbuf()), {}), "ExitWindowsEx 13 0\nExitWindowsEx 13 0\n");
    DeleteFileW(log.c_str());
    EXPECT_FALSE(SystemServices().recordPowerCall("x")) << "without the variable there is no record, and no fake";
}
#endif

// The skins, linked in from the clock's own resources: at each density the face's size in device pixels.
TEST(Skins, EverySkinDecodesAtTheDeviceSizeOfEachDensity) {
    Skins skins(GetModuleHandleW(nullptr));
    const std::tuple<int, int, int> sizes[] = {{96, 63, 18}, {144, 94, 27}, {192, 126, 36}, {288, 189, 54}};
    for (Image image : {Image::Skin3, Image::Skin4, Image::Skin5, Image::Skin6, Image::Skin7, Image::Skin8, Image::Skin9}) {
        for (const auto& [dpi, width, height] : sizes) {
            const Bitmap* bitmap = skins.get(image, DpiScale(dpi));
            ASSERT_NE(bitmap, nullptr) << static_cast<int>(image);
            // picture4 is 81 x 23, the others 63 x 18.
            EXPECT_EQ(std::pair(bitmap->width, bitmap->height),
                      image == Image::Skin4 ? std::pair(DpiScale(dpi).toDevice(81), DpiScale(dpi).toDevice(23))
                                            : std::pair(width, height))
                << static_cast<int>(image) << " at " << dpi;
        }
    }
    EXPECT_EQ(skins.get(Image::None, DpiScale(96)), nullptr);
    const char junk[] = "not a picture at all";
    EXPECT_EQ(decodePicture(junk, sizeof junk), std::nullopt);
}

// A press lands on what is drawn under it at any density: a device pixel maps back inside a
// rectangle exactly when it lies inside that rectangle's device edges.
TEST(DpiScale, DevicePixelsMapBackIntoTheRectangleDrawnOverThem) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const DpiScale scale(dpi);
        for (int left = -40; left < 40; ++left)
            for (int width : {1, 2, 3, 7, 67}) {
                const RECT r = scale.toDevice(PixelRect{left, 0, width, 1});
                for (int d = r.left - 3; d < r.right + 3; ++d) {
                    const int back = scale.toLogical(d);
                    ASSERT_EQ(d >= r.left && d < r.right, back >= left && back < left + width)
                        << dpi << " dpi, device " << d << " of " << left << "+" << width;
                }
            }
    }
    // The strip's 67 x 20 logical pixels (1000 x 300 twips).
    const std::tuple<int, int, int> strip[] = {{96, 67, 20}, {144, 100, 30}, {192, 134, 40}, {288, 201, 60}};
    for (const auto& [dpi, width, height] : strip)
        EXPECT_EQ(std::pair(DpiScale(dpi).toDevice(67), DpiScale(dpi).toDevice(20)), std::pair(width, height)) << dpi;
    // A screen 1920 pixels wide at 144 dpi is 1280 logical ones: the default place's rule reads that.
    EXPECT_EQ(DpiScale(144).toLogical(RECT{0, 0, 1920, 1080}), (PixelRect{0, 0, 1280, 720}));
    EXPECT_EQ(DpiScale(144).toLogical(RECT{-1920, 0, 0, 1080}), (PixelRect{-1280, 0, 1280, 720}));
}

// The edit controls' wide text reaches the core's position rule unit for unit.
TEST(Wide, PositionsCountASurrogatePairAsOneCharacter) {
    const std::u16string text = units(widen("a\xF0\x9F\x95\x90" "b"));  // a, U+1F550, b: four UTF-16 units
    EXPECT_TRUE(text == u"a\U0001F550b" && utf16::unitsBefore(text, 2) == 3 && utf16::charactersBefore(text, 3) == 2);
}

}  // namespace
}  // namespace horatta::shell
