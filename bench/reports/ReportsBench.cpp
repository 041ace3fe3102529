// Building each of the five documents from the sample image with all 1,728 cycles listed and
// requested: the generator and the page bytes, as the report command produces them.
// Usage: orbisk_reports_bench [DATA_FILE] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Prompter.h"
#include "image/Session.h"
#include "reports/BuildReport.h"
#include "reports/ReportTexts.h"

namespace {

class QuietPrompter final : public orbisk::Prompter {
public:
    void Message(const std::string& text, orbisk::MessageIcon, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool Ask(const std::string&, orbisk::QuestionButtons, orbisk::MessageIcon,
             const std::string&) override {
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace orbisk;
    using Ms = std::chrono::duration<double, std::milli>;
    const std::string file =
        argc > 1 ? argv[1] : std::string(ORBISK_SOURCE_DIR) + "/samples/current.bbd";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

    QuietPrompter prompter;
    FixedClock clock(EncodeDateTime(2025, 3, 18, 12, 0));
    Session session(prompter, clock);
    session.Model().choices.rgLast = static_cast<int>(CycleFilter::All);
    if (session.OpenDataFile(file) != OpenResult::Opened) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        return 1;
    }
    const DisplayModel& model = session.Model();
    const int n = static_cast<int>(model.cycles.size());
    std::printf("%s: %d cycles listed, %d rounds per document\n", file.c_str(), n, rounds);

    FixedSpecialist specialist(Specialist{"Иванов", "Иван", "Иванович", "ООО \"Кран\"", "123",
                                          "01.02.2024 Москва", "01.02.2029"});
    const ReportSources sources{model, specialist, prompter,
                                std::string(report::kApplicationTitle)};
    for (int kind = 1; kind <= 5; ++kind) {
        const ReportKindInfo& info = *FindReportKind(kind);
        const std::string title = ReportTitle(info, model);
        std::vector<double> times;
        std::size_t bytes = 0;
        for (int r = 0; r < rounds; ++r) {
            const auto start = std::chrono::steady_clock::now();
            ReportBuffer buffer;
            info.generator(buffer, title, n, sources);
            const std::string page = PageBytes(buffer);
            times.push_back(Ms(std::chrono::steady_clock::now() - start).count());
            bytes = page.size();
        }
        std::sort(times.begin(), times.end());
        std::printf("%-12s N=%d  median %.3f ms  min %.3f ms  p90 %.3f ms  %zu bytes\n",
                    std::string(info.name).c_str(), n, times[times.size() / 2], times.front(),
                    times[times.size() * 9 / 10], bytes);
    }
    return 0;
}
