#include "settings/settings.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace horatta {

std::optional<std::string> ReadSetting(Registry& registry, std::uint32_t root, std::string_view path,
                                       std::string_view name) {
    Registry::Key key = registry.openKey(root, path);
    std::optional<std::string> result;
    if (key != 0) {
        auto value = registry.queryValue(key, name);
        if (value && value->type == ValueType::String) {
            const std::string& bytes = value->bytes;
            result = bytes.substr(0, bytes.find('\0'));
        }
        registry.closeKey(key);
    }
    return result;
}

void WriteSetting(Registry& registry, std::uint32_t root, std::string_view path, std::string_view name,
                  std::string_view value) {
    Registry::Key key = registry.createKey(root, path);
    if (key == 0) return;
    // The whole text is stored; cutting it to its character count would split multi-byte text.
    registry.setValue(key, name, RegistryValue{ValueType::String, std::string(value)});
    registry.closeKey(key);
}

void WriteSettings(Registry& registry, std::uint32_t root, std::string_view path, const SettingTexts& values) {
    Registry::Key key = registry.createKey(root, path);
    if (key == 0) return;
    std::vector<NamedValue> named;
    for (const auto& [name, text] : values) named.push_back({name, RegistryValue{ValueType::String, text}});
    registry.setValues(key, named);
    registry.closeKey(key);
}

std::optional<double> settingToNumber(std::string_view text) {
    std::size_t i = 0, end = text.size();
    while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    std::string_view body = text.substr(i, end - i);
    std::size_t p = 0, digits = 0;
    if (p < body.size() && (body[p] == '+' || body[p] == '-')) ++p;
    while (p < body.size() && std::isdigit(static_cast<unsigned char>(body[p]))) ++p, ++digits;
    if (p < body.size() && body[p] == '.') {
        ++p;
        while (p < body.size() && std::isdigit(static_cast<unsigned char>(body[p]))) ++p, ++digits;
    }
    if (p != body.size() || digits == 0 || body.size() > 64) return std::nullopt;
    return std::strtod(std::string(body).c_str(), nullptr);
}

std::optional<std::int16_t> settingToInt16(std::string_view text) {
    auto value = settingToNumber(text);
    if (!value) return std::nullopt;
    double rounded = std::nearbyint(*value);  // the default rounding mode rounds half to even
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace horatta
