#include <gtest/gtest.h>

#include "settings/memory_registry.h"
#include "settings/settings.h"

namespace horatta {
namespace {

class SettingsStore : public ::testing::Test {
protected:
    MemoryRegistry registry;

    std::optional<std::string> read(std::string_view name) {
        return ReadSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name);
    }
    void write(std::string_view name, std::string_view value) {
        WriteSetting(registry, HKEY_LOCAL_MACHINE, settingsPath, name, value);
    }
    std::optional<RegistryValue> raw(std::string_view name) {
        auto key = registry.openKey(HKEY_LOCAL_MACHINE, settingsPath);
        auto value = registry.queryValue(key, name);
        registry.closeKey(key);
        return value;
    }
    void putRaw(std::string_view name, ValueType type, std::string bytes) {
        auto key = registry.createKey(HKEY_LOCAL_MACHINE, settingsPath);
        registry.setValue(key, name, RegistryValue{type, std::move(bytes)});
        registry.closeKey(key);
    }
};

// The whole text comes back as written, multi-byte text included.
TEST_F(SettingsStore, TextRoundTripsExactlyAsAStringValue) {
    write("text", "abc");
    ASSERT_TRUE(raw("text"));
    EXPECT_EQ(raw("text")->type, ValueType::String);
    EXPECT_EQ(raw("text")->bytes, "abc");  // no terminating zero
    for (const std::string text : {"abcde     ", "\xE5\x85\xB3\xE6\x9C\xBA \xE6\x98\x8E\xE5\xA4\xA9", ""}) {
        write("text", text);
        EXPECT_EQ(read("text"), std::optional<std::string>(text)) << "the empty text is a value, not no value";
    }
}

TEST_F(SettingsStore, NamesAreComparedWithoutRegardToCase) {
    write("TIME", "21:30:00");
    EXPECT_EQ(read("time"), "21:30:00");
    write("time2", "5");
    write("TIME2", "6");
    EXPECT_EQ(read("Time2"), "6") << "two names that differ only in case are one value";
}

TEST_F(SettingsStore, OnlyStringValuesReadAsText) {
    putRaw("time2", ValueType::Dword, std::string("\x05\x00\x00\x00", 4));
    putRaw("time3", ValueType::ExpandString, "3");
    putRaw("t", ValueType::Binary, "1");
    EXPECT_FALSE(read("time2"));
    EXPECT_FALSE(read("time3"));
    EXPECT_FALSE(read("t"));
}

TEST_F(SettingsStore, AZeroCharacterEndsTheText) {
    putRaw("text", ValueType::String, std::string("memo\0", 5));
    EXPECT_EQ(read("text"), "memo") << "a terminating zero written by another program is not part of the text";
    putRaw("text", ValueType::String, std::string("ab\0cd", 5));
    EXPECT_EQ(read("text"), "ab");
}

TEST_F(SettingsStore, MissingKeyOrValueIsNoValueAndWritingCreatesTheKeyAndItsParents) {
    EXPECT_FALSE(read("text"));
    EXPECT_FALSE(registry.keyExists(HKEY_LOCAL_MACHINE, settingsPath));
    write("ta", "600");
    EXPECT_FALSE(read("tb"));
    EXPECT_TRUE(registry.keyExists(HKEY_LOCAL_MACHINE, "Software\\qom\\time"));
    EXPECT_TRUE(registry.keyExists(HKEY_LOCAL_MACHINE, "software\\QOM"));
    EXPECT_TRUE(registry.keyExists(HKEY_LOCAL_MACHINE, "Software"));
    EXPECT_EQ(registry.openKeyCount(), 0u) << "every call closes its key";
}

TEST_F(SettingsStore, AKeyThatCannotBeWrittenKeepsItsOldValueSilently) {
    write("time2", "4");
    registry.setReadOnly(true);
    write("time2", "5");
    write("text", "new");
    EXPECT_EQ(read("time2"), "4");
    EXPECT_FALSE(read("text"));
}

TEST(StoredNumbers, DecimalTextsThatFitSixteenBitsAreNumbers) {
    struct Case {
        const char* text;
        std::optional<std::int16_t> value;
    };
    const Case cases[] = {
        {"11", 11},      {"0", 0},         {" 7 ", 7},        {"-3", -3},       {"+4", 4},
        {"2.5", 2},      {"3.5", 4},       {"2.51", 3},       {"32767", 32767}, {"-32768", -32768},
        {"32768", {}},   {"99999999999", {}}, {"1e3", {}},    {"abc", {}},      {"12abc", {}},
        {"", {}},        {" ", {}},        {"-", {}},         {".", {}},        {"0x10", {}},
        {"nan", {}},     {"inf", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(settingToInt16(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace horatta
