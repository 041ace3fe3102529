#include "archive/Indexing.h"

#include <algorithm>

#include "image/DataFile.h"

namespace orbisk {

namespace fs = std::filesystem;

std::vector<fs::path> DataFilesUnder(const std::vector<fs::path>& paths) {
    std::vector<fs::path> files;
    for (const auto& path : paths) {
        std::error_code ec;
        if (!fs::is_directory(path, ec)) {
            files.push_back(path);
            continue;
        }
        std::vector<fs::path> found;
        for (fs::recursive_directory_iterator
                 it(path, fs::directory_options::skip_permission_denied, ec),
             end;
             !ec && it != end; it.increment(ec)) {
            if (HasDataFileExtension(it->path()) && !it->is_directory(ec)) {
                found.push_back(it->path());
            }
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

IndexCounts IndexFiles(CheckArchive& archive, const std::vector<fs::path>& files,
                       const Clock& clock) {
    IndexCounts counts;
    for (const auto& path : files) {
        const CheckFile file = ReadCheckFile(path, clock);
        if (file.status == CheckFileStatus::Unreadable) {
            counts.unreadable.push_back(path);
            ++counts.notData;
            continue;
        }
        if (file.status == CheckFileStatus::NotDataFile) {
            ++counts.notData;
            continue;
        }
        switch (archive.Add(file.check)) {
            case AddOutcome::Added:
                ++counts.added;
                break;
            case AddOutcome::AlreadyPresent:
                ++counts.present;
                break;
            case AddOutcome::Refused:
                ++counts.notData;
                break;
            case AddOutcome::Failed:
                counts.failed = true;
                return counts;
        }
    }
    return counts;
}

}  // namespace orbisk
