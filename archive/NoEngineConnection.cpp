// The archive's engines in a build without the database libraries: every open fails with one
// message, so the program works on without the archive as it does with an unreachable server.
#include "archive/ArchiveTexts.h"
#include "archive/SqlConnection.h"

namespace orbisk {

std::unique_ptr<SqlConnection> OpenSqliteConnection(const std::string&) {
    throw SqlError(archive_text::kNoEngine);
}

std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string&) {
    throw SqlError(archive_text::kNoEngine);
}

}  // namespace orbisk
