#pragma once
// The serial line the desktop program talks to the adapter through: on Windows the Win32 line
// the command-line tool uses, whose steps are the system's own; elsewhere the line on
// QSerialPort.
#include <memory>

#include "link/SerialLine.h"

namespace orbisk {

std::unique_ptr<SerialLine> MakeDesktopSerialLine();

}  // namespace orbisk
