#include "tools/orbisk-cli/CommandLineReport.h"

namespace orbisk {

std::string ParseReportCommand(const std::vector<std::string>& args,
                               ReportCommandOptions& options) {
    options = ReportCommandOptions{};
    std::size_t i = 0;
    if (!args.empty() && args[0] == "report") i = 1;
    bool kindGiven = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--kind") {
            if (!value(v)) return "--kind needs a value";
            if (v.size() != 1 || v[0] < '1' || v[0] > '5') return "--kind must be 1 to 5";
            options.kind = v[0] - '0';
            kindGiven = true;
        } else if (a == "--cycles") {
            if (!value(v)) return "--cycles needs a value";
            options.cycles = v;
        } else if (a == "--previous") {
            if (!value(options.previous) || options.previous.empty()) {
                return "--previous needs a file";
            }
        } else if (a == "--specialist") {
            if (!value(options.specialist)) return "--specialist needs a family name";
        } else if (a == "-o" || a == "--output") {
            if (!value(options.output) || options.output.empty()) return "-o needs a file";
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option " + a;
        } else if (options.file.empty()) {
            options.file = a;
        } else {
            return "more than one data file: " + a;
        }
    }
    if (options.file.empty()) return "no data file";
    if (!kindGiven) return "--kind is required";
    return {};
}

}  // namespace orbisk
