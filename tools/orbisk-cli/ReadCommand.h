#pragma once
// orbisk-cli read --port PORT -o FILE [--simulate DATA.bbd] [--trace FILE]
//
// Reads the whole image from the reader over the same link code as the desktop program and
// stores it as "Сохранить" does. PORT is a serial device path, "COMn" (see ORBISK_SERIAL_PORTS),
// or a parallel port's base address (888, 0x378). --simulate puts a simulated reader holding
// DATA.bbd behind that parallel port instead of the machine's; --trace then records the SDA/SCL
// levels of the whole exchange into FILE (one byte per change: bit 0 SCL, bit 1 SDA).
#include <string>
#include <vector>

#include "CliContext.h"

namespace orbisk::cli {

int RunReadCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
