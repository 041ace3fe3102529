#include "Usage.h"

#include <iostream>

#include "CliContext.h"

namespace orbisk::cli {

const char kUsage[] =
    "usage: orbisk-cli [--config PATH] [--now \"DD.MM.YYYY HH:MM\"] [--yes] [--correction] "
    "COMMAND ...\n"
    "  show FILE [--previous PREV] [--filter 0..3] [--step 0..2] [--date DD.MM.YYYY]\n"
    "  name FILE\n"
    "  read --port PORT -o FILE [--simulate DATA.bbd [--trace FILE]]\n"
    "  report FILE --kind 1..5 [--cycles N] [--previous PREV] [--specialist FAMILY] [-o OUT]\n"
    "  write FILE --port PORT --block identification|long-term|settings [--set CONTROL=TEXT]...\n"
    "        [--sensor N=QO,QNOM]... [--modes R0,R1,R2,R3] [--simulate MEMORY.bbd [--trace "
    "FILE]]\n"
    "  archive [--archive PATH|URL] add PATH... | previous FILE | history FILE | list\n";

int Usage(const std::string& problem) {
    std::cerr << "orbisk-cli: " << problem << '\n' << kUsage;
    return kExitUsage;
}

}  // namespace orbisk::cli
