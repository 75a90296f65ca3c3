#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/registry.h"

namespace horatta {

// An in-memory registry for tests and for shells that keep settings elsewhere.
class MemoryRegistry : public Registry {
public:
    Key openKey(std::uint32_t root, std::string_view path) override;
    Key createKey(std::uint32_t root, std::string_view path) override;
    std::optional<RegistryValue> queryValue(Key key, std::string_view name) override;
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override;
    bool setValues(Key key, const std::vector<NamedValue>& values) override;
    void closeKey(Key key) override;

    // Makes every write fail, as a key without write access does.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Number of keys currently open; a settings call must leave none behind.
    std::size_t openKeyCount() const { return handles_.size(); }
    bool keyExists(std::uint32_t root, std::string_view path) const;

private:
    struct StoredKey {
        std::map<std::string, RegistryValue> values;  // by lower-cased name
    };
    std::map<std::string, StoredKey> keys_;          // by root and lower-cased path
    std::map<Key, std::string> handles_;
    Key nextHandle_ = 1;
    bool readOnly_ = false;
};

}  // namespace horatta
