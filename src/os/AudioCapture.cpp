#include "os/AudioCapture.h"

#include <system_error>

#include "os/Environment.h"
#include "os/FileBytes.h"

namespace vpsdesk::os {

AudioCaptureSystem FindAudioCapture(const AudioCapturePlaces& places) {
    std::error_code ec;
    if (!places.pulse_server.empty() ||
        (!places.pulse_socket.empty() && std::filesystem::is_socket(places.pulse_socket, ec)))
        return AudioCaptureSystem::kPulse;
    if (std::filesystem::is_character_file(places.oss_device, ec)) return AudioCaptureSystem::kOss;
    const FileRead pcm = ReadFileBytes(places.alsa_pcm_list);
    if (pcm.status == ReadStatus::kRead && pcm.bytes.find("capture") != std::string::npos)
        return AudioCaptureSystem::kAlsa;
    return AudioCaptureSystem::kNone;
}

AudioCaptureSystem AudioCapture() {
    const Environment env = SystemEnvironment();
    AudioCapturePlaces places;
    places.pulse_server = env("PULSE_SERVER").value_or("");
    if (std::optional<std::filesystem::path> runtime = AbsolutePathVariable(env, "XDG_RUNTIME_DIR"))
        places.pulse_socket = *runtime / "pulse" / "native";
    places.oss_device = "/dev/dsp";
    places.alsa_pcm_list = "/proc/asound/pcm";
    return FindAudioCapture(places);
}

}  // namespace vpsdesk::os
