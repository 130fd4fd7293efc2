// Holds a file open the way a running program holds its library: others may read it, none
// may write, rename or delete it. Writes MARKER once the file is held and lets go when
// RELEASE appears (or after ten minutes), so a test can install over a file in use.
//   hold_file.exe FILE MARKER RELEASE
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hold_file FILE MARKER RELEASE\n");
        return 2;
    }
    HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: cannot open the file (error %lu)\n", GetLastError());
        return 1;
    }
    HANDLE marker = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    for (int waited = 0; waited < 6000 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; ++waited) Sleep(100);
    CloseHandle(held);
    return 0;
}
