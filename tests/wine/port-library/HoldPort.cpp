// Holds a port the way another program would: opened for reading and writing, shared with
// nobody, until a line arrives on standard input. Says "held" once it holds it.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: test-hold-port PORT\n", stderr);
        return 2;
    }
    const HANDLE handle = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "test-hold-port: error %lu\n", GetLastError());
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
    CloseHandle(handle);
    return 0;
}
