#include "support/fake_platform.h"

#include <array>

#include "settings/settings.h"
#include "window/utf8.h"

namespace horatta::testing {

namespace {

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t epochDays = daysFromCivil(2000, 1, 1);

}  // namespace

std::int64_t toMs(const DateTime& t) {
    std::int64_t days = daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) - epochDays;
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000LL + t.second * 1000LL + t.millisecond;
}

DateTime fromMs(std::int64_t ms) {
    std::int64_t days = ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000;
    std::int64_t rest = ms - days * 86400000;
    DateTime t;
    civilFromDays(days + epochDays, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000);
    t.minute = static_cast<int>(rest / 60000 % 60);
    t.second = static_cast<int>(rest / 1000 % 60);
    t.millisecond = static_cast<int>(rest % 1000);
    std::int64_t unixDays = days + epochDays;  // 1970-01-01 was a Thursday
    t.weekday = static_cast<int>(((unixDays % 7) + 7 + 4) % 7);
    return t;
}

DateTime at(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = millisecond;
    return fromMs(toMs(t));  // fills the weekday
}

std::optional<RegistryValue> RecordingRegistry::queryValue(Key key, std::string_view name) {
    accesses.push_back("read " + std::string(name));
    return MemoryRegistry::queryValue(key, name);
}

bool RecordingRegistry::setValue(Key key, std::string_view name, const RegistryValue& value) {
    writtenNames.emplace_back(name);
    accesses.push_back("write " + std::string(name));
    return MemoryRegistry::setValue(key, name, value);
}

FakePlatform::FakePlatform() { setNow(at(2026, 12, 6, 18, 36, 16, 500)); }

std::vector<std::string> FakePlatform::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
}

std::string FakePlatform::longTimeText(TimeOfDay time) {
    // English long time: "9:30:00 PM".
    int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    std::array<char, 32> buf{};
    std::snprintf(buf.data(), buf.size(), "%d:%02d:%02d %s", h12, time.minute(), time.second(),
                  time.hour() < 12 ? "AM" : "PM");
    return buf.data();
}

std::string FakePlatform::weekdayName(int weekday) {
    static const std::array<const char*, 7> names{"Sunday", "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
    return names.at(static_cast<std::size_t>(weekday));
}

std::string FakePlatform::monthAbbreviation(int month) {
    static const std::array<const char*, 12> names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return names.at(static_cast<std::size_t>(month - 1));
}

std::optional<TimeOfDay> FakePlatform::parseDateOrTime(const std::string& text) { return parseTimeOrDate(text); }

void FakePlatform::beep(int hz, int ms) {
    beeps.push_back({hz, ms, clockMs});
    calls.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    if (beepTakesTime) clockMs += ms;
}

WindowPosition FakePlatform::dragWindow(ControlId window, WindowPosition from) {
    calls.push_back(std::string("dragWindow ") + controlName(window));
    if (duringDrag) duringDrag();
    return dragTo.value_or(from);
}

void FakePlatform::makeTopmost(ControlId window) { calls.push_back(std::string("makeTopmost ") + controlName(window)); }
void FakePlatform::showWindow(ControlId window) { calls.push_back(std::string("showWindow ") + controlName(window)); }
void FakePlatform::showCaret(ControlId field) { calls.push_back(std::string("showCaret ") + controlName(field)); }
void FakePlatform::hideCaret(ControlId field) { calls.push_back(std::string("hideCaret ") + controlName(field)); }
void FakePlatform::setFocus(ControlId control) { calls.push_back(std::string("setFocus ") + controlName(control)); }

float FakePlatform::textWidth(const std::string& text) {
    return static_cast<float>(utf8::length(text)) * twipsPerCharacter;
}

void FakePlatform::endProgram() {
    ++endProgramCount;
    calls.push_back("endProgram");
}

void FakePlatform::enableShutdownPrivilege() { calls.push_back("enableShutdownPrivilege"); }

void FakePlatform::exitWindows(std::uint32_t flags, std::uint32_t reserved) {
    ++powerOffCount;
    calls.push_back("exitWindows " + std::to_string(flags) + " " + std::to_string(reserved));
}

void FakePlatform::setHotKey(ControlId window, std::int32_t value) {
    calls.push_back(std::string("setHotKey ") + controlName(window) + " " + std::to_string(value));
}

std::optional<std::string> FakePlatform::stored(const std::string& name) {
    return ReadSetting(memory, HKEY_LOCAL_MACHINE, settingsPath, name);
}

void FakePlatform::store(const std::string& name, const std::string& value) {
    // Seeding the registry is not a write of the program's.
    const std::size_t written = memory.writtenNames.size(), accessed = memory.accesses.size();
    WriteSetting(memory, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    memory.writtenNames.resize(written);
    memory.accesses.resize(accessed);
}

}  // namespace horatta::testing
