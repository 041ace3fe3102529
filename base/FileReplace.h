#pragma once
// Replacing a file's whole contents so that a failure at any point leaves the previous file as it
// was: the data files and the configuration file are both written this way.
#include <filesystem>
#include <string_view>

namespace orbisk {

enum class ReplaceResult { Replaced, NotCreated, NotWritten };

// Writes the bytes into a new file of a fresh name beside the target (never an existing file or
// link of that name) and renames it over the target, keeping the target's permissions. A link
// at the path is followed, so the file it points to is replaced, not the link.
ReplaceResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orbisk
