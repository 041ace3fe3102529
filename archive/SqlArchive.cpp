// The archive's schema and queries, written once for both databases.
#include <algorithm>
#include <charconv>
#include <system_error>

#include "app/IniFile.h"
#include "app/Locations.h"
#include "archive/Archive.h"
#include "archive/ArchiveTexts.h"
#include "archive/SqlConnection.h"

namespace orbisk {
namespace {

constexpr int kSchemaVersion = 1;

enum class Kind { Text, Integer, Real };

struct Column {
    std::string name;
    Kind kind;
};

const char* GroupPrefix(int g) {
    static constexpr const char* kPrefix[] = {"g0_", "g1_", "g2_", "g3_"};
    return kPrefix[g];
}

// The columns in the order every statement lists them.
const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = [] {
        std::vector<Column> c = {
            {"sha256", Kind::Text},          {"path", Kind::Text},
            {"crane_key", Kind::Text},       {"crane_type", Kind::Text},
            {"crane_number", Kind::Text},    {"owner", Kind::Text},
            {"recorder_type", Kind::Text},   {"recorder_number", Kind::Text},
            {"reading", Kind::Real},         {"reading_valid", Kind::Integer},
            {"install_day", Kind::Real},     {"passport_group", Kind::Text},
            {"service_life", Kind::Integer},
        };
        for (int g = 0; g < kGroups; ++g) {
            const std::string p = GroupPrefix(g);
            for (const auto& [name, kind] : std::initializer_list<std::pair<const char*, Kind>>{
                     {"cycles", Kind::Integer},
                     {"mass", Kind::Real},
                     {"trips", Kind::Integer},
                     {"minutes", Kind::Integer},
                     {"characteristic", Kind::Real},
                     {"kp", Kind::Real},
                     {"load_class", Kind::Integer},
                     {"use_class", Kind::Integer},
                     {"actual_group", Kind::Integer},
                     {"days", Kind::Real}}) {
                c.push_back({p + name, kind});
            }
        }
        return c;
    }();
    return columns;
}

std::string ColumnList() {
    std::string list;
    for (const auto& c : Columns()) list += (list.empty() ? "" : ", ") + c.name;
    return list;
}

std::string CreateTable() {
    std::string sql = "CREATE TABLE IF NOT EXISTS checks (";
    for (const auto& c : Columns()) {
        sql += c.name;
        sql += c.kind == Kind::Text      ? " TEXT NOT NULL"
               : c.kind == Kind::Integer ? " BIGINT NOT NULL"
                                         : " DOUBLE PRECISION NOT NULL";
        sql += c.name == "sha256" ? " PRIMARY KEY, " : ", ";
    }
    sql.resize(sql.size() - 2);
    return sql + ")";
}

std::string Number(long long v) {
    return std::to_string(v);
}

std::string Number(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

double RealOf(const std::string& text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

long long IntegerOf(const std::string& text) {
    long long v = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), v).ec != std::errc()) {
        v = static_cast<long long>(RealOf(text));
    }
    return v;
}

std::vector<std::string> Values(const Check& c) {
    std::vector<std::string> v = {c.sha256,
                                  c.path,
                                  c.craneKey,
                                  c.craneType,
                                  c.craneNumber,
                                  c.owner,
                                  c.recorderType,
                                  c.recorderNumber,
                                  Number(c.readingTime),
                                  Number(static_cast<long long>(c.readingTimeValid)),
                                  Number(c.installDay),
                                  c.passportGroup,
                                  Number(static_cast<long long>(c.serviceLife))};
    for (const GroupFigures& f : c.groups) {
        v.insert(v.end(), {Number(f.cycles), Number(f.liftedMass), Number(f.limiterTrips),
                           Number(f.operatingMinutes), Number(f.characteristic), Number(f.kp),
                           Number(static_cast<long long>(f.loadClass)),
                           Number(static_cast<long long>(f.useClass)),
                           Number(static_cast<long long>(f.group)), Number(f.days)});
    }
    return v;
}

Check CheckOf(const SqlConnection::Row& row) {
    Check c;
    std::size_t i = 0;
    const auto text = [&] { return row.at(i++); };
    const auto real = [&] { return RealOf(row.at(i++)); };
    const auto integer = [&] { return IntegerOf(row.at(i++)); };
    c.sha256 = text();
    c.path = text();
    c.craneKey = text();
    c.craneType = text();
    c.craneNumber = text();
    c.owner = text();
    c.recorderType = text();
    c.recorderNumber = text();
    c.readingTime = real();
    c.readingTimeValid = integer() != 0;
    c.installDay = real();
    c.passportGroup = text();
    c.serviceLife = static_cast<int>(integer());
    for (GroupFigures& f : c.groups) {
        f.cycles = integer();
        f.liftedMass = real();
        f.limiterTrips = integer();
        f.operatingMinutes = integer();
        f.characteristic = real();
        f.kp = real();
        f.loadClass = static_cast<int>(integer());
        f.useClass = static_cast<int>(integer());
        f.group = static_cast<int>(integer());
        f.days = real();
    }
    return c;
}

class SqlArchive final : public CheckArchive {
public:
    SqlArchive(std::unique_ptr<SqlConnection> db, std::string where)
        : db_(std::move(db)), where_(std::move(where)) {
        db_->BeginWrite();
        try {
            const int version = db_->SchemaVersion();
            if (version > kSchemaVersion) {
                throw DamagedDatabase("made by a newer program");
            }
            if (version < kSchemaVersion) {
                db_->Execute(CreateTable());
                db_->Execute(
                    "CREATE INDEX IF NOT EXISTS checks_by_crane ON checks (crane_key, reading)");
                db_->SetSchemaVersion(kSchemaVersion);
            }
            db_->Commit();
        } catch (...) {
            db_->Rollback();
            throw;
        }
    }

    AddOutcome Add(const Check& check) override {
        if (check.periodImage) return AddOutcome::Refused;
        return Guarded(AddOutcome::Failed, [&] {
            db_->BeginWrite();
            try {
                const auto outcome = AddInTransaction(check);
                db_->Commit();
                return outcome;
            } catch (...) {
                db_->Rollback();
                throw;
            }
        });
    }

    std::optional<std::vector<Check>> History(const std::string& craneKey) override {
        return Guarded(std::optional<std::vector<Check>>(), [&] {
            std::vector<Check> checks;
            for (const auto& row : db_->Query("SELECT " + ColumnList() +
                                                  " FROM checks WHERE crane_key = $1"
                                                  " ORDER BY reading DESC, sha256",
                                              {craneKey})) {
                checks.push_back(CheckOf(row));
            }
            return std::optional(std::move(checks));
        });
    }

    std::optional<std::vector<CraneSummary>> List() override {
        return Guarded(std::optional<std::vector<CraneSummary>>(), [&] {
            std::string columns;
            for (const auto& c : Columns()) columns += "c." + c.name + ", ";
            std::vector<CraneSummary> cranes;
            for (const auto& row :
                 db_->Query("SELECT " + columns +
                            "m.n FROM checks c JOIN (SELECT crane_key, MAX(reading) AS latest,"
                            " COUNT(*) AS n FROM checks GROUP BY crane_key) m"
                            " ON c.crane_key = m.crane_key AND c.reading = m.latest"
                            " ORDER BY c.crane_key, c.sha256")) {
                // Checks of the same latest reading time: the first stands for the crane.
                if (!cranes.empty() && cranes.back().last.craneKey == row[2]) continue;
                cranes.push_back({CheckOf(row), IntegerOf(row.back())});
            }
            return std::optional(std::move(cranes));
        });
    }

private:
    AddOutcome AddInTransaction(const Check& check) {
        std::string params;
        for (std::size_t i = 1; i <= Columns().size(); ++i) {
            params += (i == 1 ? "$" : ", $") + std::to_string(i);
        }
        if (db_->Execute("INSERT INTO checks (" + ColumnList() + ") VALUES (" + params +
                             ") ON CONFLICT (sha256) DO NOTHING",
                         Values(check)) > 0) {
            return AddOutcome::Added;
        }
        // The same bytes under another name: the index follows a file that was moved.
        const auto found = db_->Query("SELECT path FROM checks WHERE sha256 = $1", {check.sha256});
        std::error_code ec;
        if (!found.empty() && found[0][0] != check.path &&
            !std::filesystem::exists(Utf8ToPath(found[0][0]), ec)) {
            db_->Execute("UPDATE checks SET path = $1 WHERE sha256 = $2",
                         {check.path, check.sha256});
        }
        return AddOutcome::AlreadyPresent;
    }

    template <typename T, typename Work>
    T Guarded(T failed, Work work) {
        try {
            lastError_.clear();
            return work();
        } catch (const DamagedDatabase&) {
            lastError_ = archive_text::Damaged(where_);
        } catch (const std::exception& e) {
            lastError_ = archive_text::Failed(e.what());
        }
        return failed;
    }

    std::unique_ptr<SqlConnection> db_;
    std::string where_;
};

}  // namespace

void SqlConnection::Rollback() noexcept {
    try {
        Execute("ROLLBACK");
    } catch (...) {
        // The transaction is gone with the failure that brought us here.
    }
}

std::unique_ptr<CheckArchive> MakeSqlArchive(std::unique_ptr<SqlConnection> connection,
                                             std::string whereText) {
    return std::make_unique<SqlArchive>(std::move(connection), std::move(whereText));
}

bool IsServerAddress(const std::string& location) {
    return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

OpenedArchive OpenArchive(const std::string& location) {
    OpenedArchive opened;
    const bool server = IsServerAddress(location);
    try {
        auto connection =
            server ? OpenPostgresConnection(location) : OpenSqliteConnection(location);
        opened.archive = MakeSqlArchive(std::move(connection), location);
        opened.status = OpenStatus::Opened;
    } catch (const DamagedDatabase&) {
        opened.status = OpenStatus::Damaged;
        opened.message = archive_text::Damaged(location);
    } catch (const std::exception& e) {
        opened.status = OpenStatus::Unreachable;
        opened.message =
            server ? archive_text::Unreachable(e.what()) : archive_text::Failed(e.what());
    }
    return opened;
}

std::string SetDamagedArchiveAside(const std::filesystem::path& file) {
    std::error_code ec;
    auto aside = file;
    aside += ".damaged";
    std::filesystem::rename(file, aside, ec);
    if (ec) return ec.message();
    // The journal files belong to the damaged file.
    for (const char* suffix : {"-wal", "-shm"}) {
        auto extra = file;
        extra += suffix;
        std::filesystem::remove(extra, ec);
    }
    return {};
}

std::string ArchiveLocation(const std::filesystem::path& iniFile,
                            const std::filesystem::path& dataFolder) {
    const IniFile ini(iniFile);
    std::string server = ini.ReadString(kArchiveSection, kArchiveServerKey, "");
    if (!server.empty()) return server;
    return PathToUtf8(dataFolder / kArchiveFileName);
}

std::optional<Check> PreviousCheck(const std::vector<Check>& newestFirst, const Check& current) {
    for (const Check& c : newestFirst) {
        if (c.readingTime >= current.readingTime || c.sha256 == current.sha256) continue;
        std::error_code ec;
        if (std::filesystem::is_regular_file(Utf8ToPath(c.path), ec)) return c;
    }
    return std::nullopt;
}

}  // namespace orbisk
