#pragma once

#include "win32/win32.h"

#include <map>
#include <string>

#include "settings/registry.h"

namespace horatta::shell {

// The settings in the Windows registry, read and written with the wide-character functions
// so that every text round-trips whole; strings are REG_SZ holding UTF-16.
//
// The clock keeps its values under HKEY_LOCAL_MACHINE, which only administrators may write.
// A user without those rights would otherwise lose every setting silently, so a value that
// cannot be stored there goes to the same path under HKEY_CURRENT_USER instead, and that
// per-user key is read first from then on. A value the user already holds there is kept
// up to date even when the machine-wide write succeeds, so the copy read first never goes
// stale.
//
// Both builds, 32-bit and 64-bit, use the 64-bit view of the registry, so they share one key.
class SettingsRegistry : public Registry {
public:
    // Where the keys of a root live: a predefined key and a path prefix below it (empty, or
    // ending in a backslash). Tests point both somewhere harmless.
    struct Place {
        HKEY root;
        std::wstring prefix;
    };

    SettingsRegistry();  // HKEY_LOCAL_MACHINE, falling back to HKEY_CURRENT_USER
    SettingsRegistry(Place machine, Place user);
    ~SettingsRegistry() override;
    SettingsRegistry(const SettingsRegistry&) = delete;
    SettingsRegistry& operator=(const SettingsRegistry&) = delete;

    Key openKey(std::uint32_t root, std::string_view path) override;
    Key createKey(std::uint32_t root, std::string_view path) override;
    // The user's copy of a value when there is one, else the machine's.
    std::optional<RegistryValue> queryValue(Key key, std::string_view name) override;
    // To the machine's key where the user may write there; to the user's copy where not, or
    // where one exists already, so that it never goes stale.
    bool setValue(Key key, std::string_view name, const RegistryValue& value) override;
    // In one registry transaction where the system offers one, each value where setValue
    // would put it; one by one where it does not.
    bool setValues(Key key, const std::vector<NamedValue>& values) override;
    void closeKey(Key key) override;

private:
    struct OpenKey {
        HKEY machine = nullptr;
        HKEY user = nullptr;       // the per-user copy, when it exists (or has been made)
        std::wstring machinePath;
        std::wstring userPath;
    };

    Key remember(OpenKey key);

    Place machine_;
    Place user_;
    std::map<Key, OpenKey> open_;
    Key next_ = 1;
};

}  // namespace horatta::shell
