// Libraries that are not KnownDLLs, loaded from the system folder only; see SystemLibraries.h.
#include "platform/win32/SystemLibraries.h"

namespace os::win32 {

namespace {

// The search flags came with Windows 8 and an update of Windows 7; the headers of the
// oldest target leave them out.
constexpr DWORD kSearchDllLoadDir = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchSystem32 = 0x00000800;    // LOAD_LIBRARY_SEARCH_SYSTEM32

FARPROC Kernel32Function(const char* name) { return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name); }

// Microsoft's own test for the search flags: the update that brought them brought AddDllDirectory.
bool SearchFlagsSupported() {
    static const bool supported = Kernel32Function("AddDllDirectory") != nullptr;
    return supported;
}

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& pointer) {
    pointer = library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

}  // namespace

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    if (const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
            reinterpret_cast<void*>(Kernel32Function("SetDefaultDllDirectories")));
        setDefault && setDefault(kSearchSystem32))
        return;
    // Without it the program's own folder stays in the search, but the current folder (a
    // share, a folder the user was in) at least leaves it.
    if (const auto setDirectory =
            reinterpret_cast<SetDllDirectoryFunction>(reinterpret_cast<void*>(Kernel32Function("SetDllDirectoryW"))))
        setDirectory(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // By name, so that the activation context of a manifest that asks for particular common
    // controls still chooses the side-by-side comctl32.
    if (SearchFlagsSupported()) return ::LoadLibraryExW(name, nullptr, kSearchSystem32);
    // Older systems would search the program's folder first for a bare name: give them the
    // whole path. The library's own imports are KnownDLLs or come from its folder.
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryAt(const std::wstring& path) {
    // Not the default directories: those include the program's folder, the downloads folder.
    if (SearchFlagsSupported()) {
        if (HMODULE library = ::LoadLibraryExW(path.c_str(), nullptr, kSearchDllLoadDir | kSearchSystem32)) return library;
        // The library's own folder needs a full path; a relative one is searched as before.
        if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    }
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

const VersionLibrary& Version() {
    static const VersionLibrary library = [] {
        VersionLibrary v;
        const HMODULE module = LoadSystemLibrary(L"version.dll");
        Resolve(module, "GetFileVersionInfoSizeW", v.GetFileVersionInfoSizeW);
        Resolve(module, "GetFileVersionInfoW", v.GetFileVersionInfoW);
        Resolve(module, "VerFindFileA", v.VerFindFileA);
        Resolve(module, "VerInstallFileA", v.VerInstallFileA);
        return v;
    }();
    return library;
}

const CommonControlsLibrary& CommonControls() {
    static const CommonControlsLibrary library = [] {
        CommonControlsLibrary c;
        const HMODULE module = LoadSystemLibrary(L"comctl32.dll");
        Resolve(module, "InitCommonControlsEx", c.InitCommonControlsEx);
        Resolve(module, "ImageList_Create", c.ImageList_Create);
        Resolve(module, "ImageList_AddMasked", c.ImageList_AddMasked);
        Resolve(module, "ImageList_Destroy", c.ImageList_Destroy);
        return c;
    }();
    return library;
}

const ImagingLibrary& Imaging() {
    static const ImagingLibrary library = [] {
        ImagingLibrary i;
        Resolve(LoadSystemLibrary(L"msimg32.dll"), "TransparentBlt", i.TransparentBlt);
        return i;
    }();
    return library;
}

}  // namespace os::win32
