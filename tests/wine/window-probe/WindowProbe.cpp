// The desktop test's eyes on the Windows side: finds the visible top-level windows with a given
// title, as the user sees them in the task bar, and closes them the way the title bar's close
// button does.
//   test-window-probe wait TITLE SECONDS   exit 0 once such a window is shown (prints after how
//                                          many milliseconds), 1 when none is within the time
//   test-window-probe count TITLE          prints how many there are
//   test-window-probe close TITLE SECONDS  asks each to close (WM_CLOSE); exit 0 once none is
//                                          left, 1 when one still is after the time
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    wchar_t text[512];
    const int n = GetWindowTextW(window, text, 512);
    if (n > 0 && std::wcscmp(text, search->title) == 0) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Windows(const wchar_t* title) {
    Search search{title, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls every 100 ms until the condition holds or the seconds have passed.
template <typename Condition>
bool Within(double seconds, Condition holds, DWORD* elapsed) {
    const DWORD start = GetTickCount();
    for (;;) {
        *elapsed = GetTickCount() - start;
        if (holds()) return true;
        if (*elapsed > seconds * 1000) return false;
        Sleep(100);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: test-window-probe wait|count|close TITLE [SECONDS]\n");
        return 2;
    }
    const std::wstring command = argv[1];
    const wchar_t* title = argv[2];
    const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 10;
    DWORD elapsed = 0;
    if (command == L"count") {
        std::printf("%u\n", static_cast<unsigned>(Windows(title).size()));
        return 0;
    }
    if (command == L"wait") {
        const bool shown = Within(
            seconds, [&] { return !Windows(title).empty(); }, &elapsed);
        std::printf("%s after %lu ms\n", shown ? "shown" : "not shown", elapsed);
        return shown ? 0 : 1;
    }
    if (command == L"close") {
        for (HWND window : Windows(title)) PostMessageW(window, WM_CLOSE, 0, 0);
        const bool closed = Within(
            seconds, [&] { return Windows(title).empty(); }, &elapsed);
        std::printf("%s after %lu ms\n", closed ? "closed" : "still open", elapsed);
        return closed ? 0 : 1;
    }
    std::fprintf(stderr, "test-window-probe: unknown command\n");
    return 2;
}
