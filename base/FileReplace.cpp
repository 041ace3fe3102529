#include "base/FileReplace.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

namespace orbisk {
namespace fs = std::filesystem;
namespace {

fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        const fs::path resolved = fs::canonical(path, error);
        if (!error) return resolved;
    }
    return path;
}

}  // namespace

ReplaceResult ReplaceFileContents(const fs::path& path, std::string_view bytes) {
    const fs::path target = WriteTarget(path);
    std::random_device device;
    std::mt19937_64 random(device() ^ (static_cast<std::uint64_t>(device()) << 32));

    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        fs::path temporary = target;
        temporary += suffix;

        // Created exclusively: a file or link already of that name is never written through.
#ifdef _WIN32
        std::FILE* file = _wfopen(temporary.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
#endif
        if (file == nullptr) {
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
            return ReplaceResult::NotWritten;
        }
        const auto status = fs::status(target, error);
        if (!error && fs::exists(status)) {
            fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
        }
        error.clear();
        fs::rename(temporary, target, error);
        if (!error) return ReplaceResult::Replaced;
        fs::remove(temporary, error);
        return ReplaceResult::NotCreated;
    }
    return ReplaceResult::NotCreated;
}

}  // namespace orbisk
