#include "link/qt/DesktopSerialLine.h"

#ifdef _WIN32
#include "link/Win32SerialLine.h"
#else
#include "link/qt/QtSerialLine.h"
#endif

namespace orbisk {

std::unique_ptr<SerialLine> MakeDesktopSerialLine() {
#ifdef _WIN32
    return std::make_unique<Win32SerialLine>();
#else
    return std::make_unique<QtSerialLine>();
#endif
}

}  // namespace orbisk
