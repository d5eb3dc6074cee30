#include "servers/RdpFailureMessage.h"

#include <signal.h>

#include <array>
#include <initializer_list>

namespace vpsdesk::servers {
namespace {

// xfreerdp's exit codes (client/X11/xfreerdp.h of FreeRDP 2).
enum XfExit : int {
    kSuccess = 0,
    kDisconnect = 1,
    kLogoff = 2,
    kIdleTimeout = 3,
    kLogonTimeout = 4,
    kConnReplaced = 5,
    kOutOfMemory = 6,
    kConnDenied = 7,
    kConnDeniedFips = 8,
    kUserPrivileges = 9,
    kFreshCredentialsRequired = 10,
    kDisconnectByUser = 11,
    kLogoffByUser = 12,  // the protocol's own code, passed through unchanged
    kLicenseFirst = 16,
    kLicenseLast = 26,
    kRdpError = 32,
    kParseArguments = 128,
    kMemory = 129,
    kProtocol = 130,
    kConnFailed = 131,
    kAuthFailure = 132,
    kNegoFailure = 133,
    kLogonFailure = 134,
    kAccountLockedOut = 135,
    kPreConnectFailed = 136,
    kPostConnectFailed = 138,
    kDnsError = 139,
    kDnsNameNotFound = 140,
    kConnectFailed = 141,
    kMcsConnectInitialError = 142,
    kTlsConnectFailed = 143,
    kInsufficientPrivileges = 144,
    kConnectCancelled = 145,
    kSecurityNegoConnectFailed = 146,
    kConnectTransportFailed = 147,
    kPasswordExpired = 148,
    kPasswordMustChange = 149,
    kKdcUnreachable = 150,
    kAccountDisabled = 151,
    kPasswordCertainlyExpired = 152,
    kClientRevoked = 153,
    kWrongPassword = 154,
    kAccessDenied = 155,
    kAccountRestriction = 156,
    kAccountExpired = 157,
    kLogonTypeNotGranted = 158,
    kNoOrMissingCredentials = 159,
};

struct Reason {
    std::initializer_list<int> codes;
    const char* text;
};

// Exit codes whose meaning does not depend on how far the connection got.
constexpr std::array<Reason, 10> kReasons = {{
    {{kAuthFailure, kLogonFailure, kWrongPassword, kNoOrMissingCredentials,
      kFreshCredentialsRequired},
     "用户名或密码错误"},
    {{kAccountLockedOut}, "账号已被锁定，请稍后再试"},
    {{kAccountDisabled, kClientRevoked, kAccountExpired}, "账号已被停用或已过期"},
    {{kPasswordExpired, kPasswordMustChange, kPasswordCertainlyExpired},
     "密码已过期，请先修改服务器的密码"},
    {{kConnDenied, kUserPrivileges, kInsufficientPrivileges, kAccessDenied, kAccountRestriction,
      kLogonTypeNotGranted},
     "该账号没有远程登录这台服务器的权限"},
    {{kDnsError, kDnsNameNotFound}, "找不到服务器地址"},
    {{kConnectFailed, kConnectTransportFailed, kConnFailed},
     "无法连接到服务器，请确认服务器正在运行且远程端口可以访问"},
    {{kConnDeniedFips, kNegoFailure, kMcsConnectInitialError, kTlsConnectFailed,
      kSecurityNegoConnectFailed, kKdcUnreachable, kProtocol},
     "与服务器的安全协商失败"},
    {{kParseArguments, kPreConnectFailed, kPostConnectFailed},
     "远程桌面程序无法按当前的远程设置连接，请检查远程设置"},
    {{kOutOfMemory, kMemory}, "本机内存不足"},
}};

bool Deliberate(int signal) {
    return signal == SIGTERM || signal == SIGINT || signal == SIGHUP || signal == SIGKILL;
}

std::optional<std::string> Explain(const os::ProgramEnd& end, const RdpSessionLog& log) {
    if (!end.exited) {
        if (end.signal == 0 || Deliberate(end.signal)) return std::nullopt;
        return "远程桌面程序异常退出（信号 " + std::to_string(end.signal) + "）";
    }
    const int code = end.exit_code;
    if (code == kSuccess || code == kLogoff || code == kDisconnectByUser || code == kLogoffByUser ||
        code == kConnectCancelled)
        return std::nullopt;
    if (log.no_display()) return "远程桌面程序无法打开窗口（没有可用的图形显示）";
    // A server that drops the connection during authentication turned the credentials down.
    const bool dropped = code == kConnectTransportFailed || code == kConnFailed;
    if (dropped && log.ended_at_authentication()) return "用户名或密码错误";
    if (code == kConnFailed && log.Active()) return "连接被服务器断开";
    for (const Reason& reason : kReasons)
        for (int known : reason.codes)
            if (code == known) return reason.text;
    if (code >= kLicenseFirst && code <= kLicenseLast) return "服务器的远程桌面授权出错";
    if (log.Active() && (code == kDisconnect || code == kIdleTimeout || code == kLogonTimeout ||
                         code == kConnReplaced || code == kRdpError))
        return "连接被服务器断开";
    return "远程桌面程序异常退出（代码 " + std::to_string(code) + "）";
}

}  // namespace

std::optional<std::string> RdpFailureMessage(const os::ProgramEnd& end, const RdpSessionLog& log) {
    if (log.Active() && end.running_time >= kEarlySessionEnd) return std::nullopt;
    std::optional<std::string> what = Explain(end, log);
    if (!what) return std::nullopt;
    return std::string(kRdpFailurePrefix) + *what;
}

}  // namespace vpsdesk::servers
