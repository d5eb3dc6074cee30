#include "os/MountedDrives.h"

#include <mntent.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <string_view>
#include <system_error>

namespace vpsdesk::os {
namespace fs = std::filesystem;
namespace {

// Block-device file systems that are not fixed disks: optical media and the read-only
// images that packaging systems mount from loop devices.
constexpr std::array<std::string_view, 5> kNotFixed = {"iso9660", "udf", "squashfs", "erofs",
                                                       "cramfs"};

// udev's encoding of label characters that are unsafe in a file name: "\x20" and so on.
std::string UndoHexEscapes(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned value = 0;
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const char* first = name.data() + i + 2;
            auto [end, error] = std::from_chars(first, first + 2, value, 16);
            if (error == std::errc() && end == first + 2) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(name[i]);
    }
    return out;
}

std::string CanonicalOrSelf(const fs::path& path) {
    std::error_code ec;
    fs::path canonical = fs::canonical(path, ec);
    return ec ? path.string() : canonical.string();
}

}  // namespace

std::vector<MountedDrive> ReadMountTable(const fs::path& table) {
    std::vector<MountedDrive> drives;
    std::unique_ptr<FILE, int (*)(FILE*)> stream(setmntent(table.c_str(), "r"), endmntent);
    if (!stream) return drives;
    mntent entry{};
    std::array<char, 4096> buffer{};
    // getmntent_r skips lines it cannot read and undoes the octal escapes ("\040").
    while (getmntent_r(stream.get(), &entry, buffer.data(), static_cast<int>(buffer.size())))
        drives.push_back({entry.mnt_dir, {}, entry.mnt_type, entry.mnt_fsname});
    return drives;
}

bool IsLocalFileSystem(const MountedDrive& drive) {
    if (drive.type == "zfs") return true;
    if (!drive.device.starts_with("/dev/")) return false;
    return std::find(kNotFixed.begin(), kNotFixed.end(), drive.type) == kNotFixed.end();
}

std::vector<std::pair<std::string, std::string>> LabelsByDevice(const fs::path& by_label_folder) {
    std::vector<std::pair<std::string, std::string>> labels;
    std::error_code ec;
    for (fs::directory_iterator it(by_label_folder, ec), end; !ec && it != end; it.increment(ec)) {
        // The links are relative ("../../sda1"); a device node that is itself a link
        // (device-mapper names) is followed further.
        std::error_code link_error;
        fs::path target = fs::read_symlink(it->path(), link_error);
        if (link_error) continue;
        if (target.is_relative()) target = by_label_folder / target;
        labels.emplace_back(CanonicalOrSelf(target.lexically_normal()),
                            UndoHexEscapes(it->path().filename().string()));
    }
    return labels;
}

std::vector<MountedDrive> ListMountedDrives(const fs::path& table,
                                            const fs::path& by_label_folder) {
    // Keyed by mount point: sorted, and a later mount replaces the one it covers.
    std::map<std::string, MountedDrive> by_mount_point;
    for (MountedDrive& drive : ReadMountTable(table)) {
        std::error_code ec;
        if (!IsLocalFileSystem(drive) || !fs::is_directory(drive.mount_point, ec)) continue;
        by_mount_point.insert_or_assign(drive.mount_point, std::move(drive));
    }
    const auto labels = LabelsByDevice(by_label_folder);
    std::vector<MountedDrive> drives;
    drives.reserve(by_mount_point.size());
    for (auto& [mount_point, drive] : by_mount_point) {
        const std::string device = CanonicalOrSelf(drive.device);
        for (const auto& [labelled, label] : labels)
            if (labelled == device) drive.label = label;
        drives.push_back(std::move(drive));
    }
    return drives;
}

std::vector<MountedDrive> MountedDrives() {
    return ListMountedDrives("/proc/self/mounts", "/dev/disk/by-label");
}

}  // namespace vpsdesk::os
