#include "win32/system_services.h"

#include <oleauto.h>

#include <cmath>

#include "window/layout.h"
#include "win32/wide.h"

namespace horatta::shell {

namespace {

#ifdef HORATTA_FAKE_POWER_OFF
std::wstring environment(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    DWORD got = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(got);
    return value;
}
#endif

SYSTEMTIME onDay(int year, int month, int day) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    return st;
}

std::string formatDate(const SYSTEMTIME& st, const wchar_t* picture) {
    wchar_t buffer[128];
    int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, picture, buffer, 128, nullptr);
    if (n <= 0) return {};
    return narrow(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)));
}

}  // namespace

SystemServices::SystemServices() {
    setDpi(DpiScale::standardDpi);
#ifdef HORATTA_FAKE_POWER_OFF
    fakePowerOffLog_ = environment(L"HORATTA_FAKE_POWER_OFF");
#endif
}

SystemServices::~SystemServices() {
    if (font_) DeleteObject(font_);
}

void SystemServices::setDpi(int dpi) {
    if (font_ && dpi == scale_.dpi()) return;
    scale_ = DpiScale(dpi);
    HFONT font = CreateFontW(-MulDiv(825, scale_.dpi(), 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Microsoft Sans Serif");
    if (!font) return;
    if (font_) DeleteObject(font_);
    font_ = font;
}

DateTime SystemServices::now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    DateTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    t.weekday = st.wDayOfWeek;
    return t;
}

std::string SystemServices::longTimeText(TimeOfDay time) const {
    SYSTEMTIME st = onDay(2000, 1, 1);
    st.wHour = static_cast<WORD>(time.hour());
    st.wMinute = static_cast<WORD>(time.minute());
    st.wSecond = static_cast<WORD>(time.second());
    wchar_t buffer[128];
    int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    if (n <= 0) return time.hms();
    return narrow(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)));
}

std::string SystemServices::weekdayName(int weekday) const {
    // 1 January 2023 was a Sunday.
    SYSTEMTIME st = onDay(2023, 1, 1 + ((weekday % 7) + 7) % 7);
    st.wDayOfWeek = static_cast<WORD>(((weekday % 7) + 7) % 7);
    return formatDate(st, L"dddd");
}

std::string SystemServices::monthAbbreviation(int month) const {
    if (month < 1 || month > 12) return {};
    return formatDate(onDay(2023, month, 1), L"MMM");
}

std::optional<TimeOfDay> SystemServices::parseDateOrTime(const std::string& text) const {
    std::wstring wide = widen(text);
    DATE value = 0;
    if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    // A DATE counts days; its fraction is the time of day, also before 1899 where the whole
    // part is negative.
    double whole = 0;
    double fraction = std::fabs(std::modf(value, &whole));
    return TimeOfDay::fromSeconds(std::llround(fraction * 86400.0));
}

void SystemServices::beep(int hz, int ms) const {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Beep(static_cast<DWORD>(hz), static_cast<DWORD>(ms));
    // Wait out whatever is left of the tone's time; Sleep may also come back a little early.
    for (;;) {
        QueryPerformanceCounter(&now);
        const LONGLONG elapsedMs = (now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
        if (elapsedMs >= ms) break;
        Sleep(static_cast<DWORD>(ms - elapsedMs));
    }
}

bool SystemServices::enableShutdownPrivilege() {
    // The token privilege record as the system defines it: a count and two entries of a
    // locally unique identifier and its attributes, 28 bytes in all. The second entry stays
    // zero; a second record receives the previous state.
    struct PrivilegeRecord {
        DWORD count;
        LUID_AND_ATTRIBUTES entries[2];
    };
    static_assert(sizeof(PrivilegeRecord) == 28);

    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    PrivilegeRecord record{};
    bool ok = LookupPrivilegeValueW(L"", L"SeShutdownPrivilege", &record.entries[0].Luid) != FALSE;
    if (ok) {
        record.count = 1;
        record.entries[0].Attributes = SE_PRIVILEGE_ENABLED;
        PrivilegeRecord previous{};
        DWORD returned = 0;
        ok = AdjustTokenPrivileges(token, FALSE, reinterpret_cast<TOKEN_PRIVILEGES*>(&record), sizeof record,
                                   reinterpret_cast<TOKEN_PRIVILEGES*>(&previous), &returned) != FALSE &&
             GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return ok;
}

bool SystemServices::recordPowerCall(const std::string& line) const {
    if (fakePowerOffLog_.empty()) return false;
    HANDLE file = CreateFileW(fakePowerOffLog_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        std::string text = line + "\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    return true;
}

void SystemServices::exitWindows(std::uint32_t flags, std::uint32_t reserved) const {
    if (recordPowerCall("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reserved))) return;
    ExitWindowsEx(flags, reserved);
}

int SystemServices::screenWidthPixels() const {
    const PixelRect primary = scale_.toLogical(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), 1});
    return primary.width;
}

namespace {
BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
    return TRUE;
}
}  // namespace

std::vector<PixelRect> SystemServices::screens() const {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::vector<PixelRect> out;
    for (const RECT& r : monitors) out.push_back(scale_.toLogical(r));
    return out;
}

float SystemServices::textWidthTwips(const std::string& text) const {
    if (text.empty()) return 0;
    std::wstring wide = widen(text);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Rounded up: a label of that many logical pixels spans at least as many device pixels
    // as the text, wherever its two edges round.
    const int logical = (size.cx * DpiScale::standardDpi + scale_.dpi() - 1) / scale_.dpi();
    return toTwips(logical);
}

}  // namespace horatta::shell
