#include "os/LinuxMachineIdentity.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "os/FileBytes.h"

namespace vpsdesk::os {
namespace fs = std::filesystem;
namespace {

std::string ReadSysfsText(const fs::path& file) {
    FileRead read = ReadFileBytes(file);
    if (read.status != ReadStatus::kRead) return {};
    std::string& text = read.bytes;
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<fs::path> SortedEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The serial number of a SCSI device from its unit serial number page (0x80): a four-byte
// header with the page length in bytes 2 and 3, then the serial.
std::string SerialFromVpdPage(const fs::path& file) {
    FileRead read = ReadFileBytes(file);
    const std::string& page = read.bytes;
    if (read.status != ReadStatus::kRead || page.size() < 4 ||
        static_cast<unsigned char>(page[1]) != 0x80)
        return {};
    size_t length =
        (static_cast<unsigned char>(page[2]) << 8) | static_cast<unsigned char>(page[3]);
    std::string serial = page.substr(4, length);
    size_t first = serial.find_first_not_of(' ');
    size_t last = serial.find_last_not_of(std::string_view(" \0", 2));
    return first == std::string::npos ? std::string() : serial.substr(first, last - first + 1);
}

std::string DiskSerial(const fs::path& disk) {
    for (const fs::path& file : {disk / "device" / "serial", disk / "serial"}) {
        std::string serial = ReadSysfsText(file);
        if (!serial.empty()) return serial;
    }
    return SerialFromVpdPage(disk / "device" / "vpd_pg80");
}

std::optional<MachineIdentitySources::HardwareAddress> ParseAddress(const std::string& text) {
    MachineIdentitySources::HardwareAddress address{};
    if (text.size() != 17) return std::nullopt;
    for (size_t i = 0; i < address.size(); ++i) {
        if (i > 0 && text[i * 3 - 1] != ':') return std::nullopt;
        const std::string pair = text.substr(i * 3, 2);
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        address[i] = static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16));
    }
    if (std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; }))
        return std::nullopt;
    return address;
}

}  // namespace

std::unique_ptr<MachineIdentitySources> SystemMachineIdentity() {
    return std::make_unique<LinuxMachineIdentity>();
}

LinuxMachineIdentity::LinuxMachineIdentity(fs::path sys_root, fs::path volume_root)
    : sys_root_(std::move(sys_root)), volume_root_(std::move(volume_root)) {}

CpuSignature LinuxMachineIdentity::CpuidLeaf1() const {
    CpuSignature signature;
#if defined(__x86_64__) || defined(__i386__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        signature.eax = eax;
        signature.edx = edx;
    }
#endif
    return signature;
}

std::optional<MachineIdentitySources::DiskDescriptor> LinuxMachineIdentity::DiskDescriptorBytes()
    const {
    for (const fs::path& disk : SortedEntries(sys_root_ / "block")) {
        std::error_code ec;
        fs::path real = fs::canonical(disk, ec);
        if (ec || real.string().find("/devices/virtual/") != std::string::npos) continue;
        if (!Exists(disk / "device") || ReadSysfsText(disk / "removable") == "1") continue;

        std::string identity;
        for (const std::string& part : {ReadSysfsText(disk / "device" / "vendor"),
                                        ReadSysfsText(disk / "device" / "model"), DiskSerial(disk)})
            identity += part + '\0';
        DiskDescriptor descriptor{};
        std::memcpy(descriptor.data(), identity.data(),
                    std::min(identity.size(), descriptor.size()));
        return descriptor;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> LinuxMachineIdentity::VolumeSerial() const {
    struct statvfs info {};
    if (statvfs(volume_root_.c_str(), &info) != 0) return std::nullopt;
    auto fsid = static_cast<std::uint64_t>(info.f_fsid);
    return static_cast<std::uint32_t>(fsid ^ (fsid >> 32));
}

std::optional<MachineIdentitySources::HardwareAddress> LinuxMachineIdentity::FirstAdapterAddress()
    const {
    std::vector<fs::path> interfaces = SortedEntries(sys_root_ / "class" / "net");
    for (bool want_device : {true, false}) {
        for (const fs::path& interface : interfaces) {
            if (interface.filename() == "lo" || Exists(interface / "device") != want_device)
                continue;
            if (auto address = ParseAddress(ReadSysfsText(interface / "address"))) return address;
        }
    }
    return std::nullopt;
}

}  // namespace vpsdesk::os
