// Where the updater looks for the platform: the settings file beside it.
#include <gtest/gtest.h>

#include "UpdateJob.h"
#include "UpdaterFixture.h"
#include "os/ProfileFile.h"

namespace updatertest {
namespace {

using vpsdesk::updater::ReadUpdateSource;
using vpsdesk::updater::UpdateSource;

const char kIni[] = "更新配置.ini";

TEST_F(UpdaterTest, SettingsFileWrittenInGbkGivesTheDownloadAddress) {
    // [更新] / API地址 / CA文件 as GBK bytes, the way the client stores them.
    WriteAll(folder_ / kIni,
             "[\xB8\xFC\xD0\xC2]\r\nAPI\xB5\xD8\xD6\xB7=https://vps.example/khd?act=\r\n"
             "CA\xCE\xC4\xBC\xFE=ca.pem\r\n");
    WriteAll(folder_ / "ca.pem", ReadAll(Tls().CaPath()));

    UpdateSource source;
    EXPECT_EQ(ReadUpdateSource(folder_, "", source), "");
    EXPECT_EQ(source.download_url, "https://vps.example/khd?act=download");
    // A relative CA path is beside the updater, wherever it was started from.
    EXPECT_EQ(source.ca_file, (folder_ / "ca.pem").string());

    // The command line wins over the file.
    EXPECT_EQ(ReadUpdateSource(folder_, Tls().CaPath(), source), "");
    EXPECT_EQ(source.ca_file, Tls().CaPath());
}

TEST_F(UpdaterTest, SettingsProblemsAreNamedInTheMessage) {
    UpdateSource source;
    std::string message = ReadUpdateSource(folder_, "", source);
    EXPECT_NE(message.find(kIni), std::string::npos) << message;

    WriteSettings("", "");
    message = ReadUpdateSource(folder_, "", source);
    EXPECT_NE(message.find("API地址"), std::string::npos) << message;

    // The reply becomes an executable: never from a plain-text address.
    WriteSettings("http://vps.example/khd?act=", "");
    message = ReadUpdateSource(folder_, "", source);
    EXPECT_NE(message.find("https"), std::string::npos) << message;

    WriteSettings("https://vps.example/khd?act=", (folder_ / "missing.pem").string());
    message = ReadUpdateSource(folder_, "", source);
    EXPECT_NE(message.find("missing.pem"), std::string::npos) << message;
    EXPECT_TRUE(source.download_url.empty());
}

}  // namespace
}  // namespace updatertest
