#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horatta {

// Root keys are passed by their handle values so that every caller names the same one.
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

enum class ValueType : std::uint32_t {
    None = 0,
    String = 1,         // REG_SZ: the only type that reads as text
    ExpandString = 2,   // REG_EXPAND_SZ
    Binary = 3,
    Dword = 4,
    MultiString = 7,
};

struct RegistryValue {
    ValueType type = ValueType::None;
    std::string bytes;  // text values are UTF-8; a terminating zero may or may not be present
};

struct NamedValue {
    std::string_view name;
    RegistryValue value;
};

// The primitive operations a settings backend offers, with the registry's semantics:
// value names are compared without regard to case, keys exist or not, values are typed.
// Nothing here reports an error to the user; a failure simply yields no key or no value.
class Registry {
public:
    using Key = std::uint64_t;  // 0 is "no key"
    virtual ~Registry() = default;

    virtual Key openKey(std::uint32_t root, std::string_view path) = 0;
    // Creates the key and any missing parents; returns 0 when that is not possible.
    virtual Key createKey(std::uint32_t root, std::string_view path) = 0;
    virtual std::optional<RegistryValue> queryValue(Key key, std::string_view name) = 0;
    // Returns false when the value could not be stored.
    virtual bool setValue(Key key, std::string_view name, const RegistryValue& value) = 0;
    // Stores the values in order as one write where the backend can, so that a program ended
    // half-way leaves either all of them or none. Returns false when they could not be stored.
    virtual bool setValues(Key key, const std::vector<NamedValue>& values) = 0;
    virtual void closeKey(Key key) = 0;
};

}  // namespace horatta
