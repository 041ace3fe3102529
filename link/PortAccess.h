#pragma once
// What the bus master needs from the machine's I/O ports: one byte read, one byte write, and an
// open step that can fail with a reason a person can act on. The real port access and the
// simulated reader both implement it.
#include <cstdint>
#include <string>

namespace orbisk {

class PortAccess {
public:
    virtual ~PortAccess() = default;

    // Opens port access; afterwards ActiveHW() tells the outcome and LastError() the reason.
    virtual void OpenDriver() = 0;
    virtual void CloseDriver() = 0;
    virtual bool ActiveHW() const = 0;
    virtual const std::string& LastError() const = 0;

    // Folder of a driver file that ships beside the program, where the platform needs one.
    virtual void SetDriverPath(const std::string& path) { (void)path; }

    // The byte present at an I/O port; a port with nothing behind it reads as 0xFF.
    virtual std::uint8_t GetPortByte(std::uint16_t port) = 0;
    virtual void SetPortByte(std::uint16_t port, std::uint8_t value) = 0;
};

}  // namespace orbisk
