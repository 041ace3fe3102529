#pragma once
#include <string>
#include <vector>

#include "CliContext.h"
#include "Usage.h"

namespace orbisk::cli {

int RunShowCommand(const std::vector<std::string>& args, CliContext& ctx);
int RunNameCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
