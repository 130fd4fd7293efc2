// The one place where setup.exe, the loader and Uninstall.exe reach system libraries that are
// not KnownDLLs. An installer starts from a downloads folder where anyone may have left a
// VERSION.dll; a library the program imports is looked for there before any of its code
// runs, so the programs import only KnownDLLs and load the others here, from the system
// folder alone, calling them through typed pointers. tests/win32/StaticImportsTest.cpp holds
// the import tables to that.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace os::win32 {

// The first call of every entry point: libraries loaded by name from now on come from the
// system folder, and the current folder is out of the search. Safe to call again.
void RestrictDllSearch();

// A system library by file name ("version.dll"), from the system folder only; null when it
// is not there. The tables below load theirs once and keep them for the life of the process.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A library by full path (a file being installed or removed): the libraries it imports come
// from its own folder and the system folder, as they would from a program beside it.
HMODULE LoadLibraryAt(const std::wstring& path);

// Each pointer is null when its library or function is missing; callers treat that as the
// call failing with ERROR_PROC_NOT_FOUND.
struct VersionLibrary {
    decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
    decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
    decltype(&::VerFindFileA) VerFindFileA = nullptr;
    decltype(&::VerInstallFileA) VerInstallFileA = nullptr;
};

// Named by file, not by a fixed path: an activation context that asks for other common
// controls still chooses which comctl32 this is.
struct CommonControlsLibrary {
    decltype(&::InitCommonControlsEx) InitCommonControlsEx = nullptr;
    decltype(&::ImageList_Create) ImageList_Create = nullptr;
    decltype(&::ImageList_AddMasked) ImageList_AddMasked = nullptr;
    decltype(&::ImageList_Destroy) ImageList_Destroy = nullptr;
};

struct ImagingLibrary {
    decltype(&::TransparentBlt) TransparentBlt = nullptr;
};

const VersionLibrary& Version();
const CommonControlsLibrary& CommonControls();
const ImagingLibrary& Imaging();

}  // namespace os::win32
