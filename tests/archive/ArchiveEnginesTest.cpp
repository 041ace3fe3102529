// The archive's cases, run against both databases: a SQLite file and a real PostgreSQL server
// started for the tests.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Locations.h"
#include "archive/Archive.h"
#include "archive/SqlConnection.h"
#include "base/DateTime.h"
#include "support/PostgresServer.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;

enum class Engine { Sqlite, Postgres };

test::PostgresServer& Server() {
    static test::PostgresServer server(ORBISK_POSTGRES_BIN);
    return server;
}

const double kDay = EncodeDateTime(2024, 3, 12, 0, 0);

// A check of a made-up crane; its key from the identity rule, its key bytes from `id`.
Check MadeUp(const std::string& id, const std::string& type, const std::string& number,
             double reading, const std::string& recorder = "0417") {
    Check c;
    c.sha256 = std::string(64 - id.size(), '0') + id;
    c.path = "/nowhere/" + id + ".bbd";
    c.craneType = type;
    c.craneNumber = number;
    c.owner = "ООО «Кран»";
    c.recorderType = "ОНК-160С";
    c.recorderNumber = recorder;
    c.craneKey = CraneKey(c.craneType, c.craneNumber, c.recorderType, c.recorderNumber);
    c.readingTime = reading;
    c.installDay = kDay - 1000;
    c.passportGroup = "А3";
    c.serviceLife = 10;
    for (int g = 0; g < kGroups; ++g) {
        GroupFigures& f = c.groups[g];
        f.cycles = 12469 + g;
        f.liftedMass = 108683.4765625 / (g + 1);
        f.limiterTrips = 60 + g;
        f.operatingMinutes = 700000 + g;
        f.characteristic = 1.2345678901234567;
        f.kp = 0.09996294230222702;
        f.loadClass = 1 + g;
        f.useClass = 2;
        f.group = 1 + g;
        f.days = reading - c.installDay;
    }
    return c;
}

std::vector<std::string> Ids(const std::vector<Check>& checks) {
    std::vector<std::string> ids;
    for (const auto& c : checks) ids.push_back(c.sha256.substr(c.sha256.find_first_not_of('0')));
    return ids;
}

class ArchiveEngines : public testing::TestWithParam<Engine> {
public:
    // A new, empty archive.
    std::string NewLocation() {
        if (GetParam() == Engine::Postgres) return Server().NewDatabase();
        return PathToUtf8(folder_ / ("archive" + std::to_string(++files_) + ".sqlite"));
    }
    std::unique_ptr<CheckArchive> Open(const std::string& location) {
        OpenedArchive opened = OpenArchive(location);
        EXPECT_EQ(opened.status, OpenStatus::Opened) << opened.message;
        return std::move(opened.archive);
    }
    // An existing file for the path of a check.
    std::string FileFor(const std::string& name) {
        test::WriteBytes(folder_ / name, "x");
        return PathToUtf8(folder_ / name);
    }

    test::TempFolder folder_;
    int files_ = 0;
};

struct ArchiveCase {
    const char* name;
    std::function<void(CheckArchive&, ArchiveEngines&)> run;
};

TEST_P(ArchiveEngines, Cases) {
    const std::vector<ArchiveCase> cases = {
        {"a crane is its type and number, blanks and case aside; else its recorder",
         [](CheckArchive& a, ArchiveEngines&) {
             EXPECT_EQ(a.Add(MadeUp("a1", "КС-45717К-1", "3127", kDay)), AddOutcome::Added);
             // Another recorder on the same crane keeps its history.
             EXPECT_EQ(a.Add(MadeUp("a2", " кс-45717к-1", "3127 ", kDay + 300, "0999")),
                       AddOutcome::Added);
             EXPECT_EQ(a.Add(MadeUp("b1", "КС-45717К-1", "3128", kDay)), AddOutcome::Added);
             EXPECT_EQ(a.Add(MadeUp("c1", "Кран", "", kDay, "77")), AddOutcome::Added);
             EXPECT_EQ(a.Add(MadeUp("c2", "Другой тип", " ", kDay + 1, "77")), AddOutcome::Added);
             const auto history = a.History(MadeUp("", "КС-45717К-1", "3127", 0).craneKey);
             ASSERT_TRUE(history) << a.LastError();
             EXPECT_EQ(Ids(*history), (std::vector<std::string>{"a2", "a1"}));
             EXPECT_EQ(Ids(*a.History(MadeUp("", "", "", 0, "77").craneKey)),
                       (std::vector<std::string>{"c2", "c1"}));
             const auto list = a.List();
             ASSERT_TRUE(list) << a.LastError();
             ASSERT_EQ(list->size(), 3u);
             std::vector<std::pair<std::string, long long>> seen;
             for (const auto& s : *list) seen.emplace_back(Ids({s.last})[0], s.checks);
             std::sort(seen.begin(), seen.end());
             EXPECT_EQ(seen, (std::vector<std::pair<std::string, long long>>{
                                 {"a2", 2}, {"b1", 1}, {"c2", 2}}));
         }},
        {"the same bytes are one check; the same time from another file is another",
         [](CheckArchive& a, ArchiveEngines&) {
             const Check c = MadeUp("d1", "КС", "1", kDay);
             EXPECT_EQ(a.Add(c), AddOutcome::Added);
             EXPECT_EQ(a.Add(c), AddOutcome::AlreadyPresent);
             EXPECT_EQ(a.Add(MadeUp("d2", "КС", "1", kDay)), AddOutcome::Added);
             EXPECT_EQ(a.History(c.craneKey)->size(), 2u);
         }},
        {"a period image is never a check",
         [](CheckArchive& a, ArchiveEngines&) {
             Check c = MadeUp("e1", "КС", "1", kDay);
             c.periodImage = true;
             EXPECT_EQ(a.Add(c), AddOutcome::Refused);
             EXPECT_TRUE(a.History(c.craneKey)->empty());
         }},
        {"every figure comes back as it went in",
         [](CheckArchive& a, ArchiveEngines&) {
             const Check c = MadeUp("f1", "КС \"Ивановец\" <1>", "№ 7'", kDay + 0.4875);
             ASSERT_EQ(a.Add(c), AddOutcome::Added);
             const Check back = a.History(c.craneKey)->at(0);
             EXPECT_EQ(back.craneType, c.craneType);
             EXPECT_EQ(back.craneNumber, c.craneNumber);
             EXPECT_EQ(back.owner, c.owner);
             EXPECT_EQ(back.passportGroup, c.passportGroup);
             EXPECT_EQ(back.readingTime, c.readingTime);
             EXPECT_EQ(back.installDay, c.installDay);
             EXPECT_EQ(back.serviceLife, c.serviceLife);
             for (int g = 0; g < kGroups; ++g) {
                 const GroupFigures &x = back.groups[g], &y = c.groups[g];
                 EXPECT_EQ(std::tie(x.cycles, x.limiterTrips, x.operatingMinutes, x.loadClass,
                                    x.useClass, x.group),
                           std::tie(y.cycles, y.limiterTrips, y.operatingMinutes, y.loadClass,
                                    y.useClass, y.group));
                 EXPECT_EQ(std::tie(x.liftedMass, x.characteristic, x.kp, x.days),
                           std::tie(y.liftedMass, y.characteristic, y.kp, y.days));
             }
         }},
        {"the previous check: earlier by reading time, same day included, file still there",
         [](CheckArchive& a, ArchiveEngines& t) {
             Check first = MadeUp("1", "КС", "1", kDay + 0.5);
             Check morning = MadeUp("2", "КС", "1", kDay + 10 + 9.0 / 24);
             Check current = MadeUp("3", "КС", "1", kDay + 10 + 15.0 / 24);
             Check twin = MadeUp("4", "КС", "1", current.readingTime);
             Check later = MadeUp("5", "КС", "1", kDay + 20);
             first.path = t.FileFor("first.bbd");
             morning.path = t.FileFor("morning.bbd");
             twin.path = t.FileFor("twin.bbd");
             later.path = t.FileFor("later.bbd");
             // Indexed in any order.
             for (const Check* c : {&later, &morning, &twin, &first}) a.Add(*c);
             auto history = *a.History(current.craneKey);
             EXPECT_EQ(PreviousCheck(history, current)->path, morning.path);
             EXPECT_FALSE(PreviousCheck(history, first));
             fs::remove(Utf8ToPath(morning.path));
             EXPECT_EQ(PreviousCheck(history, current)->path, first.path);
         }},
        {"a file that moved is found at its new place",
         [](CheckArchive& a, ArchiveEngines& t) {
             Check c = MadeUp("g1", "КС", "1", kDay);
             c.path = t.FileFor("old.bbd");
             a.Add(c);
             const std::string old = c.path;
             c.path = t.FileFor("new.bbd");
             a.Add(c);
             EXPECT_EQ(a.History(c.craneKey)->at(0).path, old);  // both there: the first stays
             fs::remove(Utf8ToPath(old));
             EXPECT_EQ(a.Add(c), AddOutcome::AlreadyPresent);
             EXPECT_EQ(a.History(c.craneKey)->at(0).path, c.path);
         }},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto archive = Open(NewLocation());
        ASSERT_TRUE(archive);
        c.run(*archive, *this);
    }
}

// Several programs indexing into one archive at once lose nothing.
TEST_P(ArchiveEngines, ConcurrentWritersLoseNothing) {
    const std::string location = NewLocation();
    Open(location);  // the schema is there before the writers start
    constexpr int kWriters = 3, kChecks = 40;
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            OpenedArchive opened = OpenArchive(location);
            int failures = opened.archive ? 0 : 1;
            for (int i = 0; opened.archive && i < kChecks; ++i) {
                const auto id = std::to_string(w + 1) + "0" + std::to_string(i + 1);
                if (opened.archive->Add(MadeUp(id, "КС", std::to_string(i % 7), kDay + i)) !=
                    AddOutcome::Added) {
                    ++failures;
                }
            }
            _exit(failures == 0 ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (pid_t pid : writers) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    long long total = 0;
    const auto cranes = Open(location)->List();
    ASSERT_TRUE(cranes.has_value());
    for (const auto& crane : *cranes) total += crane.checks;
    EXPECT_EQ(total, kWriters * kChecks);
}

INSTANTIATE_TEST_SUITE_P(, ArchiveEngines, testing::Values(Engine::Sqlite, Engine::Postgres),
                         [](const auto& info) {
                             return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
                         });

TEST(ArchiveFaults, DamagedOrForeignFileIsNamedAndCanBeMadeAnew) {
    test::TempFolder folder;
    const fs::path file = folder / "archive.sqlite";
    const std::string location = PathToUtf8(file);
    for (const char* kind : {"damaged", "foreign"}) {
        SCOPED_TRACE(kind);
        if (std::string(kind) == "damaged") {
            test::WriteBytes(file, std::string(8192, 'x'));
        } else {
            OpenSqliteConnection(location)->Execute("CREATE TABLE notes (text TEXT)");
        }
        const OpenedArchive opened = OpenArchive(location);
        EXPECT_EQ(opened.status, OpenStatus::Damaged);
        EXPECT_NE(opened.message.find("«" + location + "»"), std::string::npos) << opened.message;
        EXPECT_EQ(SetDamagedArchiveAside(file), "");
        EXPECT_TRUE(fs::exists(folder / "archive.sqlite.damaged"));
        const OpenedArchive anew = OpenArchive(location);
        ASSERT_EQ(anew.status, OpenStatus::Opened) << anew.message;
        EXPECT_TRUE(anew.archive->List()->empty());
        fs::remove(file);
    }
}

TEST(ArchiveFaults, UnreachableServerIsOneMessage) {
    const OpenedArchive opened = OpenArchive(
        "postgresql://orbisk@127.0.0.1:" + std::to_string(test::FreeLocalPort()) + "/archive");
    EXPECT_EQ(opened.status, OpenStatus::Unreachable);
    EXPECT_FALSE(opened.archive);
    EXPECT_TRUE(opened.message.starts_with("Сервер архива проверок недоступен: "))
        << opened.message;
    EXPECT_EQ(std::count(opened.message.begin(), opened.message.end(), '\n'), 1);
}

}  // namespace
}  // namespace orbisk
