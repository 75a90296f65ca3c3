#include <gtest/gtest.h>

#include "windows/windows_registry.h"

#include <sddl.h>

#include <string>

#include "settings/settings.h"
#include "windows/wide.h"

namespace horatta::win {
namespace {

// Every test works below a scratch key of the current user, which stands in for both roots.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = L"Software\\horatta-tests\\" + std::to_wstring(GetCurrentProcessId()) + L"\\" +
                widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
        RegDeleteTreeW(currentUserKey, base_.c_str());
    }
    void TearDown() override {
        RegDeleteTreeW(currentUserKey, (L"Software\\horatta-tests\\" + std::to_wstring(GetCurrentProcessId())).c_str());
    }

    WindowsRegistry::Place machine() const { return {currentUserKey, base_ + L"machine\\"}; }
    WindowsRegistry::Place user() const { return {currentUserKey, base_ + L"user\\"}; }
    std::wstring keyPath(const wchar_t* which) const { return base_ + which + L"\\Software\\qom\\time"; }

    // A value as another program would find it: type and raw bytes, or nothing.
    std::optional<std::pair<DWORD, std::wstring>> raw(const wchar_t* which, const wchar_t* name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(currentUserKey, keyPath(which).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        std::optional<std::pair<DWORD, std::wstring>> out;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::wstring data(size / sizeof(wchar_t), L'\0');
            RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
            out = std::make_pair(type, data);
        }
        RegCloseKey(key);
        return out;
    }

    void put(const wchar_t* which, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(currentUserKey, keyPath(which).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    // The machine-wide key as a user without administrator rights meets it: readable only.
    void makeMachineKeyReadOnly() {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(currentUserKey, keyPath(L"machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                         &descriptor, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
        LocalFree(descriptor);
        RegCloseKey(key);
    }

    std::optional<std::string> read(WindowsRegistry& r, const char* name) {
        return ReadSetting(r, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    void write(WindowsRegistry& r, const char* name, const std::string& value) {
        WriteSetting(r, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    }

    std::wstring base_;
};

TEST_F(RegistryTest, TextsRoundTripWholeAsStringValues) {
    WindowsRegistry registry(machine(), user());
    for (const std::string text : {"abc", "", "12345     ", "备忘录：明天开会", "Grüße 🕐", "21:30:00"}) {
        write(registry, "text", text);
        EXPECT_EQ(read(registry, "text"), text);
        auto stored = raw(L"machine", L"text");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->first, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored->second, widen(text) + L'\0') << "stored as other programs expect a string";
    }
    EXPECT_FALSE(raw(L"user", L"text")) << "nothing goes to the user's key while the machine key is writable";
}

TEST_F(RegistryTest, NamesAreComparedWithoutRegardToCase) {
    WindowsRegistry registry(machine(), user());
    write(registry, "TIME", "21:30:00");
    EXPECT_EQ(read(registry, "time"), "21:30:00");
}

TEST_F(RegistryTest, MissingKeyValueOrOtherTypeReadsAsNoValue) {
    WindowsRegistry registry(machine(), user());
    EXPECT_EQ(read(registry, "ta"), std::nullopt);
    const DWORD number = 5;
    put(L"machine", L"t9", REG_DWORD, &number, sizeof number);
    const wchar_t expand[] = L"%TEMP%";
    put(L"machine", L"time3", REG_EXPAND_SZ, expand, sizeof expand);
    EXPECT_EQ(read(registry, "t9"), std::nullopt);
    EXPECT_EQ(read(registry, "time3"), std::nullopt);
    EXPECT_EQ(read(registry, "ta"), std::nullopt);
}

TEST_F(RegistryTest, StringsWrittenByOthersReadUpToTheirFirstZero) {
    WindowsRegistry registry(machine(), user());
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    put(L"machine", L"a", REG_SZ, unterminated, sizeof unterminated);
    const wchar_t embedded[] = L"ab\0cd";
    put(L"machine", L"b", REG_SZ, embedded, sizeof embedded);
    const char odd[] = {'x', 0, 'y'};  // an odd byte count: the half character is dropped
    put(L"machine", L"c", REG_SZ, odd, sizeof odd);
    EXPECT_EQ(read(registry, "a"), "abc");
    EXPECT_EQ(read(registry, "b"), "ab");
    EXPECT_EQ(read(registry, "c"), "x");
}

TEST_F(RegistryTest, WritingCreatesTheKeyAndEveryKeyIsClosedAgain) {
    WindowsRegistry registry(machine(), user());
    write(registry, "time2", "11");
    EXPECT_TRUE(raw(L"machine", L"time2"));
    Registry::Key key = registry.openKey(HKEY_LOCAL_MACHINE, settingsPath);
    ASSERT_NE(key, 0u);
    registry.closeKey(key);
    EXPECT_EQ(registry.queryValue(key, "time2"), std::nullopt) << "a closed key reads nothing";
    EXPECT_EQ(registry.openKey(0x80000001u, settingsPath), 0u) << "only the machine root is the clock's";
}

TEST_F(RegistryTest, AUserWhoCannotWriteTheMachineKeyKeepsSettingsInTheirOwn) {
    const std::string memo = "我的备忘录";
    {
        WindowsRegistry registry(machine(), user());
        write(registry, "time3", "4");  // written while the machine key was still writable
    }
    makeMachineKeyReadOnly();
    WindowsRegistry registry(machine(), user());
    write(registry, "text", memo);
    write(registry, "time3", "5");
    EXPECT_EQ(read(registry, "text"), memo);
    EXPECT_EQ(read(registry, "time3"), "5") << "the user's copy is read first";
    EXPECT_EQ(raw(L"user", L"text")->second, widen(memo) + L'\0');
    EXPECT_EQ(raw(L"machine", L"time3")->second, L"4" + std::wstring(1, L'\0')) << "the machine key is untouched";
    EXPECT_FALSE(raw(L"machine", L"text"));
}

TEST_F(RegistryTest, MachineValuesShowThroughWhereTheUserHasNone) {
    WindowsRegistry registry(machine(), user());
    write(registry, "time2", "7");
    const wchar_t own[] = L"3";
    put(L"user", L"time3", REG_SZ, own, sizeof own);
    EXPECT_EQ(read(registry, "time2"), "7");
    EXPECT_EQ(read(registry, "time3"), "3");
}

TEST_F(RegistryTest, AValueTheUserHoldsIsKeptCurrentWhenTheMachineKeyIsWritableAgain) {
    const wchar_t stale[] = L"1";
    put(L"user", L"time2", REG_SZ, stale, sizeof stale);
    WindowsRegistry registry(machine(), user());
    write(registry, "time2", "8");
    write(registry, "time3", "2");
    EXPECT_EQ(read(registry, "time2"), "8");
    EXPECT_EQ(raw(L"machine", L"time2")->second, L"8" + std::wstring(1, L'\0'));
    EXPECT_EQ(raw(L"user", L"time2")->second, L"8" + std::wstring(1, L'\0'));
    EXPECT_FALSE(raw(L"user", L"time3")) << "values the user never held stay machine-wide";
}

}  // namespace
}  // namespace horatta::win
