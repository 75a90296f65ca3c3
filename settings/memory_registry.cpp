#include "settings/memory_registry.h"

#include "settings/name_fold.h"

namespace horatta {

namespace {
std::string keyId(std::uint32_t root, const std::string& foldedPath) {
    return std::to_string(root) + "\\" + foldedPath;
}
}  // namespace

bool MemoryRegistry::keyExists(std::uint32_t root, std::string_view path) const {
    return keys_.count(keyId(root, foldName(path))) != 0;
}

Registry::Key MemoryRegistry::openKey(std::uint32_t root, std::string_view path) {
    std::string id = keyId(root, foldName(path));
    if (!keys_.count(id)) return 0;
    Key handle = nextHandle_++;
    handles_[handle] = id;
    return handle;
}

Registry::Key MemoryRegistry::createKey(std::uint32_t root, std::string_view path) {
    std::string folded = foldName(path);
    if (!keys_.count(keyId(root, folded))) {
        if (readOnly_) return 0;
        for (std::size_t pos = 0; (pos = folded.find('\\', pos)) != std::string::npos; ++pos)
            keys_.try_emplace(keyId(root, folded.substr(0, pos)));
        keys_.try_emplace(keyId(root, folded));
    }
    Key handle = nextHandle_++;
    handles_[handle] = keyId(root, folded);
    return handle;
}

std::optional<RegistryValue> MemoryRegistry::queryValue(Key key, std::string_view name) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return std::nullopt;
    const auto& values = keys_[h->second].values;
    auto v = values.find(foldName(name));
    if (v == values.end()) return std::nullopt;
    return v->second;
}

bool MemoryRegistry::setValue(Key key, std::string_view name, const RegistryValue& value) {
    auto h = handles_.find(key);
    if (h == handles_.end() || readOnly_) return false;
    keys_[h->second].values[foldName(name)] = value;
    return true;
}

bool MemoryRegistry::setValues(Key key, const std::vector<NamedValue>& values) {
    auto h = handles_.find(key);
    if (h == handles_.end() || readOnly_) return false;
    for (const auto& [name, value] : values) keys_[h->second].values[foldName(name)] = value;
    return true;
}

void MemoryRegistry::closeKey(Key key) { handles_.erase(key); }

}  // namespace horatta
