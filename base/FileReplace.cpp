#include "base/FileReplace.h"

#include "base/ScratchFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace orbisk {
namespace fs = std::filesystem;
namespace {

// As many links in a row as the system itself follows before it gives up.
constexpr int kMaxLinksFollowed = 40;

// The name the path ends at once every link is followed; a link that points nowhere gives the
// name it points at, where writing through the link would create the file.
fs::path FinalName(const fs::path& path) {
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinksFollowed; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
        const fs::path next = fs::read_symlink(current, error);
        if (error) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool WritesInPlace(fs::file_type type) {
    return type == fs::file_type::character || type == fs::file_type::fifo;
}

// A device or a pipe takes the bytes as they come; it has no contents to keep, and a file put
// in its place would break it for every other program.
ReplaceResult WriteInPlace(const fs::path& path, std::string_view bytes) {
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return ReplaceResult::NotCreated;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    return written ? ReplaceResult::Replaced : ReplaceResult::NotWritten;
#else
    // Neither created nor truncated: only what is there already is opened.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return ReplaceResult::NotCreated;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !(S_ISCHR(opened.st_mode) || S_ISFIFO(opened.st_mode))) {
        // Something else took its place meanwhile: not written over in place.
        ::close(fd);
        return ReplaceResult::NotCreated;
    }
    std::size_t done = 0;
    bool written = true;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            written = false;
            break;
        }
    }
    written = ::close(fd) == 0 && written;
    return written ? ReplaceResult::Replaced : ReplaceResult::NotWritten;
#endif
}

ReplaceResult ReplaceThroughScratchFile(const fs::path& target, std::string_view bytes) {
    std::random_device device;
    std::mt19937_64 random(device() ^ (static_cast<std::uint64_t>(device()) << 32));

    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        fs::path temporary = target;
        temporary += suffix;

        // Created exclusively: a file or link already of that name is never written through.
        NoteScratchFile(temporary);
#ifdef _WIN32
        // The C library of Windows knows no "x" mode: the exclusive creation is the system's.
        std::FILE* file = nullptr;
        const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
            file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
            if (file == nullptr) {
                if (fd >= 0) {
                    _close(fd);
                } else {
                    ::CloseHandle(handle);
                }
                std::error_code ignored;
                fs::remove(temporary, ignored);
                ForgetScratchFile();
                return ReplaceResult::NotCreated;
            }
        }
#else
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
#endif
        if (file == nullptr) {
            ForgetScratchFile();
            std::error_code error;
            if (fs::exists(fs::symlink_status(temporary, error))) continue;  // a name clash
            return ReplaceResult::NotCreated;
        }
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        written = std::fflush(file) == 0 && written;
        written = std::fclose(file) == 0 && written;

        std::error_code error;
        if (!written) {
            fs::remove(temporary, error);
            ForgetScratchFile();
            return ReplaceResult::NotWritten;
        }
        const auto status = fs::status(target, error);
        if (!error && fs::exists(status)) {
            fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
        }
        error.clear();
#ifdef _WIN32
        // The file of that name is replaced in one step, or stays as it was.
        if (::MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ForgetScratchFile();
            return ReplaceResult::Replaced;
        }
#else
        fs::rename(temporary, target, error);
        if (!error) {
            ForgetScratchFile();
            return ReplaceResult::Replaced;
        }
#endif
        fs::remove(temporary, error);
        ForgetScratchFile();
        return ReplaceResult::NotCreated;
    }
    return ReplaceResult::NotCreated;
}

}  // namespace

ReplaceResult ReplaceFileContents(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    // Links followed, as the system follows them (also those it resolves by itself, such as
    // /dev/stdout to the pipe or terminal behind it).
    const fs::file_status status = fs::status(path, error);
    const fs::file_type type = status.type();
    if (WritesInPlace(type)) return WriteInPlace(path, bytes);
    if (type == fs::file_type::not_found) return ReplaceThroughScratchFile(FinalName(path), bytes);
    if (error) return ReplaceResult::NotCreated;
    if (type != fs::file_type::regular) return ReplaceResult::NotAFile;

    const fs::path target = FinalName(path);
    // A name the system resolves in its own way (a descriptor's link to a file since removed)
    // does not lead to the file it opens: that file cannot be replaced under its name.
    if (!fs::equivalent(path, target, error) || error) return ReplaceResult::NotCreated;
    return ReplaceThroughScratchFile(target, bytes);
}

namespace {

fs::path LockFileName(const fs::path& path) {
    fs::path name = FinalName(path);
    name += ".lock";
    return name;
}

// Tries until the patience runs out, at first often, then every 20 ms; a holder keeps the lock
// only for one read and one replace of a small file.
template <typename TryLock>
bool LockWithin(std::chrono::milliseconds patience, TryLock tryLock) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (tryLock()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

}  // namespace

#ifdef _WIN32

FileUpdateLock::FileUpdateLock(const fs::path& path, std::chrono::milliseconds patience) {
    HANDLE handle = ::CreateFileW(LockFileName(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    handle_ = handle;
    held_ = LockWithin(patience, [handle] {
        OVERLAPPED whole{};
        return ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                            &whole) != 0;
    });
}

FileUpdateLock::~FileUpdateLock() {
    if (handle_ == nullptr) return;
    if (held_) {
        OVERLAPPED whole{};
        ::UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &whole);
    }
    ::CloseHandle(static_cast<HANDLE>(handle_));
}

#else

FileUpdateLock::FileUpdateLock(const fs::path& path, std::chrono::milliseconds patience) {
    const fs::path name = LockFileName(path);
    // Never through a link: the lock file holds nothing, but must not be made somewhere else.
    // Another user's lock file may be read-only to us; a lock needs no more than reading.
    fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) return;
    const int fd = fd_;
    // flock, not fcntl: its lock belongs to this opening of the file, so that two writers in
    // one process exclude each other too, and closing another descriptor of the file does not
    // drop it.
    held_ = LockWithin(patience, [fd] {
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    });
}

FileUpdateLock::~FileUpdateLock() {
    if (fd_ < 0) return;
    if (held_) ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

#endif

}  // namespace orbisk
