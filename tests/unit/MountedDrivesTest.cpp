#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TempFolderTest.h"
#include "os/MountedDrives.h"

using namespace vpsdesk::os;
namespace fs = std::filesystem;

namespace {

class MountedDrivesTest : public vpsdesk::test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(dir_ / "by-label");
        fs::create_directories(dir_ / "dev");
    }

    fs::path Table(std::string_view text) const {
        std::ofstream(dir_ / "mounts", std::ios::binary) << text;
        return dir_ / "mounts";
    }
    // A mount point that exists as a directory under the test folder.
    std::string Dir(std::string_view name) const {
        fs::create_directories(dir_ / "m" / name);
        return (dir_ / "m" / name).string();
    }
};

}  // namespace

TEST_F(MountedDrivesTest, ReadsTheTableAndUndoesOctalEscapes) {
    auto drives =
        ReadMountTable(Table("/dev/sda1 / ext4 rw,relatime 0 0\n"
                             "proc /proc proc rw 0 0\n"
                             "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"));
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0], (MountedDrive{"/", "", "ext4", "/dev/sda1"}));
    EXPECT_EQ(drives[2].mount_point, "/media/My Disk");
    EXPECT_TRUE(ReadMountTable(dir_ / "missing").empty());
}

TEST(MountedDrives, OnlyLocalDiskFileSystemsCount) {
    EXPECT_TRUE(IsLocalFileSystem({"/", "", "ext4", "/dev/vda"}));
    EXPECT_TRUE(IsLocalFileSystem({"/win", "", "fuseblk", "/dev/sdb2"}));
    EXPECT_TRUE(IsLocalFileSystem({"/tank", "", "zfs", "tank/home"}));
    EXPECT_FALSE(IsLocalFileSystem({"/proc", "", "proc", "proc"}));
    EXPECT_FALSE(IsLocalFileSystem({"/dev/shm", "", "tmpfs", "tmpfs"}));
    EXPECT_FALSE(IsLocalFileSystem({"/net", "", "nfs4", "server:/export"}));
    EXPECT_FALSE(IsLocalFileSystem({"/share", "", "cifs", "//server/share"}));
    EXPECT_FALSE(IsLocalFileSystem({"/snap/core/1", "", "squashfs", "/dev/loop3"}));
    EXPECT_FALSE(IsLocalFileSystem({"/media/cdrom", "", "iso9660", "/dev/sr0"}));
}

TEST_F(MountedDrivesTest, ListsLabelledDirectoriesSortedWithTheLastMountWinning) {
    // udev's links: relative to the folder, names with "\xNN" escapes. The devices need
    // not exist for the names to match.
    ASSERT_EQ(dir_.parent_path(), "/tmp");
    fs::create_symlink("../../../dev/sdb1", dir_ / "by-label" / "Backup\\x20Disk");
    fs::create_symlink("/dev/sda1", dir_ / "by-label" / "系统");
    std::ofstream(dir_ / "hosts");
    const std::string data = Dir("data"), tmp = Dir("tmp"), over = Dir("b");
    auto drives = ListMountedDrives(
        Table("/dev/sda1 " + data + " ext4 rw 0 0\n" +                       //
              "tmpfs " + tmp + " tmpfs rw 0 0\n" +                           //
              "/dev/sda1 " + over + " ext4 rw 0 0\n" +                       //
              "/dev/sdb1 " + over + " xfs rw 0 0\n" +                        // hides the one before
              "/dev/sda1 " + (dir_ / "hosts").string() + " ext4 rw 0 0\n" +  // a file
              "/dev/sdc1 " + (dir_ / "gone").string() + " ext4 rw 0 0\n"),
        dir_ / "by-label");
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0], (MountedDrive{over, "Backup Disk", "xfs", "/dev/sdb1"}));
    EXPECT_EQ(drives[1], (MountedDrive{data, "系统", "ext4", "/dev/sda1"}));
}

TEST(MountedDrives, ThisComputersDrivesAreLocalDirectories) {
    // What a machine mounts varies (a container's overlay root lists nothing at all); what
    // is listed is always a local file system on a directory.
    for (const MountedDrive& drive : MountedDrives()) {
        EXPECT_TRUE(IsLocalFileSystem(drive)) << drive.mount_point;
        EXPECT_TRUE(fs::is_directory(drive.mount_point)) << drive.mount_point;
    }
}
