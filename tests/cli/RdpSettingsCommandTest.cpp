// vpsctl rdp-settings: the window client's config.ini, read and changed without a sign-in.
#include <nlohmann/json.hpp>

#include "ProgramFolderTest.h"
#include "ScriptedConsole.h"
#include "cli/Vpsctl.h"

namespace vpsdesk::cli::test {
namespace {

class RdpSettingsCommandTest : public vpsdesk::test::ProgramFolderTest {
  protected:
    CommandResult Run(const std::vector<std::string>& args) { return RunVpsctl(args, console_); }
    ScriptedConsole console_;
};

TEST_F(RdpSettingsCommandTest, ShowsEveryKeyAsTheFileHoldsIt) {
    PutConfig("[RDP]\r\n剪贴板=0\r\n窗口数据=1024×768\r\n");
    const CommandResult table = Run({"rdp-settings"});
    ASSERT_EQ(table.exit_code, kExitDone) << table.err;
    // The default column says what a never-set key stands for.
    EXPECT_NE(table.out.find("\n剪贴板      0         1\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("\n窗口数据    1024×768  800×600\n"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("\n打印机                0\n"), std::string::npos) << table.out;
    EXPECT_EQ(Run({"rdp-settings", "get"}).out, table.out);

    const nlohmann::json json = nlohmann::json::parse(Run({"rdp-settings", "--json"}).out);
    EXPECT_EQ(json.size(), 19u);
    EXPECT_EQ(json["剪贴板"], "0");
    EXPECT_EQ(json["打印机"], "");
    EXPECT_TRUE(console_.asked.empty()) << "asked for a password";
}

TEST_F(RdpSettingsCommandTest, SetChangesOneKeyAndKeepsTheRest) {
    PutConfig("[RDP]\r\n剪贴板=0\r\n[其他]\r\n键=值\r\n");
    const CommandResult set = Run({"rdp-settings", "set", "打印机", "1"});
    ASSERT_EQ(set.exit_code, kExitDone) << set.err;
    EXPECT_EQ(set.out, "");
    const std::string config = ConfigText();
    EXPECT_NE(config.find("打印机=1"), std::string::npos) << config;
    EXPECT_NE(config.find("剪贴板=0"), std::string::npos) << config;
    EXPECT_NE(config.find("键=值"), std::string::npos) << config;

    const struct {
        std::vector<std::string> args;
        const char* err;
    } misuses[] = {
        {{"rdp-settings", "set", "printer", "1"}, "no key \"printer\""},
        {{"rdp-settings", "set", "打印机"}, "usage: vpsctl rdp-settings"},
        {{"rdp-settings", "put"}, "usage: vpsctl rdp-settings"},
        {{"rdp-settings", "set", "打印机", "yes"},
         "打印机 cannot be \"yes\"; it takes 0 (off) or 1 (on), or nothing"},
        {{"rdp-settings", "set", "窗口数据", "1920×1080"}, "it takes 800×600, 1024×768,"},
    };
    for (const auto& misuse : misuses) {
        const CommandResult result = Run(misuse.args);
        EXPECT_EQ(result.exit_code, kExitUsage) << misuse.err;
        EXPECT_NE(result.err.find(misuse.err), std::string::npos) << result.err;
    }
    EXPECT_EQ(ConfigText(), config);

    // A size typed with a plain "x" is stored as the window stores it.
    ASSERT_EQ(Run({"rdp-settings", "set", "窗口数据", "1280x800"}).exit_code, kExitDone);
    EXPECT_NE(ConfigText().find("窗口数据=1280×800"), std::string::npos) << ConfigText();
}

}  // namespace
}  // namespace vpsdesk::cli::test
