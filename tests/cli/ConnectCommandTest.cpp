// vpsctl connect: the launch a double-click makes, here with a stand-in xfreerdp on PATH that
// records how it was started and ends as the test tells it.
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "VpsctlFixture.h"
#include "os/ProgramFolder.h"
#include "servers/RdpClientCommand.h"
#include "servers/RemoteDesktopStart.h"

namespace vpsdesk::cli::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ConnectCommandTest : public VpsctlTest {
  protected:
    void SetUp() override {
        VpsctlTest::SetUp();
        char pattern[] = "/tmp/vpsctl-connect-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        fs::create_directories(folder_ / "bin");
        fs::create_directories(folder_ / "program");
        const fs::path client = folder_ / "bin" / "xfreerdp";
        std::ofstream(client) << "#!/bin/sh\n"
                                 "printf '%s\\n' \"$@\" > '" << (folder_ / "args").string() << "'\n"
                                 "cat > '" << (folder_ / "stdin").string() << "'\n"
                                 "[ -f '" << (folder_ / "fail").string() << "' ] || exit 0\n"
                                 "echo '[ERROR][com.freerdp.client.x11] - failed to open display: ' >&2\n"
                                 "exit 1\n";
        ::chmod(client.c_str(), 0755);
        saved_path_ = ::getenv("PATH") ? ::getenv("PATH") : "";
        ::setenv("PATH", ((folder_ / "bin").string() + ":" + saved_path_).c_str(), 1);
        // The password protection keeps its key here rather than in the tester's own folder.
        const char* data_home = ::getenv("XDG_DATA_HOME");
        saved_data_home_ = data_home ? std::optional<std::string>(data_home) : std::nullopt;
        ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
        os::OverrideProgramFolder(folder_ / "program");
    }
    void TearDown() override {
        os::OverrideProgramFolder({});
        ::setenv("PATH", saved_path_.c_str(), 1);
        if (saved_data_home_) ::setenv("XDG_DATA_HOME", saved_data_home_->c_str(), 1);
        else ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(folder_);
        VpsctlTest::TearDown();
    }

    fs::path folder_;
    std::string saved_path_;
    std::optional<std::string> saved_data_home_;
};

TEST_F(ConnectCommandTest, StartsTheClientOnTheConnectionFileWithThePasswordOffItsCommandLine) {
    const CommandResult result = Run({"connect", "2"});
    ASSERT_EQ(result.exit_code, kExitDone) << result.err;
    EXPECT_EQ(result.err, "");
    const fs::path file = folder_ / "program" / "History" / "127.0.0.1.rdp";
    EXPECT_TRUE(fs::exists(file));
    const std::string args = ReadText(folder_ / "args");
    EXPECT_NE(args.find(file.string()), std::string::npos) << args;
    EXPECT_NE(ReadText(file).find("127.0.0.1:33892"), std::string::npos);
    // The password goes on standard input, never on the command line or in the file.
    EXPECT_EQ(args.find("Demo@Pass2"), std::string::npos) << args;
    EXPECT_NE(ReadText(folder_ / "stdin").find("Demo@Pass2"), std::string::npos);
    EXPECT_EQ(ReadText(file).find("Demo@Pass2"), std::string::npos);
}

TEST_F(ConnectCommandTest, TellsWhyNothingStartedOrTheSessionFailed) {
    const struct {
        const char* name;
        std::string server;
        int exit_code;
        std::string err;
    } cases[] = {
        {"graphics card", "4", kExitDone, std::string(servers::kGraphicsCardWarning) + "\n"},
        {"stopped", "3", kExitRefused, "connect: server 3 is not running (已停止)\n"},
        {"expired", "5", kExitRefused, "connect: server 5 is not running (已到期)\n"},
        {"another customer's", "8", kExitRefused, "connect: the account has no server 8\n"},
    };
    for (const auto& c : cases) {
        const CommandResult result = Run({"connect", c.server});
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(result.err, c.err) << c.name;
    }

    std::ofstream(folder_ / "fail") << "";
    const CommandResult failed = Run({"connect", "2"});
    EXPECT_EQ(failed.exit_code, kExitRefused);
    EXPECT_EQ(failed.err, "远程连接失败：远程桌面程序无法打开窗口（没有可用的图形显示）\n");

    ::setenv("PATH", (folder_ / "program").c_str(), 1);
    const CommandResult missing = Run({"connect", "2"});
    EXPECT_EQ(missing.exit_code, kExitRefused);
    EXPECT_EQ(missing.err, servers::RdpClientMissingMessage() + "\n");
}

}  // namespace
}  // namespace vpsdesk::cli::test
