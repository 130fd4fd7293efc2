// One of the product's programs. Started with /s it ends at once (for tests); otherwise it
// says what it is. The add-on agent also keeps a window of its class, so that setup can
// find a running agent and send it message 1190. The updater, which setup starts as the
// copying ends, finds no newer version here and ends without a word, as it would online.
#include <windows.h>

#include <cstring>

static LRESULT CALLBACK AgentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 766) {  // 1190: setup installed a new version; the agent reloads
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous;
    (void)show;
    if (commandLine && std::strstr(commandLine, "/s")) return 0;
#ifdef BREV_UPDATER
    (void)instance;
    (void)AgentProc;
    return 0;
#endif
#ifdef BREV_AGENT
    WNDCLASSW wc{};
    wc.lpfnWndProc = AgentProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TStartKalOfficeAddOn";
    RegisterClassW(&wc);
    CreateWindowW(L"TStartKalOfficeAddOn", L"Brevanshaw Add-On Agent", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
#else
    (void)instance;
    (void)AgentProc;
#endif
    MessageBoxA(nullptr, BREV_DESCRIPTION " 1.0", "Brevanshaw", MB_OK | MB_ICONINFORMATION);
    return 0;
}
