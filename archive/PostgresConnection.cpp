// The archive on an organisation's PostgreSQL server, shared by every inspector's program.
#include <libpq-fe.h>

#include <charconv>

#include "archive/SqlConnection.h"

namespace orbisk {
namespace {

// Several programs may make the schema at once; they take turns under this lock.
constexpr long long kSchemaLock = 0x4F524253;
// An address that does not answer is given up after this many seconds.
constexpr char kConnectTimeout[] = "connect_timeout=5";

std::string FirstLine(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    const auto nl = s.find('\n');
    return nl == std::string::npos ? s : s.substr(0, nl);
}

class PostgresConnection final : public SqlConnection {
public:
    explicit PostgresConnection(const std::string& address) {
        std::string conninfo = address;
        if (conninfo.find("connect_timeout") == std::string::npos) {
            conninfo += (conninfo.find('?') == std::string::npos ? "?" : "&");
            conninfo += kConnectTimeout;
        }
        db_ = PQconnectdb(conninfo.c_str());
        if (!db_ || PQstatus(db_) != CONNECTION_OK) {
            const std::string reason = db_ ? FirstLine(PQerrorMessage(db_)) : "out of memory";
            PQfinish(db_);
            db_ = nullptr;
            throw SqlError(reason);
        }
        // Reals come back exactly as they went in; the server's notices stay off the console.
        PQsetNoticeProcessor(
            db_, [](void*, const char*) {}, nullptr);
        Execute("SET extra_float_digits = 3");
        Execute("SET client_encoding = 'UTF8'");
    }
    ~PostgresConnection() override { PQfinish(db_); }

    long long Execute(const std::string& sql,
                      const std::vector<std::string>& params = {}) override {
        Result r = Run(sql, params);
        long long changed = 0;
        const char* tuples = PQcmdTuples(r.get());
        std::from_chars(tuples, tuples + std::char_traits<char>::length(tuples), changed);
        return changed;
    }

    std::vector<Row> Query(const std::string& sql,
                           const std::vector<std::string>& params = {}) override {
        Result r = Run(sql, params);
        std::vector<Row> rows;
        const int n = PQntuples(r.get());
        const int columns = PQnfields(r.get());
        rows.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            Row row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                row.emplace_back(PQgetvalue(r.get(), i, c),
                                 static_cast<std::size_t>(PQgetlength(r.get(), i, c)));
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    void BeginWrite() override { Execute("BEGIN"); }

    int SchemaVersion() override {
        Execute("SELECT pg_advisory_xact_lock(" + std::to_string(kSchemaLock) + ")");
        Execute("CREATE TABLE IF NOT EXISTS archive_schema (version INTEGER NOT NULL)");
        const auto rows = Query("SELECT MAX(version) FROM archive_schema");
        int version = 0;
        if (!rows.empty() && !rows[0][0].empty()) {
            std::from_chars(rows[0][0].data(), rows[0][0].data() + rows[0][0].size(), version);
        }
        return version;
    }

    void SetSchemaVersion(int version) override {
        Execute("DELETE FROM archive_schema");
        Execute("INSERT INTO archive_schema (version) VALUES ($1)", {std::to_string(version)});
    }

private:
    struct ClearResult {
        void operator()(PGresult* r) const { PQclear(r); }
    };
    using Result = std::unique_ptr<PGresult, ClearResult>;

    Result Run(const std::string& sql, const std::vector<std::string>& params) {
        std::vector<const char*> values;
        values.reserve(params.size());
        for (const auto& p : params) values.push_back(p.c_str());
        Result r(PQexecParams(db_, sql.c_str(), static_cast<int>(params.size()), nullptr,
                              values.data(), nullptr, nullptr, 0));
        const auto status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            throw SqlError(FirstLine(PQerrorMessage(db_)));
        }
        return r;
    }

    PGconn* db_ = nullptr;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string& address) {
    return std::make_unique<PostgresConnection>(address);
}

}  // namespace orbisk
