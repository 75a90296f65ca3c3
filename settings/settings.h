#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/registry.h"
#include "settings/setting_names.h"

namespace horatta {

// Opens the key, reads one text value and closes the key again. Only a string value
// counts; anything else, a missing key or a missing value is no value. The text ends
// at the first zero character.
std::optional<std::string> ReadSetting(Registry& registry, std::uint32_t root, std::string_view path,
                                       std::string_view name);

// Creates the key when needed and stores the whole text as a string value.
void WriteSetting(Registry& registry, std::uint32_t root, std::string_view path, std::string_view name,
                  std::string_view value);

// Creates the key when needed and stores the texts, in order, in one write.
using SettingTexts = std::vector<std::pair<std::string_view, std::string>>;
void WriteSettings(Registry& registry, std::uint32_t root, std::string_view path, const SettingTexts& values);

// A stored decimal number: optional sign, digits, optional fraction, surrounding blanks
// allowed. Anything else (exponents, hexadecimal, words) is no number.
std::optional<double> settingToNumber(std::string_view text);

// A stored number: a decimal text (optionally signed, with a fractional part that is
// rounded half to even) that fits a 16-bit signed integer. Anything else is no number,
// so that a damaged value falls back to its default instead of wrapping around.
std::optional<std::int16_t> settingToInt16(std::string_view text);

}  // namespace horatta
