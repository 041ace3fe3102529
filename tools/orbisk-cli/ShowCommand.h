#pragma once
#include <string>
#include <vector>

#include "CliContext.h"

namespace orbisk::cli {

// Prints the usage error and returns kExitUsage.
int Usage(const std::string& problem);

int RunShowCommand(const std::vector<std::string>& args, CliContext& ctx);
int RunNameCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
