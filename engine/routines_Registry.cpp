// The shared registry functions and the uninstall record's file lists; see routines_Registry.h.
#include "engine/routines_Registry.h"

#include "archive/BlockIO.h"
#include "engine/SetupLog.h"
#include "engine/cmp_TInstall.h"
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

std::string UninstallRecordKey() {
    TInstall* root = InstallRoot();
    return root ? kUninstallKeyPrefix + root->Information()->ProductName() : std::string();
}

void AddUninstallItem(const char* list, const std::string& value) {
    const std::string record = UninstallRecordKey();
    if (record.empty()) return;
    const std::string key = AddBackslash(record) + list;
    int entries = 0;
    if (!rt::TryStrToInt(ReadRegistryString(TRootKeys::hkLocalMachine, key, "Entries", "0"), entries) || entries < 0)
        throw EIRCannotWriteValue(key);
    // Listed once: installing again must not make the uninstaller do a thing twice.
    for (int i = 1; i <= entries; ++i)
        if (rt::SameText(ReadRegistryString(TRootKeys::hkLocalMachine, key, "Item" + rt::IntToStr(i), ""), value)) return;
    WriteRegistryString(TRootKeys::hkLocalMachine, key, "Item" + rt::IntToStr(entries + 1), value);
    WriteRegistryString(TRootKeys::hkLocalMachine, key, "Entries", rt::IntToStr(entries + 1));
}

std::vector<std::string> MissingRegistryKeys(TRootKeys root, const std::string& key) {
    const std::string path = "\\" + RemoveBackslash(key.size() && key[0] == '\\' ? key.substr(1) : key);
    os::IPlatform& platform = os::Current();
    std::vector<std::string> missing;
    for (std::size_t end = path.find('\\', 1);; end = path.find('\\', end + 1)) {
        const std::string level = path.substr(0, end);
        const auto handle = platform.RegOpenKey(RootKeyOf(static_cast<int>(root)), level.substr(1), false);
        if (handle) platform.RegCloseKey(handle);
        else missing.push_back(level);
        if (end == std::string::npos) break;
    }
    return missing;
}

void NoteCreatedRegistryKeys(TRootKeys root, const std::vector<std::string>& levels) {
    const std::string record = UninstallRecordKey();
    for (const std::string& level : levels)
        if (!record.empty() && !rt::SameText(level.substr(0, record.size()), record))
            AddUninstallItem(kUninstallCreatedKeys, rt::IntToStr(static_cast<int>(root)) + ";" + level);
}

bool ForceRecordedDirectories(const std::string& dir) {
    os::IPlatform& platform = os::Current();
    const std::string path = RemoveBackslash(dir);
    std::vector<std::string> missing;
    for (std::string level = path; level.size() > 3 && !platform.DirectoryExists(level); level = RemoveBackslash(rt::ExtractFilePath(level)))
        missing.insert(missing.begin(), level);
    const bool made = ForceDirectories(platform, path);
    for (const std::string& level : missing)
        if (platform.DirectoryExists(level)) AddUninstallItem(kUninstallFolders, level);
    return made;
}
