#pragma once
// The computer's fixed drives, Linux style: the mounted local file systems. Each one is
// offered for mapping into a remote session by its mount point.
#include <filesystem>
#include <string>
#include <vector>

namespace vpsdesk::os {

struct MountedDrive {
    std::string mount_point;  // "/", "/home"
    std::string label;        // the file system's label; empty when it has none
    std::string type;         // "ext4", "vfat"
    std::string device;       // "/dev/sda1", or a ZFS dataset
    bool operator==(const MountedDrive&) const = default;
};

// Every entry of a table in the format of /proc/self/mounts, in table order, with the
// octal escapes of names undone. Empty when the table cannot be read.
std::vector<MountedDrive> ReadMountTable(const std::filesystem::path& table);

// A file system on a local block device (or a ZFS dataset). Kernel views (proc, sysfs,
// tmpfs, cgroup...), network shares, optical discs and read-only images (squashfs: snap
// packages) are not drives the customer would hand to a remote computer.
bool IsLocalFileSystem(const MountedDrive& drive);

// The label of each device named in a by-label folder (/dev/disk/by-label), keyed by the
// device the link resolves to. udev writes unusual characters as "\xNN"; they are undone.
std::vector<std::pair<std::string, std::string>> LabelsByDevice(
    const std::filesystem::path& by_label_folder);

// The local file systems of `table` whose mount point is a directory (not a file bound
// into place), one per mount point (the last mount wins, as it hides the others), sorted by
// mount point, with labels from `by_label_folder`.
std::vector<MountedDrive> ListMountedDrives(const std::filesystem::path& table,
                                            const std::filesystem::path& by_label_folder);

// ListMountedDrives of this process: /proc/self/mounts and /dev/disk/by-label.
std::vector<MountedDrive> MountedDrives();

}  // namespace vpsdesk::os
