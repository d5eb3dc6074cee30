#pragma once
// Which sound system could record on this computer, in the order a remote-desktop client
// tries them: a PulseAudio (or PipeWire) server, then OSS, then ALSA.
#include <filesystem>
#include <string>

namespace vpsdesk::os {

enum class AudioCaptureSystem { kNone, kPulse, kOss, kAlsa };

struct AudioCapturePlaces {
    std::string pulse_server;             // $PULSE_SERVER; set means a server is named
    std::filesystem::path pulse_socket;   // $XDG_RUNTIME_DIR/pulse/native
    std::filesystem::path oss_device;     // /dev/dsp
    std::filesystem::path alsa_pcm_list;  // /proc/asound/pcm
};

// The first system that can record: a named or listening sound server, an OSS device, an
// ALSA PCM with a capture stream.
AudioCaptureSystem FindAudioCapture(const AudioCapturePlaces& places);

// FindAudioCapture of this computer and this process's environment.
AudioCaptureSystem AudioCapture();

}  // namespace vpsdesk::os
