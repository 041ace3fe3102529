// The command-line contract of orbisk-cli as other tools rely on it: exit codes, one message per
// line on standard error, the JSON keys in their order, and the options that change what is
// shown. The program is run as a process, the way scripts run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "JsonReader.h"
#include "base/TextCodec.h"
#include "image/Messages.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

using test::JsonReader;
using test::JsonValue;
namespace fs = std::filesystem;

const fs::path kSamples = fs::path(ORBISK_SOURCE_DIR) / "samples";
constexpr char kNow[] = "17.05.2025 10:30";

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;

    std::vector<std::string> ErrLines() const {
        std::vector<std::string> lines;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    JsonValue Json() const { return JsonReader::Parse(out); }
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// How the program prints a message on standard error: one line, line breaks written as "\n".
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) line += c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

class CliContract : public ::testing::Test {
protected:
    void SetUp() override {
        const char* cli = std::getenv("ORBISK_CLI");
        cli_ = cli && *cli ? cli : ORBISK_BINARY_DIR "/bin/orbisk-cli";
        ASSERT_TRUE(fs::exists(cli_)) << cli_;
        ASSERT_TRUE(fs::exists(kSamples / "current.bbd") && fs::exists(kSamples / "previous.bbd"));
        current_ = ReadAll(kSamples / "current.bbd");
        ASSERT_EQ(current_.size(), 65536u);
    }

    // Runs orbisk-cli with a configuration of its own (none unless written) and a fixed clock.
    CliRun Cli(const std::vector<std::string>& args, bool fixedSetup = true) const {
        std::string command = Quote(cli_);
        if (fixedSetup) {
            command +=
                " --config " + Quote((folder_ / "orbisk.ini").string()) + " --now " + Quote(kNow);
        }
        for (const auto& a : args) command += " " + Quote(a);
        const fs::path out = folder_ / "stdout", err = folder_ / "stderr";
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
        const int status = std::system(command.c_str());
        CliRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = ReadAll(out);
        r.err = ReadAll(err);
        return r;
    }

    // Runs orbisk-cli as Cli does, with standard output going where nothing can be written.
    CliRun CliIntoFullDevice(const std::vector<std::string>& args) const {
        std::string command = Quote(cli_) + " --config " +
                              Quote((folder_ / "orbisk.ini").string()) + " --now " + Quote(kNow);
        for (const auto& a : args) command += " " + Quote(a);
        const fs::path err = folder_ / "stderr";
        command += " >/dev/full 2>" + Quote(err.string()) + " </dev/null";
        const int status = std::system(command.c_str());
        CliRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = ReadAll(err);
        return r;
    }

    std::string Sample(const char* name) const { return (kSamples / name).string(); }

    // A data file holding the bytes; returns its path.
    std::string File(const std::string& name, const std::string& bytes) const {
        WriteAll(folder_ / name, bytes);
        return (folder_ / name).string();
    }

    // The current sample with the even-byte XOR restored after a change.
    static void Balance(std::string& image) {
        image[0] = 0;
        unsigned char x = 0;
        for (std::size_t i = 0; i < image.size(); i += 2) x ^= static_cast<unsigned char>(image[i]);
        image[0] = static_cast<char>(x);
    }

    void WriteIni(const std::string& utf8) const {
        WriteAll(folder_ / "orbisk.ini", Utf8ToCp1251(utf8));
    }

    // Checks the usage failure: exit 2, nothing on standard output, a reason on standard error.
    void ExpectUsage(const std::vector<std::string>& args) const {
        const CliRun r = Cli(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.exitCode, 2) << joined;
        EXPECT_TRUE(r.out.empty()) << joined << "printed: " << r.out;
        EXPECT_FALSE(r.err.empty()) << joined;
    }

    std::string cli_;
    std::string current_;
    ::orbisk::test::TempFolder folder_;
};

std::vector<std::string> Names(const JsonValue& array) {
    std::vector<std::string> names;
    for (const auto& v : array.items) names.push_back(v.string);
    return names;
}

// ---------------------------------------------------------------------------------------------

TEST_F(CliContract, ShowPrintsTheDisplayModelWithTheContractKeysInOrder) {
    const CliRun r = Cli({"show", Sample("current.bbd")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_FALSE(r.out.empty());
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one JSON object on one line";
    const JsonValue j = r.Json();

    EXPECT_EQ(j.Keys(), (std::vector<std::string>{"checksum_ok", "messages", "controls", "colors",
                                                  "choices", "lists", "histogram", "stats"}));
    EXPECT_EQ(j["checksum_ok"].kind, JsonValue::Kind::Bool);
    EXPECT_TRUE(j["checksum_ok"].boolean);
    EXPECT_EQ(j["messages"].kind, JsonValue::Kind::Array);
    EXPECT_TRUE(j["messages"].items.empty());

    const std::vector<std::string> controls = {
        "eMarka",        "eNumber",         "eYear",           "eProd",      "eOwner",
        "eSrok",         "eGroup",          "eEnter",          "eSumGruz",   "eGruz1",
        "eGruz2",        "eGruz3",          "eLebNameK",       "eLebName1",  "eLebName2",
        "eLebName3",     "eRegType",        "eRegNum",         "eRegProd",   "eRegYear",
        "eRegSetupName", "eRegSetup",       "eChangePassport", "eChangeRTC", "eProgramChange",
        "eDateCheck",    "eStartDateCheck", "eVersion",        "eLeb1Cnt",   "eLeb2Cnt",
        "eLeb3Cnt",      "eStop1",          "eStop",           "eStopMax",   "eWarning",
        "eCycleStart",   "eCycleEnd",       "eCycleTime",      "eEnable",    "eAvrScale",
        "eMassScale",    "eStopSens",       "eStopPerekos",    "eCtrlRele3", "eCtrlRele4",
        "eWorkMode",     "eCtrlRele3_Off",  "eCtrlRele4_Off",  "eExtRele1",  "eExtRele2",
        "eExtRele3",     "eExtRele4",       "dtpReportDate"};
    EXPECT_EQ(j["controls"].Keys(), controls);
    for (const auto& [name, value] : j["controls"].members) {
        EXPECT_EQ(value.kind, JsonValue::Kind::String) << name;
    }

    EXPECT_EQ(j["colors"].Keys(), (std::vector<std::string>{"eChangePassport", "eChangeRTC",
                                                            "eProgramChange", "eDateCheck"}));
    for (const auto& [name, value] : j["colors"].members) {
        EXPECT_TRUE(value.string == "black" || value.string == "red") << name << value.string;
    }

    EXPECT_EQ(j["choices"].Keys(),
              (std::vector<std::string>{"rgRele3", "rgRele4", "rgExtPult", "rgExtDAC",
                                        "rgExtReleAlg", "chbSensWorkMode", "rgLast", "rgStep"}));
    for (const auto& [name, value] : j["choices"].members) {
        if (name == "chbSensWorkMode") {
            EXPECT_EQ(value.kind, JsonValue::Kind::Bool);
        } else {
            EXPECT_TRUE(value.IsInteger()) << name;
        }
    }
    // The defaults of the configuration: all cycles, the 10 % step.
    EXPECT_EQ(j["choices"]["rgLast"].number, 3);
    EXPECT_EQ(j["choices"]["rgStep"].number, 1);

    const JsonValue& lists = j["lists"];
    EXPECT_EQ(lists.Keys(), (std::vector<std::string>{"lvCalibr", "lvWorkModeVal", "lvLoad",
                                                      "lvRegStat", "lvLast"}));
    for (const auto& [name, list] : lists.members) {
        const std::vector<std::string> keys =
            name == "lvLast" ? std::vector<std::string>{"columns", "rows", "icons", "frames"}
                             : std::vector<std::string>{"columns", "rows"};
        EXPECT_EQ(list.Keys(), keys) << name;
        for (const auto& row : list["rows"].items) {
            ASSERT_EQ(row.items.size(), list["columns"].items.size()) << name;
            for (const auto& cell : row.items) ASSERT_EQ(cell.kind, JsonValue::Kind::String);
        }
    }
    EXPECT_EQ(Names(lists["lvLast"]["columns"]).front(), "Дата и время");
    EXPECT_EQ(Names(lists["lvLast"]["columns"]).back(), "Кадр №");
    EXPECT_EQ(lists["lvLast"]["rows"].items.size(), 1728u);
    EXPECT_EQ(lists["lvLast"]["icons"].items.size(), 1728u);
    EXPECT_EQ(lists["lvLast"]["frames"].items.size(), 1728u);
    for (const auto& icon : lists["lvLast"]["icons"].items) {
        const bool known = icon.kind == JsonValue::Kind::Null ||
                           (icon.IsInteger() && (icon.number == 5 || icon.number == 7 ||
                                                 icon.number == 1 || icon.number == 6));
        ASSERT_TRUE(known) << icon.numberText;
    }
    for (const auto& frame : lists["lvLast"]["frames"].items) {
        ASSERT_EQ(frame.kind, JsonValue::Kind::Bool);
    }
    EXPECT_EQ(lists["lvLoad"]["rows"].items.size(), 13u);
    EXPECT_EQ(lists["lvRegStat"]["rows"].items.size(), 12u);
    EXPECT_EQ(lists["lvRegStat"]["rows"][0][0].string, "Суммарное число рабочих циклов");
    EXPECT_EQ(lists["lvWorkModeVal"]["rows"].items.size(), 1u);

    ASSERT_EQ(j["histogram"].items.size(), 4u);
    for (const auto& series : j["histogram"].items) {
        ASSERT_EQ(series.items.size(), 13u + 2u);
        for (const auto& point : series.items) {
            ASSERT_EQ(point.Keys(), (std::vector<std::string>{"x", "y", "label", "color"}));
            ASSERT_TRUE(point["x"].IsInteger() && point["y"].IsInteger());
            const std::string& color = point["color"].string;
            ASSERT_TRUE(color == "series" || color == "yellow" || color == "red") << color;
        }
    }

    ASSERT_EQ(j["stats"].items.size(), 4u);
    for (const auto& s : j["stats"].items) {
        EXPECT_EQ(s.Keys(),
                  (std::vector<std::string>{"characteristic", "kp", "load_class", "use_class",
                                            "group", "n", "days", "frequency", "duration"}));
        EXPECT_TRUE(s["load_class"].IsInteger() && s["use_class"].IsInteger() &&
                    s["group"].IsInteger() && s["n"].IsInteger());
    }
    // The crane's N is the first value of its parameter row.
    EXPECT_EQ(lists["lvRegStat"]["rows"][0][1].string, j["stats"][0]["n"].numberText);
}

TEST_F(CliContract, BadUsageExitsWithTwoAndPrintsNoJson) {
    ExpectUsage({"--bogus", "show", Sample("current.bbd")});
    ExpectUsage({"show", Sample("current.bbd"), "--bogus"});
    ExpectUsage({"show", Sample("current.bbd"), "--filter", "7"});
    ExpectUsage({"show", Sample("current.bbd"), "--filter", "-1"});
    ExpectUsage({"show", Sample("current.bbd"), "--filter", "1x"});
    ExpectUsage({"show", Sample("current.bbd"), "--step", "3"});
    ExpectUsage({"show", Sample("current.bbd"), "--date", "31.02.2024"});
    ExpectUsage({"show", Sample("current.bbd"), "--date", "2024-05-01"});
    ExpectUsage({"show", Sample("current.bbd"), "--date"});
    ExpectUsage({"show"});
    ExpectUsage({"show", Sample("current.bbd"), Sample("previous.bbd")});
    ExpectUsage({"name"});
    ExpectUsage({});
    ExpectUsage({"frobnicate", Sample("current.bbd")});
    ExpectUsage({"show", Sample("current.bbd"), "--date", "+1.05.2024"});
    // A folder is no configuration: not passed over silently.
    ExpectUsage({"--config", (folder_ / ".").string(), "show", Sample("current.bbd")});
    // --now is checked like --date, and it carries the time as well.
    for (const char* now :
         {"32.01.2024 10:00", "01.06.2024", "1.6.2024 1:5", "01.06.2024 10:00:00"}) {
        const CliRun r = Cli({"--now", now, "show", Sample("current.bbd")}, false);
        EXPECT_EQ(r.exitCode, 2) << now;
        EXPECT_TRUE(r.out.empty()) << now;
    }
}

// What goes to standard output is the command's result: when it cannot all be written (a full
// disk, /dev/full), the command has failed, says so, and exits with 1, whichever it is.
TEST_F(CliContract, AnUnwritableStandardOutputIsAFailure) {
    const std::vector<std::vector<std::string>> commands = {
        {"show", Sample("current.bbd")},
        {"show", Sample("current.bbd"), "--previous", Sample("previous.bbd")},
        {"name", Sample("current.bbd")},
        {"report", Sample("current.bbd"), "--kind", "1", "--cycles", "5"},
        {"report", Sample("current.bbd"), "--kind", "2", "-o", "-"},
        {"--help"},
    };
    for (const auto& args : commands) {
        const CliRun r = CliIntoFullDevice(args);
        EXPECT_EQ(r.exitCode, 1) << args.front() << " " << args.back();
        EXPECT_NE(r.err.find("standard output"), std::string::npos) << args.front() << r.err;
        // Said once.
        EXPECT_EQ(r.ErrLines().size(), 1u) << r.err;
    }
    // The same commands write their whole output where it can go.
    for (const auto& args : commands) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 0) << args.front() << r.err;
        EXPECT_FALSE(r.out.empty());
    }
}

TEST_F(CliContract, BrokenChecksumIsAQuestionThatYesAnswers) {
    std::string broken = current_;
    broken[0x0100] = static_cast<char>(broken[0x0100] ^ 0x40);  // an even offset
    const std::string file = File("broken.bbd", broken);
    const std::string question = msg::kBadChecksum;

    const CliRun no = Cli({"show", file});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(no.out.empty()) << "abandoned: no JSON";
    EXPECT_EQ(no.ErrLines(), std::vector<std::string>{OneLine(question)});

    const CliRun yes = Cli({"--yes", "show", file});
    ASSERT_EQ(yes.exitCode, 0) << yes.err;
    const JsonValue j = yes.Json();
    EXPECT_FALSE(j["checksum_ok"].boolean);
    ASSERT_FALSE(j["messages"].items.empty());
    EXPECT_EQ(j["messages"][0].string, question);
    EXPECT_EQ(yes.ErrLines().front(), OneLine(question));

    // An odd offset takes no part in the checksum.
    std::string odd = current_;
    odd[0x0101] = static_cast<char>(odd[0x0101] ^ 0x40);
    const CliRun oddRun = Cli({"show", File("odd.bbd", odd)});
    ASSERT_EQ(oddRun.exitCode, 0) << oddRun.err;
    EXPECT_TRUE(oddRun.Json()["checksum_ok"].boolean);
}

TEST_F(CliContract, EveryMessageIsOneLineOnStandardErrorInTheOrderOfTheJson) {
    // Broken checksum and an invalid reading time (31 April): the question, the red reading
    // time, then the statistics taking the current date.
    std::string image = current_;
    const char reading[5] = {0x00, 0x10, 0x31, 0x04, 0x24};
    image.replace(4, 5, reading, 5);
    Balance(image);
    image[0x0200] = static_cast<char>(image[0x0200] ^ 1);
    const CliRun r = Cli({"--yes", "show", File("messages.bbd", image)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const JsonValue j = r.Json();
    const std::vector<std::string> expected = {msg::kBadChecksum, msg::kBadReadingTime,
                                               msg::kCurrentDateUsed};
    EXPECT_EQ(Names(j["messages"]), expected);
    std::vector<std::string> lines;
    for (const auto& m : expected) lines.push_back(OneLine(m));
    EXPECT_EQ(r.ErrLines(), lines);
    EXPECT_EQ(j["colors"]["eDateCheck"].string, "red");
    EXPECT_EQ(j["controls"]["eDateCheck"].string, "31.04.2024 10:00 ");
    // The date filter takes the current date of --now.
    EXPECT_EQ(j["controls"]["dtpReportDate"].string, "17.05.2025");
}

TEST_F(CliContract, AShortFileIsRefusedWithItsSize) {
    const std::string shortFile = File("short.bbd", current_.substr(0, 100));
    const std::string expected =
        "Неправильный размер файла данных: 100 байт.\nОжидается 65536 байт.";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", shortFile},
                                                 {"--yes", "show", shortFile},
                                                 {"name", shortFile}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.front();
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.ErrLines(), std::vector<std::string>{OneLine(expected)});
    }
    // As the previous check as well; the comparison does not start.
    const CliRun r = Cli({"show", Sample("current.bbd"), "--previous", shortFile});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.ErrLines(), std::vector<std::string>{OneLine(expected)});

    // A longer file is read up to the image's size.
    const CliRun longer = Cli({"show", File("longer.bbd", current_ + "trailing bytes")});
    EXPECT_EQ(longer.exitCode, 0) << longer.err;

    const CliRun missing = Cli({"show", (folder_ / "no-such.bbd").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(missing.ErrLines().size(), 1u);
}

TEST_F(CliContract, PreviousCheckReducesTheImageToThePeriod) {
    const CliRun previous = Cli({"show", Sample("previous.bbd")});
    ASSERT_EQ(previous.exitCode, 0) << previous.err;
    const std::string previousReading = previous.Json()["controls"]["eDateCheck"].string;

    const CliRun r = Cli({"show", Sample("current.bbd"), "--previous", Sample("previous.bbd")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const JsonValue j = r.Json();
    // The period starts on the day of the previous reading.
    EXPECT_EQ(j["controls"]["eStartDateCheck"].string, previousReading.substr(0, 10));
    EXPECT_EQ(j["controls"]["eRegSetup"].string, previousReading.substr(0, 10));

    // The current file as its own previous check: equal reading times.
    const CliRun self = Cli({"show", Sample("current.bbd"), "--previous", Sample("current.bbd")});
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_TRUE(self.out.empty());
    EXPECT_EQ(self.ErrLines(), std::vector<std::string>{OneLine(msg::kWrongPreviousFile)});

    // Swapped: the previous file is newer.
    const CliRun swapped =
        Cli({"show", Sample("previous.bbd"), "--previous", Sample("current.bbd")});
    EXPECT_EQ(swapped.exitCode, 1);
    EXPECT_TRUE(swapped.out.empty());

    // Only .bbd files are previous checks.
    const std::string other = File("previous.dat", ReadAll(kSamples / "previous.bbd"));
    const CliRun wrongExtension = Cli({"show", Sample("current.bbd"), "--previous", other});
    EXPECT_EQ(wrongExtension.exitCode, 1);
    EXPECT_TRUE(wrongExtension.out.empty());
    EXPECT_EQ(wrongExtension.ErrLines(), std::vector<std::string>{OneLine(msg::kWrongExtension)});
    const std::string upper = File("PREVIOUS.BBD", ReadAll(kSamples / "previous.bbd"));
    EXPECT_EQ(Cli({"show", Sample("current.bbd"), "--previous", upper}).exitCode, 0);
}

TEST_F(CliContract, DateSelectsTheDateFilter) {
    const CliRun all = Cli({"show", Sample("current.bbd")});
    ASSERT_EQ(all.exitCode, 0);
    const JsonValue allJson = all.Json();
    const std::string newest = allJson["lists"]["lvLast"]["rows"][0][0].string;
    ASSERT_GE(newest.size(), 10u);
    const std::string date = newest.substr(0, 10);
    std::size_t onThatDay = 0;
    for (const auto& row : allJson["lists"]["lvLast"]["rows"].items) {
        if (row[0].string.compare(0, 10, date) == 0) ++onThatDay;
    }

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", Sample("current.bbd"), "--date", date},
          {"show", Sample("current.bbd"), "--filter", "0", "--date", date}}) {
        const CliRun r = Cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const JsonValue j = r.Json();
        EXPECT_EQ(j["choices"]["rgLast"].number, 0);
        EXPECT_EQ(j["controls"]["dtpReportDate"].string, date);
        const auto& rows = j["lists"]["lvLast"]["rows"].items;
        EXPECT_EQ(rows.size(), onThatDay);
        for (const auto& row : rows) EXPECT_EQ(row[0].string.substr(0, 10), date);
    }
    // A day without records lists nothing.
    const CliRun empty = Cli({"show", Sample("current.bbd"), "--date", "01.01.1990"});
    ASSERT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.Json()["lists"]["lvLast"]["rows"].items.empty());
}

TEST_F(CliContract, CorrectionLimitsLoadsAndMassesOfWorkCycles) {
    // The newest cycle: 130 % on the crane, 50 t on a crane of the sample's capacity.
    std::string image = current_;
    const auto u16 = [&](std::size_t a) {
        return static_cast<unsigned>(static_cast<unsigned char>(image[a])) |
               static_cast<unsigned>(static_cast<unsigned char>(image[a + 1])) << 8;
    };
    unsigned write = u16(0x0700);
    const unsigned writeSlot = write < 0x1000 || write >= 0x7C00 ? 1727 : (write - 0x1000) / 16;
    const std::size_t slot = 0x1000 + 16 * (writeSlot == 0 ? 1727 : writeSlot - 1);
    const char record[16] = {0x15, 0x10, 0x01, 0x03, 0x25, 0x00, static_cast<char>(130), 40, 0, 0,
                             0,    0,    0x48, 0x42, 0,    0};  // 50.0 t
    image.replace(slot, 16, record, 16);
    Balance(image);
    const std::string file = File("overload.bbd", image);

    const CliRun plain = Cli({"show", file});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const JsonValue p = plain.Json();
    EXPECT_EQ(p["lists"]["lvLast"]["rows"][0][1].string, "130%");
    EXPECT_EQ(p["lists"]["lvLast"]["rows"][0][5].string, "50.0 т");

    const CliRun corrected = Cli({"--correction", "show", file});
    ASSERT_EQ(corrected.exitCode, 0) << corrected.err;
    const JsonValue c = corrected.Json();
    EXPECT_EQ(c["lists"]["lvLast"]["rows"][0][1].string, "125%");
    const double capacity = std::stod(c["controls"]["eSumGruz"].string);
    const double limit = 1.25 * capacity;
    const double shown = std::stod(c["lists"]["lvLast"]["rows"][0][5].string);
    EXPECT_NEAR(shown, std::min(50.0, limit), 0.051);

    // The INI switch does the same.
    WriteIni("[_Конфигурация_]\r\nКоррекцияДанных=1\r\n");
    const CliRun byIni = Cli({"show", file});
    ASSERT_EQ(byIni.exitCode, 0) << byIni.err;
    EXPECT_EQ(byIni.Json()["lists"]["lvLast"]["rows"][0][1].string, "125%");
}

TEST_F(CliContract, ConfigurationGivesTheDefaultFilterAndStep) {
    WriteIni("[_Вид_]\r\nЦиклы=2\r\nШаг=0\r\n");
    const CliRun r = Cli({"show", Sample("current.bbd")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const JsonValue j = r.Json();
    EXPECT_EQ(j["choices"]["rgLast"].number, 2);
    EXPECT_EQ(j["choices"]["rgStep"].number, 0);
    EXPECT_EQ(j["lists"]["lvLoad"]["rows"].items.size(), 127u);
    EXPECT_EQ(j["lists"]["lvLoad"]["rows"][126][1].string, "127%");
    const auto& rows = j["lists"]["lvLast"]["rows"].items;
    EXPECT_LT(rows.size(), 1728u);
    EXPECT_FALSE(rows.empty()) << "the sample has switch-on/off records";
    for (const auto& row : rows) {
        const std::string& state = row[6].string;
        EXPECT_TRUE(state.rfind(" Вкл", 0) == 0 || state.rfind(" Выкл", 0) == 0) << state;
    }
    // The command line wins over the file.
    const CliRun over = Cli({"show", Sample("current.bbd"), "--filter", "3", "--step", "2"});
    ASSERT_EQ(over.exitCode, 0);
    EXPECT_EQ(over.Json()["choices"]["rgLast"].number, 3);
    EXPECT_EQ(over.Json()["lists"]["lvLoad"]["rows"].items.size(), 6u);
    EXPECT_EQ(over.Json()["lists"]["lvLast"]["rows"].items.size(), 1728u);
}

TEST_F(CliContract, NameProposesTheDataFileName) {
    std::string image = current_;
    const char serial[16] = {'1', '2', '/', '3', '-', 'A'};
    image.replace(0x0920, 16, serial, 16);
    const char reading[5] = {0x05, 0x14, 0x03, 0x03, 0x09};  // 03.03.2009 14:05
    image.replace(4, 5, reading, 5);
    Balance(image);
    const CliRun r = Cli({"name", File("serial.bbd", image)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("РП_№123A от ", 0), 0u) << r.out;
    EXPECT_EQ(r.out, "РП_№123A от 03_03_2009 1405 \n");
    EXPECT_EQ(r.err, "");

    // Never the checksum question, even without --yes.
    image[0x0300] = static_cast<char>(image[0x0300] ^ 0x10);
    const CliRun broken = Cli({"name", File("broken-name.bbd", image)});
    EXPECT_EQ(broken.exitCode, 0);
    EXPECT_EQ(broken.out, "РП_№123A от 03_03_2009 1405 \n");
    EXPECT_EQ(broken.err, "");

    // An invalid reading time contributes nothing.
    image[6] = 0x32;  // day 32
    const CliRun invalid = Cli({"name", File("invalid-time.bbd", image)});
    EXPECT_EQ(invalid.exitCode, 0);
    EXPECT_EQ(invalid.out, "РП_№123A от \n");
}

}  // namespace
}  // namespace orbisk
