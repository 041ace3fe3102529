#pragma once
// What the archive needs of a database: statements with numbered text parameters ($1, $2, ...),
// transactions and a schema version. SQLite and PostgreSQL each implement it, so the schema and
// every query are written once.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orbisk {

struct SqlError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SqlConnection {
public:
    using Row = std::vector<std::string>;
    virtual ~SqlConnection() = default;

    // Both throw SqlError. Execute returns the number of rows changed.
    virtual long long Execute(const std::string& sql,
                              const std::vector<std::string>& params = {}) = 0;
    virtual std::vector<Row> Query(const std::string& sql,
                                   const std::vector<std::string>& params = {}) = 0;

    // A transaction that writes: it waits for other writers instead of failing.
    virtual void BeginWrite() = 0;
    void Commit() { Execute("COMMIT"); }
    void Rollback() noexcept;

    // Inside a write transaction: the version of the schema found, 0 for a new database, and the
    // same after creating it.
    virtual int SchemaVersion() = 0;
    virtual void SetSchemaVersion(int version) = 0;
};

// The archive over a connection, its schema made or checked. Throws SqlError.
class CheckArchive;
std::unique_ptr<CheckArchive> MakeSqlArchive(std::unique_ptr<SqlConnection> connection,
                                             std::string whereText);

// Thrown when the database is broken or holds something other than this program's archive.
struct DamagedDatabase : SqlError {
    using SqlError::SqlError;
};

// Both throw SqlError (DamagedDatabase for a file that is not a sound archive).
std::unique_ptr<SqlConnection> OpenSqliteConnection(const std::string& fileUtf8);
std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string& address);

}  // namespace orbisk
