#pragma once
// orbisk-cli archive: the archive of checks from the command line.
#include <string>
#include <vector>

#include "CliContext.h"

namespace orbisk::cli {

int RunArchiveCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
