#pragma once
// The scratch file of a file replacement under way, and its removal when an interrupt (Ctrl+C)
// or a request to terminate ends the program before the scratch file is renamed or removed: the
// target itself is always whole, but the scratch file would be left beside it.
#include <filesystem>

namespace orbisk {

// Notes the scratch file about to be created; one at a time (a second is not noted while the
// first is).
void NoteScratchFile(const std::filesystem::path& path);
// The noted scratch file is renamed or removed.
void ForgetScratchFile();

// From now on SIGINT and SIGTERM remove the noted scratch file, then end the program as they
// would have without this (the exit status still says which signal ended it).
void RemoveScratchFileOnInterrupt();

}  // namespace orbisk
