// The registry wrapper: one open key at a time on a chosen root, typed reads and writes,
// key creation with parents and deletion with sub-keys. The key closes itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "runtime/SysUtils.h"

namespace rt {

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    explicit TRegistry(os::RootKey root = os::RootKey::CurrentUser);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    os::RootKey RootKey() const { return FRoot; }
    void SetRootKey(os::RootKey root);
    // The open key's path below the root, without a leading backslash; empty when none.
    const std::string& CurrentPath() const { return FPath; }
    bool HasCurrentKey() const { return FKey != 0; }

    // A path with a leading backslash starts at the root; without one it is relative to
    // the open key. canCreate creates the key and missing parents.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool DeleteKey(const std::string& key);  // with everything below it

    bool ValueExists(const std::string& name);
    os::ValueType GetDataType(const std::string& name);
    // Raise ERegistryException when the value is missing or of another type.
    std::string ReadString(const std::string& name);
    std::int32_t ReadInteger(const std::string& name);
    // Raise ERegistryException when the write fails.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);
    bool DeleteValue(const std::string& name);
    std::vector<std::string> GetKeyNames();
    std::vector<std::string> GetValueNames();

    // The platform's error code of the last failed call.
    std::uint32_t LastError() const { return FLastError; }

private:
    std::string Resolve(const std::string& key) const;
    void SetCurrent(os::IPlatform::KeyHandle key, std::string path);

    os::RootKey FRoot;
    os::IPlatform::KeyHandle FKey = 0;
    std::string FPath;
    std::uint32_t FLastError = 0;
};

}  // namespace rt
