#include "win32/settings_registry.h"

#include <cstring>
#include <vector>

#include "win32/wide.h"

#include <functional>

namespace horatta::shell {

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

// The registry's transactions, where the system has them: looked up when first needed, as Wine
// exports the functions only as stubs that end the program when called.
struct Transactions {
    using Create = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPGUID, DWORD, DWORD, DWORD, DWORD, LPWSTR);
    using Commit = BOOL(WINAPI*)(HANDLE);
    using OpenKey = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY, HANDLE, PVOID);
    using CreateKey = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY,
                                    LPDWORD, HANDLE, PVOID);
    Create create = nullptr;
    Commit commit = nullptr;
    OpenKey openKey = nullptr;
    CreateKey createKey = nullptr;

    template <typename Function>
    static Function find(const wchar_t* library, const char* name) {
        const HMODULE module = LoadLibraryW(library);
        return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }
    static const Transactions& get() {
        static const Transactions found = [] {
            Transactions t;
            const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
            if (ntdll && GetProcAddress(ntdll, "wine_get_version")) return t;
            t.create = find<Create>(L"ktmw32.dll", "CreateTransaction");
            t.commit = find<Commit>(L"ktmw32.dll", "CommitTransaction");
            t.openKey = find<OpenKey>(L"advapi32.dll", "RegOpenKeyTransactedW");
            t.createKey = find<CreateKey>(L"advapi32.dll", "RegCreateKeyTransactedW");
            return t;
        }();
        return found;
    }
    bool available() const { return create && commit && openKey && createKey; }
};

// Stores one value where the user may write it: the machine's key, and the user's copy when
// the machine's is out of reach or the user already holds one. `makeUser` makes that copy.
bool storeValue(HKEY machine, HKEY& user, const std::function<HKEY()>& makeUser, const std::wstring& name,
                const RegistryValue& value) {
    const bool machineStored = machine && writeValue(machine, name, value);
    if (machineStored && !hasValue(user, name)) return true;
    if (!user) user = makeUser();
    const bool userStored = user && writeValue(user, name, value);
    return machineStored || userStored;
}

}  // namespace

SettingsRegistry::SettingsRegistry() : SettingsRegistry({localMachineKey, L""}, {currentUserKey, L""}) {}

SettingsRegistry::SettingsRegistry(Place machine, Place user) : machine_(std::move(machine)), user_(std::move(user)) {}

SettingsRegistry::~SettingsRegistry() {
    for (auto& [handle, key] : open_) {
        if (key.machine) RegCloseKey(key.machine);
        if (key.user) RegCloseKey(key.user);
    }
}

Registry::Key SettingsRegistry::remember(OpenKey key) {
    if (!key.machine && !key.user) return 0;
    Key handle = next_++;
    open_.emplace(handle, std::move(key));
    return handle;
}

Registry::Key SettingsRegistry::openKey(std::uint32_t root, std::string_view path) {
    if (root != HKEY_LOCAL_MACHINE) return 0;
    OpenKey key;
    const std::wstring wide = widen(path);
    key.userPath = user_.prefix + wide;
    key.user = openExisting(user_.root, key.userPath, readAccess);
    key.machine = openExisting(machine_.root, machine_.prefix + wide, readAccess);
    return remember(std::move(key));
}

Registry::Key SettingsRegistry::createKey(std::uint32_t root, std::string_view path) {
    if (root != HKEY_LOCAL_MACHINE) return 0;
    OpenKey key;
    const std::wstring wide = widen(path);
    key.userPath = user_.prefix + wide;
    key.machinePath = machine_.prefix + wide;
    key.machine = openOrCreate(machine_.root, key.machinePath);
    key.user = key.machine ? openExisting(user_.root, key.userPath, writeAccess) : openOrCreate(user_.root, key.userPath);
    return remember(std::move(key));
}

std::optional<RegistryValue> SettingsRegistry::queryValue(Key handle, std::string_view name) {
    auto it = open_.find(handle);
    if (it == open_.end()) return std::nullopt;
    const std::wstring wide = widen(name);
    if (it->second.user) {
        if (auto value = readValue(it->second.user, wide)) return value;
    }
    if (it->second.machine) return readValue(it->second.machine, wide);
    return std::nullopt;
}

bool SettingsRegistry::setValue(Key handle, std::string_view name, const RegistryValue& value) {
    auto it = open_.find(handle);
    if (it == open_.end()) return false;
    OpenKey& key = it->second;
    return storeValue(key.machine, key.user, [&] { return openOrCreate(user_.root, key.userPath); }, widen(name), value);
}

bool SettingsRegistry::setValues(Key handle, const std::vector<NamedValue>& values) {
    auto it = open_.find(handle);
    if (it == open_.end()) return false;
    OpenKey& key = it->second;
    const Transactions& t = Transactions::get();
    const HANDLE transaction = t.available() ? t.create(nullptr, nullptr, 0, 0, 0, 0, nullptr) : INVALID_HANDLE_VALUE;
    if (transaction != INVALID_HANDLE_VALUE) {
        // The same keys again, within the transaction; closing it uncommitted undoes every write.
        HKEY machine = nullptr, user = nullptr;
        if (key.machine) t.openKey(machine_.root, key.machinePath.c_str(), 0, writeAccess, &machine, transaction, nullptr);
        if (key.user) t.openKey(user_.root, key.userPath.c_str(), 0, writeAccess, &user, transaction, nullptr);
        const auto makeUser = [&] {
            HKEY made = nullptr;
            t.createKey(user_.root, key.userPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, writeAccess, nullptr, &made,
                        nullptr, transaction, nullptr);
            return made;
        };
        bool stored = (machine || !key.machine) && (user || !key.user);
        for (const auto& [name, value] : values) stored = stored && storeValue(machine, user, makeUser, widen(name), value);
        if (machine) RegCloseKey(machine);
        if (user) RegCloseKey(user);
        stored = stored && t.commit(transaction);
        CloseHandle(transaction);
        if (stored) {
            // The user's copy may have been made within the transaction.
            if (!key.user) key.user = openExisting(user_.root, key.userPath, writeAccess);
            return true;
        }
    }
    bool stored = true;
    for (const auto& [name, value] : values) stored = setValue(handle, name, value) && stored;
    return stored;
}

void SettingsRegistry::closeKey(Key handle) {
    auto it = open_.find(handle);
    if (it == open_.end()) return;
    if (it->second.machine) RegCloseKey(it->second.machine);
    if (it->second.user) RegCloseKey(it->second.user);
    open_.erase(it);
}

}  // namespace horatta::shell
