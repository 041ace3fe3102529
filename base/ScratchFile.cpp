#include "base/ScratchFile.h"

#include <atomic>
#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace orbisk {
namespace {

// Only what a signal handler may touch: a fixed buffer and a lock-free flag.
constexpr std::size_t kMaxPath = 4096;
char scratchName[kMaxPath];
std::atomic<int> scratchState{0};  // 0 none, 1 being noted, 2 noted
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RemoveScratchAndEnd(int signalNumber) {
#ifndef _WIN32
    if (scratchState.load() == 2) ::unlink(scratchName);
#endif
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

}  // namespace

void NoteScratchFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    if (name.size() >= kMaxPath) return;
    int none = 0;
    if (!scratchState.compare_exchange_strong(none, 1)) return;
    std::memcpy(scratchName, name.c_str(), name.size() + 1);
    scratchState.store(2);
}

void ForgetScratchFile() {
    scratchState.store(0);
}

void RemoveScratchFileOnInterrupt() {
    for (int signalNumber : {SIGINT, SIGTERM}) {
#ifdef _WIN32
        std::signal(signalNumber, RemoveScratchAndEnd);
#else
        // Left alone when the program was started to ignore it (nohup, a background job).
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RemoveScratchAndEnd;
        sigemptyset(&action.sa_mask);
        ::sigaction(signalNumber, &action, nullptr);
#endif
    }
}

}  // namespace orbisk
