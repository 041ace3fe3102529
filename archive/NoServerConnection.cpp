// The server engine in a build without the PostgreSQL library (Windows: Debian has none for
// MinGW): an archive on a server fails to open with its own message, and the program works on
// without the archive as it does with an unreachable server.
#include "archive/ArchiveTexts.h"
#include "archive/SqlConnection.h"

namespace orbisk {

std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string&) {
    throw SqlError(archive_text::kNoServerEngine);
}

}  // namespace orbisk
