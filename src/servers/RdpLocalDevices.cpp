#include "servers/RdpLocalDevices.h"

#include "os/SerialPorts.h"

namespace vpsdesk::servers {

RdpLocalDevices ProbeRdpLocalDevices(const RemoteDesktopSettings& stored) {
    RdpLocalDevices devices;
    if (stored.serial_ports == "1") devices.serial_ports = os::SerialPorts();
    if (stored.audio_capture == "1") devices.capture = os::AudioCapture();
    return devices;
}

RemoteDesktopSettings HonouredRdpSettings(RemoteDesktopSettings stored,
                                          const RdpLocalDevices& devices) {
    if (stored.color_depth == "4" || stored.color_depth == "8")
        stored.color_depth = std::string(kFallbackColorDepth);
    if (stored.audio_capture == "1" && devices.capture == os::AudioCaptureSystem::kNone)
        stored.audio_capture = "0";
    return stored;
}

std::vector<std::string> RdpDeviceSwitches(const RemoteDesktopSettings& stored,
                                           const RdpLocalDevices& devices,
                                           const DirectoryCheck& exists) {
    std::vector<std::string> switches = FreeRdpDriveSwitches(stored.drives, exists);
    if (stored.serial_ports == "1") {
        for (size_t i = 0; i < devices.serial_ports.size(); ++i)
            switches.push_back("/serial:COM" + std::to_string(i + 1) + "," +
                               devices.serial_ports[i]);
    }
    if (stored.audio_capture == "1" && devices.capture == os::AudioCaptureSystem::kAlsa)
        switches.push_back("/microphone:sys:alsa");
    return switches;
}

}  // namespace vpsdesk::servers
