// The archive in a SQLite file: WAL journal, writers wait for each other rather than fail.
#include <sqlite3.h>

#include <charconv>
#include <filesystem>

#include "app/Locations.h"
#include "archive/SqlConnection.h"

namespace orbisk {
namespace {

// Marks the file as this program's archive, telling it from any other SQLite database.
constexpr int kApplicationId = 0x4F524253;
// Long enough for the desktop program and several command lines indexing at once.
constexpr int kBusyTimeoutMs = 60000;

class SqliteConnection final : public SqlConnection {
public:
    explicit SqliteConnection(const std::string& file) {
        const int rc = sqlite3_open_v2(file.c_str(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            db_ = nullptr;
            throw SqlError(file + ": " + reason);
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        try {
            Execute("PRAGMA journal_mode=WAL");
            Execute("PRAGMA synchronous=NORMAL");
        } catch (...) {
            // A file that is no database fails here: the connection is closed, or the file
            // would stay open and could not be set aside for a new archive.
            sqlite3_close(db_);
            db_ = nullptr;
            throw;
        }
    }
    ~SqliteConnection() override { sqlite3_close(db_); }

    long long Execute(const std::string& sql,
                      const std::vector<std::string>& params = {}) override {
        Run(sql, params, nullptr);
        return sqlite3_changes(db_);
    }

    std::vector<Row> Query(const std::string& sql,
                           const std::vector<std::string>& params = {}) override {
        std::vector<Row> rows;
        Run(sql, params, &rows);
        return rows;
    }

    void BeginWrite() override { Execute("BEGIN IMMEDIATE"); }

    int SchemaVersion() override {
        const int version = Integer("PRAGMA user_version");
        const int application = Integer("PRAGMA application_id");
        const int tables = Integer("SELECT COUNT(*) FROM sqlite_master");
        if (application != kApplicationId && (version != 0 || tables != 0)) {
            throw DamagedDatabase("not an archive of checks");
        }
        return version;
    }

    void SetSchemaVersion(int version) override {
        Execute("PRAGMA application_id=" + std::to_string(kApplicationId));
        Execute("PRAGMA user_version=" + std::to_string(version));
    }

private:
    int Integer(const std::string& sql) {
        const auto rows = Query(sql, {});
        int v = 0;
        if (!rows.empty() && !rows[0].empty()) {
            std::from_chars(rows[0][0].data(), rows[0][0].data() + rows[0][0].size(), v);
        }
        return v;
    }

    [[noreturn]] void Fail(int rc) {
        const std::string reason = sqlite3_errmsg(db_);
        const int primary = rc & 0xFF;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) throw DamagedDatabase(reason);
        throw SqlError(reason);
    }

    // The numbered parameters are written $1, $2, ... as PostgreSQL has them; SQLite reads them
    // as ?1, ?2, ...
    static std::string Numbered(const std::string& sql) {
        std::string out = sql;
        for (std::size_t i = 0; i + 1 < out.size(); ++i) {
            if (out[i] == '$' && out[i + 1] >= '0' && out[i + 1] <= '9') out[i] = '?';
        }
        return out;
    }

    void Run(const std::string& sql, const std::vector<std::string>& params,
             std::vector<Row>* rows) {
        sqlite3_stmt* stmt = nullptr;
        const std::string text = Numbered(sql);
        int rc =
            sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) Fail(rc);
        struct Finalizer {
            sqlite3_stmt* s;
            ~Finalizer() { sqlite3_finalize(s); }
        } finalizer{stmt};
        for (std::size_t i = 0; i < params.size(); ++i) {
            rc = sqlite3_bind_text(stmt, static_cast<int>(i + 1), params[i].data(),
                                   static_cast<int>(params[i].size()), SQLITE_TRANSIENT);
            if (rc != SQLITE_OK) Fail(rc);
        }
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!rows) continue;
            Row row;
            const int n = sqlite3_column_count(stmt);
            for (int c = 0; c < n; ++c) row.push_back(ColumnText(stmt, c));
            rows->push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) Fail(rc);
    }

    // Reals in their shortest exact form, so that nothing is lost on the way back.
    static std::string ColumnText(sqlite3_stmt* stmt, int c) {
        switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_FLOAT: {
                char buf[32];
                const auto r = std::to_chars(buf, buf + sizeof buf, sqlite3_column_double(stmt, c));
                return std::string(buf, r.ptr);
            }
            case SQLITE_NULL:
                return {};
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)))
                         : std::string();
            }
        }
    }

    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenSqliteConnection(const std::string& fileUtf8) {
    // The data folder is made when something first needs it.
    std::error_code ec;
    std::filesystem::create_directories(Utf8ToPath(fileUtf8).parent_path(), ec);
    return std::make_unique<SqliteConnection>(fileUtf8);
}

}  // namespace orbisk
