#include "windows/windows_registry.h"

#include <cstring>
#include <vector>

#include "windows/wide.h"

namespace horatta::win {

namespace {

constexpr REGSAM readAccess = KEY_QUERY_VALUE | KEY_WOW64_64KEY;
constexpr REGSAM writeAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY;

HKEY openExisting(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

HKEY openOrCreate(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, writeAccess, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Reads one value; the loop covers a value that grows between asking its size and reading it.
std::optional<RegistryValue> readValue(HKEY key, const std::wstring& name) {
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    for (int attempt = 0; attempt < 4 && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA); ++attempt) {
        std::vector<BYTE> data(size);
        DWORD got = size;
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &got);
        if (result == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        RegistryValue value;
        value.type = static_cast<ValueType>(type);
        if (isText(type)) {
            std::wstring text(got / sizeof(wchar_t), L'\0');
            if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
            value.bytes = narrow(text);
        } else {
            value.bytes.assign(reinterpret_cast<const char*>(data.data()), got);
        }
        return value;
    }
    return std::nullopt;
}

bool hasValue(HKEY key, const std::wstring& name) {
    return key && RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool writeValue(HKEY key, const std::wstring& name, const RegistryValue& value) {
    const DWORD type = static_cast<DWORD>(value.type);
    std::vector<BYTE> data;
    if (isText(type)) {
        std::wstring text = widen(value.bytes);
        text.push_back(L'\0');  // strings are stored the way every other program writes them
        data.resize(text.size() * sizeof(wchar_t));
        std::memcpy(data.data(), text.data(), data.size());
    } else {
        data.assign(value.bytes.begin(), value.bytes.end());
    }
    return RegSetValueExW(key, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

}  // namespace

WindowsRegistry::WindowsRegistry() : WindowsRegistry({localMachineKey, L""}, {currentUserKey, L""}) {}

WindowsRegistry::WindowsRegistry(Place machine, Place user) : machine_(std::move(machine)), user_(std::move(user)) {}

WindowsRegistry::~WindowsRegistry() {
    for (auto& [handle, key] : open_) {
        if (key.machine) RegCloseKey(key.machine);
        if (key.user) RegCloseKey(key.user);
    }
}

Registry::Key WindowsRegistry::remember(OpenKey key) {
    if (!key.machine && !key.user) return 0;
    Key handle = next_++;
    open_.emplace(handle, std::move(key));
    return handle;
}

Registry::Key WindowsRegistry::openKey(std::uint32_t root, std::string_view path) {
    if (root != HKEY_LOCAL_MACHINE) return 0;
    OpenKey key;
    const std::wstring wide = widen(path);
    key.userPath = user_.prefix + wide;
    key.user = openExisting(user_.root, key.userPath, readAccess);
    key.machine = openExisting(machine_.root, machine_.prefix + wide, readAccess);
    return remember(std::move(key));
}

Registry::Key WindowsRegistry::createKey(std::uint32_t root, std::string_view path) {
    if (root != HKEY_LOCAL_MACHINE) return 0;
    OpenKey key;
    const std::wstring wide = widen(path);
    key.userPath = user_.prefix + wide;
    key.machine = openOrCreate(machine_.root, machine_.prefix + wide);
    key.user = key.machine ? openExisting(user_.root, key.userPath, writeAccess) : openOrCreate(user_.root, key.userPath);
    return remember(std::move(key));
}

std::optional<RegistryValue> WindowsRegistry::queryValue(Key handle, std::string_view name) {
    auto it = open_.find(handle);
    if (it == open_.end()) return std::nullopt;
    const std::wstring wide = widen(name);
    if (it->second.user) {
        if (auto value = readValue(it->second.user, wide)) return value;
    }
    if (it->second.machine) return readValue(it->second.machine, wide);
    return std::nullopt;
}

bool WindowsRegistry::setValue(Key handle, std::string_view name, const RegistryValue& value) {
    auto it = open_.find(handle);
    if (it == open_.end()) return false;
    OpenKey& key = it->second;
    const std::wstring wide = widen(name);
    const bool machineStored = key.machine && writeValue(key.machine, wide, value);
    if (machineStored && !hasValue(key.user, wide)) return true;
    if (!key.user) key.user = openOrCreate(user_.root, key.userPath);
    const bool userStored = key.user && writeValue(key.user, wide, value);
    return machineStored || userStored;
}

void WindowsRegistry::closeKey(Key handle) {
    auto it = open_.find(handle);
    if (it == open_.end()) return;
    if (it->second.machine) RegCloseKey(it->second.machine);
    if (it->second.user) RegCloseKey(it->second.user);
    open_.erase(it);
}

}  // namespace horatta::win
