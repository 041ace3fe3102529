#pragma once
// Puts an AdapterEmulator on a pseudo-terminal: the program under test opens DevicePath() like
// any serial device. Serves on a thread of its own (tests) or in the caller's thread
// (orbisk-sim). Not part of the program's own work: it exists for tests, demonstrations and
// benchmarks.
#ifndef _WIN32
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "link/sim/AdapterEmulator.h"

namespace orbisk {

class PtyAdapterServer {
public:
    explicit PtyAdapterServer(AdapterEmulator& emulator);
    ~PtyAdapterServer();
    PtyAdapterServer(const PtyAdapterServer&) = delete;
    PtyAdapterServer& operator=(const PtyAdapterServer&) = delete;

    // Creates the pseudo-terminal; false with errno's text in Error() on failure.
    bool Open();
    const std::string& DevicePath() const { return devicePath_; }
    const std::string& Error() const { return error_; }

    // Replies go out at this many bytes per second (0: as fast as the terminal takes them).
    void SetBytesPerSecond(int bytesPerSecond) { bytesPerSecond_ = bytesPerSecond; }

    // Serves until Stop() (from another thread) or until `stop` returns true, checked about
    // every 20 ms.
    void Serve(const std::function<bool()>& stop = {});
    void Start();  // Serve() on a thread of its own
    void Stop();

    // Runs `action` on the emulator while no command is being answered.
    void WithEmulator(const std::function<void(AdapterEmulator&)>& action);

private:
    bool WriteAll(const std::string& bytes);

    AdapterEmulator& emulator_;
    std::mutex mutex_;
    int master_ = -1;
    int slaveHold_ = -1;  // keeps the terminal from hanging up between users
    std::string devicePath_;
    std::string error_;
    int bytesPerSecond_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace orbisk
#endif
