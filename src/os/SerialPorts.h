#pragma once
// The computer's serial ports, as device files a remote session can be given.
#include <filesystem>
#include <string>
#include <vector>

namespace vpsdesk::os {

// The serial devices present under a sysfs tty folder (/sys/class/tty), as /dev paths,
// sorted: USB and ACM adapters always, and the on-board ttyS ports whose UART type is
// known (the kernel lists 4 to 32 ttyS entries whether or not a port is fitted; an absent
// one has type 0).
std::vector<std::string> ListSerialPorts(const std::filesystem::path& tty_class_folder);

// ListSerialPorts of this computer.
std::vector<std::string> SerialPorts();

}  // namespace vpsdesk::os
