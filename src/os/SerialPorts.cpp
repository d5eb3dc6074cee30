#include "os/SerialPorts.h"

#include <algorithm>
#include <system_error>

#include "os/FileBytes.h"

namespace vpsdesk::os {
namespace {

bool FittedUart(const std::filesystem::path& entry) {
    const FileRead type = ReadFileBytes(entry / "type");
    if (type.status != ReadStatus::kRead) return false;
    const std::string digits = type.bytes.substr(0, type.bytes.find_first_not_of("0123456789"));
    return !digits.empty() && digits.find_first_not_of('0') != std::string::npos;
}

}  // namespace

std::vector<std::string> ListSerialPorts(const std::filesystem::path& tty_class_folder) {
    std::vector<std::string> ports;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(tty_class_folder, ec)) {
        const std::string name = entry.path().filename().string();
        const bool adapter = name.starts_with("ttyUSB") || name.starts_with("ttyACM");
        if (adapter || (name.starts_with("ttyS") && FittedUart(entry.path())))
            ports.push_back("/dev/" + name);
    }
    // Natural order, so that ttyS2 comes before ttyS10.
    std::sort(ports.begin(), ports.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return ports;
}

std::vector<std::string> SerialPorts() {
    return ListSerialPorts("/sys/class/tty");
}

}  // namespace vpsdesk::os
