#pragma once
// Hand-built display models, a recording prompter and small page helpers for the report tests.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/Prompter.h"
#include "base/TextCodec.h"
#include "image/DisplayModel.h"
#include "reports/Reporthtm.h"
#include "support/RecordingPrompter.h"

namespace orbisk::test {

inline CycleRow MakeCycle(const std::string& time, const std::string& state = "") {
    CycleRow row;
    row.cells = {time, "50%", "40%", "30%", "20%", "5.0 т", state, "128"};
    return row;
}

// A model as decoding a small image would leave it.
inline DisplayModel SampleModel() {
    DisplayModel m;
    m.SetText(Ctl::eMarka, "КС-45717К-1");
    m.SetText(Ctl::eNumber, "1234");
    m.SetText(Ctl::eYear, "2008");
    m.SetText(Ctl::eProd, "ОАО «Ивановская марка»");
    m.SetText(Ctl::eOwner, "ООО Стройсервис");
    m.SetText(Ctl::eSrok, "10");
    m.SetText(Ctl::eGroup, "A3");
    m.SetText(Ctl::eEnter, "01.06.2008");
    m.SetText(Ctl::eSumGruz, "25.00");
    m.SetText(Ctl::eGruz1, "25.00");
    m.SetText(Ctl::eGruz2, "0.00");
    m.SetText(Ctl::eGruz3, "0.00");
    m.SetText(Ctl::eRegType, "ОНК-160С");
    m.SetText(Ctl::eRegNum, "777");
    m.SetText(Ctl::eRegYear, "2008");
    m.SetText(Ctl::eRegProd, "НПП Резонанс");
    m.SetText(Ctl::eRegSetupName, "СМУ-5");
    m.SetText(Ctl::eRegSetup, "02.06.2008");
    m.SetText(Ctl::eDateCheck, "14.05.2009 10:30 ");
    m.SetText(Ctl::eStartDateCheck, "02.06.2008");
    m.SetText(Ctl::eVersion, "1.2.3");
    m.calibration = {{100, 1100}, {120, 1000}};
    for (int r = 0; r < kRegStatRows; ++r) {
        for (int g = 0; g < kGroups; ++g)
            m.regStat[r][g] = g < 2 ? std::to_string(r * 10 + g) : "-";
    }
    m.regStat[3][0] = "2.05";
    for (int k = 1; k <= 13; ++k) {
        m.loadRows.push_back(
            {std::to_string(k),
             "от " + std::to_string((k - 1) * 10 + 1) + "% до " + std::to_string(k * 10) + "%",
             std::to_string(k), std::to_string(k), "0", "0"});
    }
    return m;
}

// The cycles named by their time texts, newest first.
inline void SetCycles(DisplayModel& m, const std::vector<std::string>& times) {
    m.cycles.clear();
    for (const auto& t : times) m.cycles.push_back(MakeCycle(t));
}

inline std::string Joined(const ReportBuffer& b) {
    std::string s;
    for (const auto& l : b) s += l + "\n";
    return s;
}

inline std::size_t IndexOf(const ReportBuffer& b, const std::string& line, std::size_t from = 0) {
    for (std::size_t i = from; i < b.size(); ++i) {
        if (b[i] == line) return i;
    }
    return b.size();
}

inline std::size_t CountContaining(const ReportBuffer& b, const std::string& part) {
    return std::count_if(b.begin(), b.end(),
                         [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// Headings of the numbered sections, in page order, without their tags.
inline std::vector<std::string> Headings(const ReportBuffer& b) {
    std::vector<std::string> out;
    const std::string open(htm::kH3Open), close(htm::kH3Close);
    for (const auto& l : b) {
        if (l.starts_with(open) && l.ends_with(close)) {
            out.push_back(l.substr(open.size(), l.size() - open.size() - close.size()));
        }
    }
    return out;
}

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("orbisk-reports-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace orbisk::test

#include <cstdio>
#include <cstdlib>

namespace orbisk::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
};

// Runs a shell command line and collects its standard output.
inline ProcessResult RunProcess(const std::string& commandLine) {
    ProcessResult r;
    FILE* pipe = ::popen(commandLine.c_str(), "r");
    if (pipe == nullptr) return r;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) r.out.append(chunk, n);
    const int status = ::pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace orbisk::test
