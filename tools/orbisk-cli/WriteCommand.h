#pragma once
// orbisk-cli write FILE --port PORT --block identification|long-term|settings
//                   [--set CONTROL=TEXT]... [--sensor N=QO,QNOM]... [--modes R0,R1,R2,R3]
//                   [--simulate MEMORY.bbd [--trace TRACE]]
//
// "Записать в ПСИ" without windows. FILE is opened as "Открыть" opens it; each --set puts TEXT
// into the control of that name as pasted text (no key filter, cut to the edit's length; a
// choice takes its item index, the work-mode sensor check box 0 or 1); --sensor is the
// normalisation dialog (sensor N, the two readings, "&Ввод"), --modes the work-mode dialog; then
// the block is assembled, written and read back. --simulate writes to the simulated memory
// filled from MEMORY.bbd behind the parallel port PORT and, after a successful write, stores that
// memory back into MEMORY.bbd.
#include <string>
#include <vector>

#include "CliContext.h"

namespace orbisk::cli {

int RunWriteCommand(const std::vector<std::string>& args, CliContext& ctx);

}  // namespace orbisk::cli
