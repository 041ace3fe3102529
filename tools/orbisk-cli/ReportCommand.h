#pragma once
// orbisk-cli report FILE --kind 1..5 [--cycles N] [--previous PREV] [--specialist FAMILY] [-o OUT]
//
// Opens FILE as the desktop program does (compared with PREV when given), answers the cycle-count
// question with N (the proposed default when N is not given), takes the specialist from the
// register in the configuration file, and writes the page, byte for byte as the desktop program
// writes its report file, to OUT or to standard output.
#include <string>
#include <vector>

#include "tools/orbisk-cli/CliContext.h"

namespace orbisk::cli {

int RunReportCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
