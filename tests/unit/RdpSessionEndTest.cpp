// What the customer is told when xfreerdp ends: its exit codes and the connection steps
// its log shows, as FreeRDP 2.11 writes them (the lines below are taken from real runs
// against a loopback server).
#include <gtest/gtest.h>
#include <signal.h>

#include <optional>
#include <string>
#include <vector>

#include "servers/RdpFailureMessage.h"
#include "servers/RdpSessionLog.h"

using namespace vpsdesk::servers;
using vpsdesk::os::ProgramEnd;
using namespace std::chrono_literals;

namespace {

std::string Step(const char* from, const char* to) {
    return std::string(
               "[18:14:51:471] [14140:14167] [DEBUG][com.freerdp.core.connection] - "
               "rdp_client_transition_to_state CONNECTION_STATE_") +
           from + " --> CONNECTION_STATE_" + to;
}

// A closed port: negotiation starts and falls back, never reaching authentication.
const std::vector<std::string> kClosedPort = {Step("INITIAL", "NEGO"), Step("NEGO", "INITIAL"),
                                              Step("INITIAL", "NEGO"), Step("NEGO", "INITIAL")};
// Wrong credentials on a server that hangs up during network-level authentication.
const std::vector<std::string> kRefusedCredentials = {
    Step("INITIAL", "NEGO"), Step("NEGO", "NLA"), Step("NLA", "INITIAL"),
    Step("INITIAL", "NEGO"), Step("NEGO", "NLA"), Step("NLA", "INITIAL")};
// A session that came up ("Password: " has no line break, so a log line follows it).
const std::vector<std::string> kActive = {
    Step("INITIAL", "NEGO"), Step("NEGO", "NLA"), "Password: " + Step("NLA", "MCS_CONNECT"),
    Step("CAPABILITIES_EXCHANGE", "FINALIZATION"), Step("FINALIZATION", "ACTIVE")};

RdpSessionLog LogOf(const std::vector<std::string>& lines) {
    RdpSessionLog log;
    for (const std::string& line : lines) log.Read(line);
    return log;
}

ProgramEnd Exited(int code, std::chrono::milliseconds ran = 2s) {
    ProgramEnd end;
    end.exited = true;
    end.exit_code = code;
    end.running_time = ran;
    return end;
}

ProgramEnd Signalled(int signal) {
    ProgramEnd end;
    end.signal = signal;
    end.running_time = 1s;
    return end;
}

TEST(RdpSessionLog, TellsHowFarTheConnectionGot) {
    EXPECT_FALSE(LogOf(kClosedPort).Active());
    EXPECT_FALSE(LogOf(kClosedPort).ended_at_authentication());
    EXPECT_FALSE(LogOf(kRefusedCredentials).Active());
    EXPECT_TRUE(LogOf(kRefusedCredentials).ended_at_authentication());
    EXPECT_TRUE(LogOf(kActive).Active());
    EXPECT_FALSE(LogOf(kActive).ended_at_authentication());
    EXPECT_TRUE(LogOf({"[ERROR][com.freerdp.client.x11] - failed to open display: "}).no_display());
}

struct EndCase {
    const char* what;
    ProgramEnd end;
    std::vector<std::string> log;
    std::optional<std::string> message;
};

TEST(RdpFailureMessage, ExitCodesAndLogLinesInTheCustomersWords) {
    const std::string wrong = "远程连接失败：用户名或密码错误";
    const std::string unreachable =
        "远程连接失败：无法连接到服务器，请确认服务器正在运行且远程端口可以访问";
    const std::vector<EndCase> cases = {
        {"closed by the customer", Exited(0), kActive, std::nullopt},
        {"closed while connecting", Exited(145), kClosedPort, std::nullopt},
        {"logged off by the customer", Exited(12, 1s), kActive, std::nullopt},
        {"stopped by a signal", Signalled(SIGTERM), kClosedPort, std::nullopt},
        {"a long session dropped", Exited(131, 10min), kActive, std::nullopt},
        {"server hung up on the credentials", Exited(147), kRefusedCredentials, wrong},
        {"server hung up on the credentials, generic code", Exited(131), kRefusedCredentials,
         wrong},
        {"logon failure", Exited(134), kRefusedCredentials, wrong},
        {"wrong password", Exited(154), kRefusedCredentials, wrong},
        {"authentication failure", Exited(132), {}, wrong},
        {"closed port", Exited(147), kClosedPort, unreachable},
        {"connect failed after a minute", Exited(141, 60s), kClosedPort, unreachable},
        {"unknown host", Exited(140), kClosedPort, "远程连接失败：找不到服务器地址"},
        {"locked out", Exited(135), {}, "远程连接失败：账号已被锁定，请稍后再试"},
        {"password expired", Exited(149), {}, "远程连接失败：密码已过期，请先修改服务器的密码"},
        {"no right to log on", Exited(155), {}, "远程连接失败：该账号没有远程登录这台服务器的权限"},
        {"tls failed", Exited(143), kClosedPort, "远程连接失败：与服务器的安全协商失败"},
        {"a setting it cannot use",
         Exited(136),
         {},
         "远程连接失败：远程桌面程序无法按当前的远程设置连接，请检查远程设置"},
        {"licence", Exited(18), kActive, "远程连接失败：服务器的远程桌面授权出错"},
        {"ended right after it came up", Exited(131, 3s), kActive,
         "远程连接失败：连接被服务器断开"},
        {"disconnected right after it came up", Exited(1, 3s), kActive,
         "远程连接失败：连接被服务器断开"},
        {"no display",
         Exited(1, 100ms),
         {"failed to open display: "},
         "远程连接失败：远程桌面程序无法打开窗口（没有可用的图形显示）"},
        {"crashed", Signalled(SIGSEGV), kClosedPort,
         "远程连接失败：远程桌面程序异常退出（信号 11）"},
        {"unlisted code", Exited(40), {}, "远程连接失败：远程桌面程序异常退出（代码 40）"},
    };
    for (const EndCase& c : cases)
        EXPECT_EQ(RdpFailureMessage(c.end, LogOf(c.log)), c.message) << c.what;
}

}  // namespace
