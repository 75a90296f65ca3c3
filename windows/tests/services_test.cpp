#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "windows/services.h"
#include "windows/wide.h"

namespace horatta::win {
namespace {

// Wine and Windows both give a fresh user the English (United States) locale, which these
// expectations assume; the tests pin it so that a developer's own settings do not matter.
class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetUserDefaultLCID() != MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT))
            GTEST_SKIP() << "needs the en-US user locale";
    }
    Services services;
};

TEST_F(ServicesTest, ReadsTimesAndDatesTheWayTheUserWritesThem) {
    struct Row {
        const char* text;
        std::optional<TimeOfDay> time;
    };
    const Row rows[] = {
        {"21:30:00", TimeOfDay::fromHms(21, 30, 0)},
        {"9:30:00 PM", TimeOfDay::fromHms(21, 30, 0)},
        {"00:00:00", TimeOfDay()},
        {"23:59:59", TimeOfDay::fromHms(23, 59, 59)},
        {"12/6/2026", TimeOfDay()},  // a date alone has the time 00:00:00
        {"  :  :  ", std::nullopt},   // a masked field nobody typed into
        {"12:  :  ", std::nullopt},
        {"25:00:00", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(services.parseDateOrTime(row.text), row.time) << row.text;
}

TEST_F(ServicesTest, FormatsInTheUsersLocale) {
    EXPECT_EQ(services.longTimeText(*TimeOfDay::fromHms(21, 30, 5)), "9:30:05 PM");
    EXPECT_EQ(services.longTimeText(TimeOfDay()), "12:00:00 AM");
    EXPECT_EQ(services.weekdayName(0), "Sunday");
    EXPECT_EQ(services.weekdayName(6), "Saturday");
    EXPECT_EQ(services.monthAbbreviation(1), "Jan");
    EXPECT_EQ(services.monthAbbreviation(12), "Dec");
    EXPECT_EQ(services.monthAbbreviation(13), "");
}

TEST_F(ServicesTest, TheLongTimeTextReadsBackAsTheSameTime) {
    // The applied power-off time is stored in this form and read again at every start.
    for (int seconds : {1, 3599, 43200, 45296, 86399}) {
        TimeOfDay time = TimeOfDay::fromSeconds(seconds);
        EXPECT_EQ(services.parseDateOrTime(services.longTimeText(time)), time) << time.hms();
    }
}

std::int64_t localMs(const SYSTEMTIME& st) {
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return static_cast<std::int64_t>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000);
}

TEST(Services, TheClockAgreesWithTheSystemsLocalTime) {
    Services services;
    SYSTEMTIME system;
    GetLocalTime(&system);
    const DateTime now = services.now();
    const std::int64_t timerMs = Services::nowMs();
    SYSTEMTIME shown{};
    shown.wYear = static_cast<WORD>(now.year);
    shown.wMonth = static_cast<WORD>(now.month);
    shown.wDay = static_cast<WORD>(now.day);
    shown.wHour = static_cast<WORD>(now.hour);
    shown.wMinute = static_cast<WORD>(now.minute);
    shown.wSecond = static_cast<WORD>(now.second);
    shown.wMilliseconds = static_cast<WORD>(now.millisecond);
    EXPECT_LT(std::abs(localMs(shown) - localMs(system)), 2000);
    // The timers' clock and the clock shown turn to the next second together.
    const int apart = std::abs(static_cast<int>(timerMs % 1000) - now.millisecond);
    EXPECT_LT(std::min(apart, 1000 - apart), 50);
}

TEST(Services, TextWidthFollowsTheCaption) {
    Services services;
    EXPECT_EQ(services.textWidthTwips(""), 0);
    const float narrow = services.textWidthTwips("1");
    const float wide = services.textWidthTwips("21:30:00");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, 4 * narrow);
    EXPECT_EQ(static_cast<int>(wide) % twipsPerPixel, 0) << "whole pixels";
}

TEST(Services, ScreensAreReportedInPixels) {
    Services services;
    auto screens = services.screens();
    ASSERT_FALSE(screens.empty());
    EXPECT_GT(screens.front().width, 0);
    EXPECT_EQ(services.screenWidthPixels(), GetSystemMetrics(SM_CXSCREEN));
}

TEST(Services, TwipsRoundToTheNearestPixel) {
    EXPECT_EQ(toPixels(13605), 907);
    EXPECT_EQ(toPixels(1000), 67);
    EXPECT_EQ(toPixels(10), 1);
    EXPECT_EQ(toPixels(7), 0);
    EXPECT_EQ(toPixels(-25), -2);
}

TEST(Services, TheShutdownPrivilegeIsEnabledForThisProcessOnly) {
    // Enabling changes nothing but this process's own token; nothing is shut down.
    EXPECT_TRUE(Services::enableShutdownPrivilege());
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID shutdown{};
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &shutdown));
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = shutdown;
    BOOL enabled = FALSE;
    ASSERT_TRUE(PrivilegeCheck(token, &set, &enabled));
    EXPECT_TRUE(enabled);
    CloseHandle(token);
}

TEST(Services, WithAFakePowerOffTheRequestIsOnlyRecorded) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring log = std::wstring(folder) + L"horatta-power-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"HORATTA_FAKE_POWER_OFF", log.c_str());
    {
        Services services;
        services.exitWindows(13, 0);
        services.exitWindows(13, 0);
    }
    SetEnvironmentVariableW(L"HORATTA_FAKE_POWER_OFF", nullptr);
    std::ifstream in(narrow(log));
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "ExitWindowsEx 13 0\nExitWindowsEx 13 0\n");
    in.close();
    DeleteFileW(log.c_str());

    Services real;
    EXPECT_FALSE(real.recordPowerCall("x")) << "without the variable there is no record, and no fake";
}

}  // namespace
}  // namespace horatta::win
