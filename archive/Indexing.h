#pragma once
// Indexing data files into the archive: files as named, folders walked through for their data
// files.
#include <filesystem>
#include <vector>

#include "archive/Archive.h"
#include "base/Clock.h"

namespace orbisk {

// The paths named, each folder replaced by the data files under it, in a fixed order.
std::vector<std::filesystem::path> DataFilesUnder(const std::vector<std::filesystem::path>& paths);

struct IndexCounts {
    long long added = 0;
    long long present = 0;
    long long notData = 0;  // other files, short files, period images
    std::vector<std::filesystem::path> unreadable;
    bool failed = false;  // the archive failed: its LastError tells why; indexing stopped there
};

IndexCounts IndexFiles(CheckArchive& archive, const std::vector<std::filesystem::path>& files,
                       const Clock& clock);

}  // namespace orbisk
