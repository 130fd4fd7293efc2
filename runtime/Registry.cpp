// The registry wrapper; see Registry.h.
#include "runtime/Registry.h"

namespace rt {

TRegistry::TRegistry(os::RootKey root) : FRoot(root) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(os::RootKey root) {
    if (root == FRoot) return;
    CloseKey();
    FRoot = root;
}

std::string TRegistry::Resolve(const std::string& key) const {
    std::string path = key;
    const bool absolute = !path.empty() && path.front() == '\\';
    while (!path.empty() && path.front() == '\\') path.erase(path.begin());
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (absolute || FPath.empty()) return path;
    return path.empty() ? FPath : FPath + "\\" + path;
}

void TRegistry::SetCurrent(os::IPlatform::KeyHandle key, std::string path) {
    CloseKey();
    FKey = key;
    FPath = std::move(path);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    os::IPlatform& p = os::Current();
    const std::string path = Resolve(key);
    os::IPlatform::KeyHandle k = canCreate ? p.RegCreateKey(FRoot, path) : p.RegOpenKey(FRoot, path, true);
    if (!k) {
        FLastError = p.LastError();
        return false;
    }
    SetCurrent(k, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    os::IPlatform& p = os::Current();
    const std::string path = Resolve(key);
    os::IPlatform::KeyHandle k = p.RegOpenKey(FRoot, path, false);
    if (!k) {
        FLastError = p.LastError();
        return false;
    }
    SetCurrent(k, path);
    return true;
}

void TRegistry::CloseKey() {
    if (FKey) os::Current().RegCloseKey(FKey);
    FKey = 0;
    FPath.clear();
}

bool TRegistry::KeyExists(const std::string& key) {
    os::IPlatform& p = os::Current();
    os::IPlatform::KeyHandle k = p.RegOpenKey(FRoot, Resolve(key), false);
    if (!k) return false;
    p.RegCloseKey(k);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    os::IPlatform& p = os::Current();
    const std::string path = Resolve(key);
    if (path.empty()) return false;
    if (!p.RegDeleteTree(FRoot, path)) {
        FLastError = p.LastError();
        return false;
    }
    return true;
}

bool TRegistry::ValueExists(const std::string& name) { return GetDataType(name) != os::ValueType::None; }

os::ValueType TRegistry::GetDataType(const std::string& name) {
    os::RegValue v;
    if (!FKey || !os::Current().RegQueryValue(FKey, name, v)) return os::ValueType::None;
    return v.Type;
}

std::string TRegistry::ReadString(const std::string& name) {
    os::RegValue v;
    if (!FKey || !os::Current().RegQueryValue(FKey, name, v)) {
        FLastError = FKey ? os::Current().LastError() : os::kErrorInvalidHandle;
        throw ERegistryException("Invalid data type for '" + name + "'");
    }
    if (v.Type != os::ValueType::String && v.Type != os::ValueType::ExpandString)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return v.Text;
}

std::int32_t TRegistry::ReadInteger(const std::string& name) {
    os::RegValue v;
    if (!FKey || !os::Current().RegQueryValue(FKey, name, v) || v.Type != os::ValueType::DWord)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return static_cast<std::int32_t>(v.DWord);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    os::RegValue v;
    v.Type = os::ValueType::String;
    v.Text = value;
    if (!FKey || !os::Current().RegSetValue(FKey, name, v)) {
        FLastError = FKey ? os::Current().LastError() : os::kErrorInvalidHandle;
        throw ERegistryException("Failed to set data for '" + name + "'");
    }
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
    os::RegValue v;
    v.Type = os::ValueType::DWord;
    v.DWord = static_cast<std::uint32_t>(value);
    if (!FKey || !os::Current().RegSetValue(FKey, name, v)) {
        FLastError = FKey ? os::Current().LastError() : os::kErrorInvalidHandle;
        throw ERegistryException("Failed to set data for '" + name + "'");
    }
}

bool TRegistry::DeleteValue(const std::string& name) {
    if (!FKey) return false;
    if (!os::Current().RegDeleteValue(FKey, name)) {
        FLastError = os::Current().LastError();
        return false;
    }
    return true;
}

std::vector<std::string> TRegistry::GetKeyNames() {
    std::vector<std::string> names;
    if (FKey) os::Current().RegEnumKeys(FKey, names);
    return names;
}

std::vector<std::string> TRegistry::GetValueNames() {
    std::vector<std::string> names;
    if (FKey) os::Current().RegEnumValues(FKey, names);
    return names;
}

}  // namespace rt
