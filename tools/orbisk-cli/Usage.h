#pragma once
// How orbisk-cli is called, and the usage error every command ends with when it is called wrong.
#include <string>

namespace orbisk::cli {

extern const char kUsage[];

// Prints the problem and the usage on standard error; returns kExitUsage.
int Usage(const std::string& problem);

}  // namespace orbisk::cli
