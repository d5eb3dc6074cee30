#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "TempFolderTest.h"
#include "os/LinuxMachineIdentity.h"
#include "os/MachineCode.h"

using namespace vpsdesk::os;
namespace fs = std::filesystem;

namespace {

struct FakeSources : MachineIdentitySources {
    CpuSignature cpu{0x000906EA, 0xBFEBFBFF};
    std::optional<DiskDescriptor> disk;
    std::optional<std::uint32_t> volume = 0x8000ABCD;
    std::optional<HardwareAddress> mac = HardwareAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

    FakeSources() {
        disk.emplace();
        const char identity[] = "ATA\0Disk\0S1";  // plus its terminator
        std::copy(identity, identity + sizeof identity, disk->begin());
    }
    CpuSignature CpuidLeaf1() const override { return cpu; }
    std::optional<DiskDescriptor> DiskDescriptorBytes() const override { return disk; }
    std::optional<std::uint32_t> VolumeSerial() const override { return volume; }
    std::optional<HardwareAddress> FirstAdapterAddress() const override { return mac; }
};

void Write(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

TEST(MachineCode, PartsUseSignedDecimalAndDashedUpperCaseAddress) {
    FakeSources sources;
    MachineCodeParts parts = MachineCodeInputs(sources);
    EXPECT_EQ(parts.a, "-1075053569591594");  // EDX first, both signed
    EXPECT_EQ(parts.b, "-940476534");         // CRC-32 over all 1,024 bytes
    EXPECT_EQ(parts.c, "-2147439667");
    EXPECT_EQ(parts.d, "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(ComputeMachineCode(sources), "7C3ACCC546F23E38");
}

TEST(MachineCode, MissingSourcesGiveZerosAndEmptyAddressButStillSixteenCharacters) {
    FakeSources sources;
    sources.disk.reset();
    sources.volume.reset();
    sources.mac.reset();
    MachineCodeParts parts = MachineCodeInputs(sources);
    EXPECT_EQ(parts.b + "|" + parts.c + "|" + parts.d, "0|0|");
    EXPECT_EQ(ComputeMachineCode(sources), "151797A979BD7AAF");
}

TEST(MachineCode, ThisComputerGivesTheSameWellFormedCodeEveryTime) {
    std::string first = ComputeMachineCode(LinuxMachineIdentity());
    EXPECT_TRUE(std::regex_match(first, std::regex("[0-9A-F]{16}"))) << first;
    EXPECT_EQ(ComputeMachineCode(*SystemMachineIdentity()), first);
}

// The temporary folder stands for /sys.
class MachineIdentityTree : public vpsdesk::test::TempFolderTest {
  protected:

    // A disk as sysfs shows it: /sys/block/NAME links to its device folder.
    void AddDisk(const std::string& name, const std::string& device_folder,
                 const std::string& model, bool removable = false) {
        fs::path real = dir_ / "devices" / device_folder / name;
        Write(real / "device" / "vendor", "ATA     \n");
        Write(real / "device" / "model", model + "   \n");
        Write(real / "removable", removable ? "1\n" : "0\n");
        fs::create_directories(dir_ / "block");
        fs::create_directory_symlink(fs::path("..") / "devices" / device_folder / name,
                                     dir_ / "block" / name);
    }
    void AddInterface(const std::string& name, const std::string& address, bool device) {
        Write(dir_ / "class" / "net" / name / "address", address + "\n");
        if (device) fs::create_directories(dir_ / "class" / "net" / name / "device");
    }
    std::string DiskText() {
        auto disk = LinuxMachineIdentity(dir_).DiskDescriptorBytes();
        if (!disk) return "none";
        std::string text(reinterpret_cast<const char*>(disk->data()), disk->size());
        return text.substr(0, text.find_last_not_of('\0') + 1);
    }
};

TEST_F(MachineIdentityTree, FirstRealFixedDiskInSortedOrderFeedsTheDescriptor) {
    EXPECT_EQ(DiskText(), "none");
    AddDisk("loop0", "virtual/block", "Loop");
    AddDisk("sda", "pci0/usb1", "Stick", /*removable=*/true);
    AddDisk("sdc", "pci0/ata2", "Second");
    AddDisk("sdb", "pci0/ata1", "First");
    EXPECT_EQ(DiskText(), std::string("ATA\0First", 9));

    // The serial comes from the SCSI serial-number page when sysfs has no serial file.
    Write(dir_ / "devices/pci0/ata1/sdb/device/vpd_pg80",
          std::string("\x00\x80\x00\x06  SN42", 10));
    EXPECT_EQ(DiskText(), std::string("ATA\0First\0SN42", 14));
}

TEST_F(MachineIdentityTree, AdapterIsFirstDeviceBackedNonZeroSixByteAddress) {
    EXPECT_EQ(LinuxMachineIdentity(dir_).FirstAdapterAddress(), std::nullopt);
    AddInterface("lo", "00:00:00:00:00:01", false);
    AddInterface("docker0", "02:42:ac:11:00:02", false);
    EXPECT_EQ(LinuxMachineIdentity(dir_).FirstAdapterAddress(),
              (MachineIdentitySources::HardwareAddress{0x02, 0x42, 0xAC, 0x11, 0x00, 0x02}));
    AddInterface("eth0", "00:00:00:00:00:00", true);
    AddInterface("ib0", "80:00:02:08:fe:80:00:00:00:00", true);
    AddInterface("wlan0", "a4:5e:60:01:02:03", true);
    EXPECT_EQ(LinuxMachineIdentity(dir_).FirstAdapterAddress(),
              (MachineIdentitySources::HardwareAddress{0xA4, 0x5E, 0x60, 0x01, 0x02, 0x03}));
}
