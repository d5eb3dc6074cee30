#pragma once
// The machine-code sources on Linux: CPUID, the first disk's identity from sysfs, the
// root file system's id and the first network adapter's address. Every choice is made in
// sorted order so the code is the same from run to run.
#include <filesystem>

#include "os/MachineIdentity.h"

namespace vpsdesk::os {

class LinuxMachineIdentity : public MachineIdentitySources {
  public:
    // `sys_root` stands for /sys and `volume_root` for the volume whose id is the serial,
    // so tests can point them at a made-up tree.
    explicit LinuxMachineIdentity(std::filesystem::path sys_root = "/sys",
                                  std::filesystem::path volume_root = "/");

    CpuSignature CpuidLeaf1() const override;
    // The first disk in sorted /sys/block order that is neither virtual (loop, zram,
    // device mapper) nor removable: its vendor, model and serial, trimmed, each ended by a
    // zero byte, at the start of the zero-filled buffer.
    std::optional<DiskDescriptor> DiskDescriptorBytes() const override;
    // statvfs f_fsid of the volume root, its two halves combined by exclusive or.
    std::optional<std::uint32_t> VolumeSerial() const override;
    // The first interface in sorted /sys/class/net order with a six-byte, not all-zero
    // address, skipping "lo"; interfaces backed by a device come before virtual ones
    // (bridges, tunnels, veth pairs), whose addresses may change at every boot.
    std::optional<HardwareAddress> FirstAdapterAddress() const override;

  private:
    std::filesystem::path sys_root_;
    std::filesystem::path volume_root_;
};

}  // namespace vpsdesk::os
