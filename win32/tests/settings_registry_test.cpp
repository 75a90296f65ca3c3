#include <gtest/gtest.h>

#include "win32/settings_registry.h"

#include <sddl.h>

#include <array>
#include <string>

#include "settings/settings.h"
#include "win32/wide.h"

namespace horatta::shell {
namespace {

// Every test works below a scratch key of the current user, where "machine" and "user"
// stand in for the two roots.
class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(currentUserKey, scratch_.c_str()); }

    std::wstring keyPath(const wchar_t* which) const { return base_ + which + L"\\" + widen(settingsPath); }

    // A string as another program finds it: REG_SZ, terminated, returned without its zero.
    std::optional<std::wstring> raw(const wchar_t* which, const wchar_t* name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(currentUserKey, keyPath(which).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        std::optional<std::wstring> out;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            out.emplace(size / sizeof(wchar_t), L'\0');
            RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out->data()), &size);
            EXPECT_TRUE(type == DWORD{REG_SZ} && !out->empty() && out->back() == L'\0') << "terminated, as other programs expect";
            out->pop_back();
        }
        RegCloseKey(key);
        return out;
    }

    // A value as another program could have written it.
    template <typename Data>
    void put(const wchar_t* which, const wchar_t* name, DWORD type, const Data& data) {
        ASSERT_EQ(RegSetKeyValueW(currentUserKey, keyPath(which).c_str(), name, type, &data, sizeof data), ERROR_SUCCESS);
    }

    // The machine-wide key as a user without administrator rights meets it: readable only.
    void makeMachineKeyReadOnly() {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(currentUserKey, keyPath(L"machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
        LocalFree(descriptor);
        RegCloseKey(key);
    }

    std::optional<std::string> read(const char* name) { return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name); }
    void write(const char* name, const std::string& value) { WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, value); }

    const std::wstring scratch_ = L"Software\\horatta-tests\\" + std::to_wstring(GetCurrentProcessId());
    const std::wstring base_ = scratch_ + L"\\" + widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
    SettingsRegistry registry{{currentUserKey, base_ + L"machine\\"}, {currentUserKey, base_ + L"user\\"}};
};

TEST_F(RegistryTest, TextsRoundTripWholeAsStringValuesAndOnlyStringsAreRead) {
    EXPECT_EQ(read("ta"), std::nullopt) << "no key yet";
    for (const std::string text : {"abc", "", "12345     ", "备忘录：明天开会", "Grüße 🕐"}) {
        EXPECT_EQ((write("text", text), read("text")), text);
        EXPECT_EQ(raw(L"machine", L"text"), widen(text));
    }
    EXPECT_EQ((write("TIME", "21:30:00"), read("time")), "21:30:00") << "names are compared without regard to case";
    EXPECT_FALSE(raw(L"user", L"text")) << "nothing goes to the user's key while the machine key is writable";
    // Values another program wrote: only strings count, read up to their first zero.
    put(L"machine", L"t9", REG_DWORD, DWORD{5});
    put(L"machine", L"time3", REG_EXPAND_SZ, L"%TEMP%");
    put(L"machine", L"a", REG_SZ, std::array{L'a', L'b', L'c'});  // unterminated
    put(L"machine", L"b", REG_SZ, L"ab\0cd");
    put(L"machine", L"c", REG_SZ, std::array{'x', '\0', 'y'});  // an odd byte count: the half character is dropped
    const std::pair<const char*, std::optional<std::string>> values[] = {{"t9", {}}, {"time3", {}}, {"ta", {}}, {"a", "abc"}, {"b", "ab"}, {"c", "x"}};
    for (const auto& [name, value] : values) EXPECT_EQ(read(name), value) << name;
}

TEST_F(RegistryTest, AUserWhoCannotWriteTheMachineKeyKeepsSettingsInTheirOwnAndTheirsCurrentAfterwards) {
    put(L"user", L"t", REG_SZ, L"1");  // a value the user came to hold earlier
    // Several values in one write follow the same rule as one (written while the machine key was still writable).
    WriteSettings(registry, HKEY_LOCAL_MACHINE, settingsPath, {{"t", "2"}, {"time2", "7"}, {"time3", "4"}});
    EXPECT_TRUE(raw(L"user", L"t") == L"2" && raw(L"machine", L"t") == L"2") << "a value the user holds is kept current";
    EXPECT_FALSE(raw(L"user", L"time3")) << "values the user never held stay machine-wide";
    makeMachineKeyReadOnly();
    WriteSettings(registry, HKEY_LOCAL_MACHINE, settingsPath, {{"text", "我的备忘录"}, {"time3", "5"}});
    const std::pair<const char*, const char*> values[] = {{"text", "我的备忘录"}, {"time3", "5"} /* the user's copy first */,
                                                          {"time2", "7"} /* the machine's where the user has none */, {"t", "2"}};
    for (const auto& [name, value] : values) EXPECT_EQ(read(name), value) << name;
    EXPECT_EQ(raw(L"user", L"text"), widen("我的备忘录"));
    EXPECT_EQ(raw(L"machine", L"time3"), L"4") << "the machine key is untouched";
    EXPECT_FALSE(raw(L"machine", L"text"));
}

}  // namespace
}  // namespace horatta::shell
