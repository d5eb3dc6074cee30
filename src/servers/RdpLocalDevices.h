#pragma once
// The local devices a remote session can use, and what the stored settings become for
// xfreerdp because of them. The settings file keeps what the customer chose (other clients
// read it); only the connection file and the command line change.
#include <string>
#include <vector>

#include "os/AudioCapture.h"
#include "servers/RdpClientCommand.h"
#include "servers/RemoteDesktopLaunch.h"

namespace vpsdesk::servers {

struct RdpLocalDevices {
    std::vector<std::string> serial_ports;  // /dev paths, see os::SerialPorts
    os::AudioCaptureSystem capture = os::AudioCaptureSystem::kNone;
};

// This computer's, as far as `stored` needs them: serial ports only when "串行口" is on,
// the sound systems only when "录音" is.
RdpLocalDevices ProbeRdpLocalDevices(const RemoteDesktopSettings& stored);

// The colour depth xfreerdp falls back to for 4 and 8 bits, which it cannot draw (the
// session ends at its first picture).
inline constexpr std::string_view kFallbackColorDepth = "15";

// The settings as the connection file carries them: "监视器颜色" 4 and 8 become
// kFallbackColorDepth, and "录音" is off without a sound system that records (xfreerdp
// would drop and rebuild the session every second or so).
RemoteDesktopSettings HonouredRdpSettings(RemoteDesktopSettings stored,
                                          const RdpLocalDevices& devices);

// xfreerdp's switches for what its file keys do not carry: the drives of
// FreeRdpDriveSwitches; "/serial:COMn,DEVICE" for each serial port present when "串行口"
// is on (redirectcomports alone redirects no port); and ALSA for recording when ALSA is the
// only sound system that records (xfreerdp would try OSS first and drop the session).
std::vector<std::string> RdpDeviceSwitches(const RemoteDesktopSettings& stored,
                                           const RdpLocalDevices& devices,
                                           const DirectoryCheck& exists = IsExistingDirectory);

}  // namespace vpsdesk::servers
