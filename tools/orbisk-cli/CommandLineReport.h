#pragma once
// The report command of the command line: its options, the cycle-count question answered from
// them, and the page composed exactly as the desktop program writes it.
#include <optional>
#include <string>
#include <vector>

#include "reports/BuildReport.h"

namespace orbisk {

struct ReportCommandOptions {
    std::string file;
    int kind = 0;
    std::optional<std::string> cycles;  // the answer to the question; the default answer if none
    std::string previous;
    std::string specialist;  // family name in the register
    std::string output;      // empty or "-": standard output
};

// The command's own arguments (after the word "report"). Returns the reason of a usage error,
// or the empty text.
std::string ParseReportCommand(const std::vector<std::string>& args, ReportCommandOptions& options);

inline constexpr char kReportUsage[] =
    "usage: orbisk-cli report FILE --kind 1..5 [--cycles N] [--previous PREV] "
    "[--specialist FAMILY] [-o OUT]";

// Answers the question with a fixed text, or with the proposed default when there is none, and
// remembers what was asked.
class AnsweredQuestion final : public ReportQuestions {
public:
    explicit AnsweredQuestion(std::optional<std::string> answer) : answer_(std::move(answer)) {}
    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& defaultAnswer) override {
        asked_ = CycleQuestion{caption, prompt, defaultAnswer};
        return answer_ ? *answer_ : defaultAnswer;
    }
    const std::optional<CycleQuestion>& Asked() const { return asked_; }

private:
    std::optional<std::string> answer_;
    std::optional<CycleQuestion> asked_;
};

}  // namespace orbisk
