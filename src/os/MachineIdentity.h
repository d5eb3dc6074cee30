#pragma once
// The hardware facts the machine code is made from, behind an interface so that the
// algorithm can be fed known values and each operating system supplies its own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace vpsdesk::os {

struct CpuSignature {
    std::uint32_t eax = 0;
    std::uint32_t edx = 0;
};

class MachineIdentitySources {
  public:
    static constexpr size_t kDiskDescriptorSize = 1024;
    using DiskDescriptor = std::array<std::uint8_t, kDiskDescriptorSize>;
    using HardwareAddress = std::array<std::uint8_t, 6>;

    virtual ~MachineIdentitySources() = default;

    // EAX and EDX of CPUID leaf 1; zeros where the processor has no such instruction.
    virtual CpuSignature CpuidLeaf1() const = 0;
    // The identity of the chosen storage device, laid out in a zero-filled buffer; nullopt
    // when there is no device or it cannot be queried.
    virtual std::optional<DiskDescriptor> DiskDescriptorBytes() const = 0;
    // The serial number of the chosen volume; nullopt when it cannot be had.
    virtual std::optional<std::uint32_t> VolumeSerial() const = 0;
    // The hardware address of the first network adapter; nullopt when there is none.
    virtual std::optional<HardwareAddress> FirstAdapterAddress() const = 0;
};

// The sources of the operating system the client runs on.
std::unique_ptr<MachineIdentitySources> SystemMachineIdentity();

}  // namespace vpsdesk::os
