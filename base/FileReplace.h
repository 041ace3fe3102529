#pragma once
// Writing a file's whole contents so that a failure at any point leaves the previous file as it
// was: the data files, the configuration file and the command line's documents are all written
// this way, by one rule for whatever the path names.
#include <chrono>
#include <filesystem>
#include <string_view>

namespace orbisk {

// Replaced: the bytes are there (a file replaced or created, or a device or pipe written to).
// NotCreated: nothing could be made or opened there. NotWritten: the bytes did not all go.
// NotAFile: the path names a folder or something else that no file can replace and nothing can
// be written to (a block device, a socket); it is left alone.
enum class ReplaceResult { Replaced, NotCreated, NotWritten, NotAFile };

// What the path names decides:
// - a file, or nothing: the bytes go into a new file of a fresh name beside it (never an
//   existing file or link of that name), which is renamed over it, keeping its permissions;
// - a link: it is followed (link after link), and the file it names is replaced or created in
//   that way; the link stays;
// - a character device or a pipe (a terminal, /dev/null, /dev/stdout, a FIFO): the bytes are
//   written to it as it is, never replaced by a file;
// - anything else is refused (NotAFile).
ReplaceResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Makes the read-change-replace of a file one step among every program that takes this lock on
// it (the desktop program, orbisk-cli, two users' sessions on one install), so that none of them
// replaces the file with a copy that misses another's change. The lock is advisory and held on
// a file beside the target (its name plus ".lock", links followed), which, unlike the target,
// is never replaced and never removed, so that every taker locks the same one. Another holder
// is waited for up to `patience`; when the lock cannot be had, Held() is false and the change
// must not be made.
class FileUpdateLock {
public:
    explicit FileUpdateLock(const std::filesystem::path& path,
                            std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    bool Held() const { return held_; }

private:
    bool held_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace orbisk
