// The shared registry functions and the uninstall record's file lists; see routines_Registry.h.
#include "engine/routines_Registry.h"

#include "engine/SetupLog.h"
#include "engine/routines_ExpandPaths.h"
#include "runtime/Registry.h"

RT_DEFINE_ENUM(TRootKeys, "hkClassesRoot", "hkCurrentConfig", "hkCurrentUser", "hkDynData", "hkLocalMachine", "hkUsers")

os::RootKey RootKeyOf(int storedRoot) {
    switch (static_cast<TRootKeys>(storedRoot & 0x7F)) {
    case TRootKeys::hkClassesRoot: return os::RootKey::ClassesRoot;
    case TRootKeys::hkCurrentConfig: return os::RootKey::CurrentConfig;
    case TRootKeys::hkCurrentUser: return os::RootKey::CurrentUser;
    case TRootKeys::hkDynData: return os::RootKey::DynData;
    case TRootKeys::hkLocalMachine: return os::RootKey::LocalMachine;
    case TRootKeys::hkUsers: return os::RootKey::Users;
    }
    return os::RootKey::CurrentUser;
}

namespace {

os::RootKey RootOf(TRootKeys root) { return RootKeyOf(static_cast<int>(root)); }

// Opens (creating) the key and runs the write; any failure is reported with the key alone.
template <class Write>
void WriteRegistryValue(TRootKeys root, const std::string& key, Write write) {
    rt::TRegistry reg(RootOf(root));
    try {
        if (!reg.OpenKey(key, true)) throw EIRCannotWriteValue(key);
        write(reg);
    } catch (const rt::ERegistryException&) {
        throw EIRCannotWriteValue(key);
    }
}

}  // namespace

std::string ReadRegistryString(TRootKeys root, const std::string& key, const std::string& name, const std::string& defaultValue) {
    try {
        rt::TRegistry reg(RootOf(root));
        if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return defaultValue;
        return reg.ReadString(name);
    } catch (const rt::Exception&) {
        return defaultValue;
    }
}

void WriteRegistryString(TRootKeys root, const std::string& key, const std::string& name, const std::string& value) {
    WriteRegistryValue(root, key, [&](rt::TRegistry& reg) { reg.WriteString(name, value); });
}

void WriteRegistryInteger(TRootKeys root, const std::string& key, const std::string& name, std::int32_t value) {
    WriteRegistryValue(root, key, [&](rt::TRegistry& reg) { reg.WriteInteger(name, value); });
}

bool IncrementRegistryCount(const std::string& key, const std::string& name) {
    rt::TRegistry reg(os::RootKey::LocalMachine);
    if (!reg.OpenKey(key, true)) throw EIRCannotWriteValue(key);
    std::int32_t count = 0;
    try {
        if (reg.ValueExists(name) && reg.GetDataType(name) == os::ValueType::DWord) count = reg.ReadInteger(name);
    } catch (const rt::ERegistryException&) {
        count = 0;
    }
    try {
        reg.WriteInteger(name, count + 1);
    } catch (const rt::ERegistryException&) {
        return false;
    }
    LogLine("Shared library count of " + name + ": " + rt::IntToStr(count + 1));
    return true;
}

void AddUninstallFileEntry(const std::string& uninstallKey, const std::string& path) {
    const std::string base = AddBackslash(uninstallKey) + "Files";
    std::string list;
    for (int k = 0; k < kUninstallFileLists; ++k) {
        list = k > 0 ? base + rt::IntToStr(k) : base;
        {
            // A key that cannot even be made means no list can be written; asking the next
            // ones would only repeat the refusal.
            rt::TRegistry reg(os::RootKey::LocalMachine);
            if (!reg.OpenKey(list, true)) throw EIRCannotWriteValue(list);
        }
        int entries = 0;
        if (!rt::TryStrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, list, "Entries", "0"), entries)) continue;
        const int n = entries + 1;
        try {
            WriteRegistryString(TRootKeys::hkLocalMachine, list, "File" + rt::IntToStr(n), path);
        } catch (const EIRCannotWriteValue&) {
            continue;
        }
        WriteRegistryString(TRootKeys::hkLocalMachine, list, "Entries", rt::IntToStr(n));
        return;
    }
    throw EIRCannotWriteValue(list);
}
