#pragma once
// Writing a file's whole contents so that a failure at any point leaves the previous file as it
// was: the data files, the configuration file and the command line's documents are all written
// this way, by one rule for whatever the path names.
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

}  // namespace orbisk
