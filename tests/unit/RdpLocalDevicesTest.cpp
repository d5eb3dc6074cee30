// The local devices a session can use (serial ports from sysfs, the sound system that
// records) and what the stored remote-desktop settings become for xfreerdp because of them.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "TempFolderTest.h"
#include "os/AudioCapture.h"
#include "os/SerialPorts.h"
#include "servers/RdpLocalDevices.h"

using namespace vpsdesk::servers;
using vpsdesk::os::AudioCaptureSystem;
namespace fs = std::filesystem;

namespace {

class RdpLocalDevicesTest : public vpsdesk::test::TempFolderTest {
  protected:
    void Put(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
};

TEST_F(RdpLocalDevicesTest, SerialPortsAreFittedUartsAndUsbAdaptersInNaturalOrder) {
    const fs::path tty = dir_ / "tty";
    Put(tty / "ttyS0" / "type", "4\n");
    Put(tty / "ttyS1" / "type", "0\n");  // listed by the kernel, no port fitted
    Put(tty / "ttyS10" / "type", "4\n");
    Put(tty / "ttyS2" / "type", "4\n");
    fs::create_directories(tty / "ttyS3");  // no type at all
    fs::create_directories(tty / "ttyUSB0");
    fs::create_directories(tty / "ttyACM0");
    fs::create_directories(tty / "tty1");
    fs::create_directories(tty / "console");
    EXPECT_EQ(vpsdesk::os::ListSerialPorts(tty),
              (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyACM0",
                                        "/dev/ttyUSB0"}));
    EXPECT_TRUE(vpsdesk::os::ListSerialPorts(dir_ / "none").empty());
}

TEST_F(RdpLocalDevicesTest, RecordingNeedsASoundServerAnOssDeviceOrAnAlsaCaptureStream) {
    vpsdesk::os::AudioCapturePlaces places{"", dir_ / "pulse" / "native", dir_ / "dsp",
                                           dir_ / "pcm"};
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kNone);
    Put(dir_ / "pcm", "00-00: ALC892 Analog : ALC892 Analog : playback 1\n");
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kNone);
    Put(dir_ / "pcm", "00-00: ALC892 Analog : ALC892 Analog : playback 1 : capture 1\n");
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kAlsa);
    Put(dir_ / "dsp", "");  // a plain file is no sound device
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kAlsa);

    fs::create_directories(dir_ / "pulse");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = places.pulse_socket.string();
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kPulse);
    close(listener);

    places.pulse_socket.clear();
    places.pulse_server = "tcp:192.0.2.1";
    EXPECT_EQ(vpsdesk::os::FindAudioCapture(places), AudioCaptureSystem::kPulse);
}

TEST(HonouredRdpSettings, ColourFourAndEightBecomeFifteenRecordingNeedsADevice) {
    RemoteDesktopSettings stored;
    stored.audio_capture = "1";
    const RdpLocalDevices none;
    const RdpLocalDevices alsa{{}, AudioCaptureSystem::kAlsa};
    for (const char* depth : {"4", "8"}) {
        stored.color_depth = depth;
        EXPECT_EQ(HonouredRdpSettings(stored, none).color_depth, "15") << depth;
    }
    for (const char* depth : {"16", "24", "32", ""}) {
        stored.color_depth = depth;
        EXPECT_EQ(HonouredRdpSettings(stored, none).color_depth, depth) << depth;
    }
    EXPECT_EQ(HonouredRdpSettings(stored, none).audio_capture, "0");
    EXPECT_EQ(HonouredRdpSettings(stored, alsa).audio_capture, "1");
    stored.audio_capture = "0";
    EXPECT_EQ(HonouredRdpSettings(stored, alsa).audio_capture, "0");
}

TEST_F(RdpLocalDevicesTest, SwitchesCarryNonAsciiDrivesSerialPortsAndAlsaRecording) {
    const std::string data = (dir_ / "数据").string();
    const std::string plain = (dir_ / "plain").string();
    fs::create_directories(data);
    fs::create_directories(plain);
    fs::create_directories(dir_ / "a,b数据");
    std::string name = data;
    for (char& c : name)
        if (c == '/') c = '_';

    RemoteDesktopSettings stored;
    stored.drives = plain + ";" + data + ";" + (dir_ / "a,b数据").string() + ";" +
                    (dir_ / "没有").string() + ";";
    // The file keeps the ASCII path only: xfreerdp would refuse the GBK bytes of the other.
    EXPECT_EQ(FreeRdpDriveList(stored.drives), plain + ";");
    EXPECT_EQ(RdpDeviceSwitches(stored, {}),
              std::vector<std::string>{"/drive:" + name + "," + data});

    const RdpLocalDevices devices{{"/dev/ttyS0", "/dev/ttyUSB0"}, AudioCaptureSystem::kAlsa};
    stored.drives.clear();
    stored.serial_ports = "1";
    stored.audio_capture = "1";
    EXPECT_EQ(RdpDeviceSwitches(stored, devices),
              (std::vector<std::string>{"/serial:COM1,/dev/ttyS0", "/serial:COM2,/dev/ttyUSB0",
                                        "/microphone:sys:alsa"}));
    stored.serial_ports = "0";
    EXPECT_EQ(RdpDeviceSwitches(stored, {{"/dev/ttyS0"}, AudioCaptureSystem::kPulse}),
              std::vector<std::string>{});
}

}  // namespace
